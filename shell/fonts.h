#pragma once

#include <QFont>

namespace Fonts {

// "MS UI Gothic" where it is installed, else a Japanese sans-serif face, at a
// size in logical pixels (26.25 pt is 35 px, 12 pt 16 px, 9.75 pt 13 px,
// 9 pt 12 px at 96 dpi), for the program's own texts: every character of them
// is in each of the faces tried, so no other face is searched for glyphs.
QFont japanese(int pixelSize);

// The same face for a text the user types, which may hold any character: a
// glyph the face lacks is taken from another installed face.
QFont editable(int pixelSize);

// The window's own font, for controls that have none of their own: the
// desktop's default size (times the window's scale), with the Japanese faces
// preferred for the glyphs.
QFont window(const QFont &desktopDefault, double scale = 1);

} // namespace Fonts
