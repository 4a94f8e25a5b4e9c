#pragma once

#include <QStringList>

// The lines a button's caption is set in on the page. The browser would break
// a Japanese caption after any character ("自分自" over "身"); the desktop
// breaks it between words or into even parts ("自分" over "自身"). The page
// gets the desktop's lines, worked out here with the widths of a Japanese UI
// face (full-width characters one em, the rest about half), and the browser
// is told not to break them again.
namespace CaptionLines {

QStringList of(const QString &caption, int fontPixels, int buttonWidth);

} // namespace CaptionLines
