#pragma once

#include "colour.h"

#include <QPushButton>

// A push button whose caption is centred and wraps onto further lines where it
// is wider than the button (Japanese captions break between characters). A
// button given a face colour is "graphical": its face is filled with that
// colour and its caption stays dark, whatever the desktop theme.
class CaptionButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CaptionButton(const QString &caption, QWidget *parent = nullptr);

    void setFaceColour(Colour colour);

protected:
    void paintEvent(QPaintEvent *event) override;
};
