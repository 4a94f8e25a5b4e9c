#pragma once

#include "colour.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QPushButton>
#include <QSize>
#include <QStringList>

class QPainter;

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

    // The lines the caption is set in at the button's present size and font.
    QStringList captionLines() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect captionArea() const; // inside the bevel
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
