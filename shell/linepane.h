#pragma once

#include "copyaction.h"

class QLineEdit;

// A correspondence pane as the copy action sees it: a line edit whose text
// and background can be set. A fixed colour is painted with dark text, so the
// pane stays readable on a dark desktop theme; the system window colour is
// left to the palette the line edit inherits, so it follows the desktop.
class LinePane : public Pane
{
public:
    explicit LinePane(QLineEdit *edit) : m_edit(edit) {}

    bool setText(const QString &text) override;
    bool setBackColor(Colour colour) override;

private:
    QLineEdit *m_edit;
};
