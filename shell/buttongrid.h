#pragma once

#include "binding.h"

#include <QList>

class QFont;

class CaptionButton;
class TabStrip;

// The 193 buttons, made from the catalogue: one row per item in catalogue
// order, a tall title button beside each viewpoint's rows, and the subject
// title button under the new set's pane.
namespace ButtonGrid {

struct Button
{
    ButtonBinding binding;
    CaptionButton *widget = nullptr;
};

// Places the buttons of one set on its tab (tab 0: the old set, Command1 …
// Command100; tab 1: the new set with the subject title, Command101 …
// Command193) and returns them in number order, drawn at a scale (1 as
// designed). windowFont is for the buttons that have no font of their own.
QList<Button> create(TabStrip *strip, const QFont &windowFont, Curriculum set, double scale = 1);

// A button's font: its own size at a scale, or windowFont.
QFont fontOf(const ButtonBinding &binding, const QFont &windowFont, double scale = 1);

} // namespace ButtonGrid
