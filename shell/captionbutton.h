#pragma once

#include "captionlayout.h"
#include "colour.h"

#include <QColor>
#include <QPushButton>

class QPainter;

// A push button whose caption is centred and stays whole inside the button
// (see CaptionLayout), laid out anew whenever its size, font or caption
// change. A button given a face colour is "graphical": its face is that
// colour exactly, inside a thin bevel, with a dark caption, whatever the
// desktop theme; the others keep the style's look.
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
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layOutCaption();
    void paintFlatFace(QPainter &painter) const;

    QColor m_face; // invalid: the style's own face
    CaptionLayout m_layout;
};
