#pragma once

#include "captionlayout.h"
#include "colour.h"

#include <QPushButton>

// A push button whose caption is centred and stays whole inside the button
// (see CaptionLayout), laid out anew whenever its size, font or caption
// change. A button given a face colour is "graphical": the style (FaceStyle)
// paints its face that colour exactly, inside a thin bevel, and its caption
// is dark, whatever the desktop theme; the others keep the style's look.
class CaptionButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CaptionButton(const QString &caption, QWidget *parent = nullptr);

    void setFaceColour(Colour colour);
    // Hides QAbstractButton::setText, which the layout would not follow.
    void setText(const QString &caption);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layOutCaption();

    bool m_darkCaption = false;
    CaptionLayout m_layout;
};
