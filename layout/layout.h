#pragma once

#include "binding.h"

#include <QRect>
#include <QStringList>

#include <optional>

// Where everything in the window stands and how big its texts are: the one
// table of places, read by the desktop window and by the generator of the web
// edition, so that the two cannot drift apart. No widgets here.
//
// Places are in twips (1/1440 inch; 15 make one pixel at 96 dots per inch):
// the window's client area on the screen, the tab strip in the client area,
// and everything else from the strip's top-left corner, its row of tabs
// included. Font sizes are in pixels of the design.
namespace Layout {

// The client area on the screen, and the tab strip in it.
constexpr QRect window(750, 1080, 6360, 11760);
constexpr QRect strip(120, 120, 6135, 11535);
constexpr int tabRowHeight = 650;
constexpr int tabFontPixels = 16; // 12 pt

// The correspondence panes, Text1 (the old set, tab 0) and Text2.
QRect pane(Curriculum set);
constexpr int paneFontPixels = 35; // 26.25 pt

// The credit lines Label1 and Label2 stand at the same place on both tabs.
constexpr QRect credit(2400, 11160, 3615, 255);
constexpr int creditFontPixels = 16;

// The picture Image1 on the new set's tab, at its own size.
constexpr QRect image1(2400, 10440, 3255, 690);

// A separator line between a grid and its pane: Line2 on tab 0, Line1 on tab 1.
struct Line
{
    int left;
    int right;
    int y;
};
Line line(Curriculum set);

// The tab a set's controls stand on.
constexpr int tabOf(Curriculum set)
{
    return set == Curriculum::Old ? 0 : 1;
}

// A button's place, from the catalogue by the row formula.
QRect button(const ButtonBinding &binding);

// A button's own font size, or 0 where it takes the window's font.
int buttonFontPixels(const ButtonBinding &binding);

// The colour a graphical button's face is filled with; none for the
// explanation buttons, which keep the platform's own face.
std::optional<Colour> faceColour(const ButtonBinding &binding);

// The Japanese faces for the program's texts, most wanted first: the one the
// layout was made for, then what Linux desktops have.
QStringList japaneseFaces();

} // namespace Layout
