#include "captionbutton.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

CaptionButton::CaptionButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
}

// The colour is kept by the button, not put in a palette of its own: the style
// keeps one cache of painted bevels per palette, and every coloured button
// with its own palette would fill it with pictures nobody shows.
void CaptionButton::setFaceColour(Colour colour)
{
    m_face = colour.toQColor();
    setProperty("backColor", colour.value());
    update();
}

void CaptionButton::setText(const QString &caption)
{
    QPushButton::setText(caption);
    layOutCaption();
}

// A button not yet shown is laid out by its first resize event, which comes
// before its first paint; until then its size may still change.
void CaptionButton::layOutCaption()
{
    if (!testAttribute(Qt::WA_PendingResizeEvent))
        m_layout = CaptionLayout(font(), size(), text());
}

void CaptionButton::resizeEvent(QResizeEvent *event)
{
    QPushButton::resizeEvent(event);
    m_layout = CaptionLayout(font(), size(), text());
}

void CaptionButton::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        layOutCaption();
}

void CaptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    QPoint shift;
    if (m_face.isValid()) {
        paintFlatFace(painter);
        if (isDown())
            shift = QPoint(1, 1);
        painter.setPen(Qt::black);
    } else {
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        if (isDown()) {
            shift = QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
        }
        painter.setPen(palette().color(QPalette::ButtonText));
    }
    m_layout.draw(painter, shift);
}

// The face in its exact colour; a one-pixel bevel, light above and left, dark
// below and right, the other way round while pressed; the focus as a dotted
// rectangle inside the bevel, where the button of the next row, which shares
// this button's bottom pixel row, cannot cover it.
void CaptionButton::paintFlatFace(QPainter &painter) const
{
    const QRect r = rect();
    painter.fillRect(r, m_face);
    const QColor light(Qt::white);
    const QColor dark(96, 96, 96);
    const bool down = isDown();
    painter.setPen(down ? dark : light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(down ? light : dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(r.adjusted(2, 2, -3, -3));
    }
}
