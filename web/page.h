#pragma once

#include <QByteArray>
#include <QString>

// What the generator writes into the page: the window's controls as elements
// with the desktop's names, their places and faces as style rules, and the
// texts the script fills the panes with. Everything comes from the catalogue
// and the layout table the desktop reads.
namespace Page {

// Form1 with everything in it, in the desktop's keyboard order.
QString form();

// The places, sizes, fonts and faces, as rules for the stylesheet.
QString placeRules();

// What a click shows in a pane, per set and row, the failure note's text and
// the window's size, as a declaration at the head of the script.
QString scriptData();

} // namespace Page
