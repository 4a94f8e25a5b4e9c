#pragma once

#include "colour.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QPushButton>
#include <QSize>
#include <QStringList>

// A push button whose caption is centred and stays whole inside the button: a
// caption too wide is wrapped, and where even that does not fit (a large
// desktop font) it is set a size smaller. A button given a face colour is
// "graphical": its face is that colour exactly, inside a thin bevel, with a
// dark caption, whatever the desktop theme; the others keep the style's look.
class CaptionButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CaptionButton(const QString &caption, QWidget *parent = nullptr);

    void setFaceColour(Colour colour);

    // How the caption is set at the button's present size and font: its lines
    // and the font they are drawn in.
    QStringList captionLines() const;
    QFont captionFont() const;
    // The part of the button a caption may take: inside the bevel.
    QRect captionArea() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void fitCaption() const;
    void placeLines() const;
    void paintFlatFace(QPainter &painter) const;

    QColor m_face; // invalid: the style's own face
    mutable QSize m_fittedSize;
    mutable QFont m_fittedFor;
    mutable QString m_fittedText;
    mutable QStringList m_lines;
    mutable QFont m_captionFont;
    mutable QList<QPointF> m_origins; // baseline start of each line
};
