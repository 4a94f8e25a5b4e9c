#include "facestyle.h"

#include "colour.h"

#include <QPainter>
#include <QPushButton>
#include <QStyleOption>

namespace {

// The face colour a push button was given; invalid for any other widget.
QColor faceOf(const QWidget *widget)
{
    if (!qobject_cast<const QPushButton *>(widget))
        return QColor();
    const QVariant value = widget->property("backColor");
    return value.isValid() ? Colour(value.toUInt()).toQColor() : QColor();
}

} // namespace

FaceStyle::FaceStyle() : QProxyStyle(QStringLiteral("Fusion")) { }

// The face in its colour; a one-pixel bevel, light above and left, dark below
// and right, the other way round while pressed; the focus frame inside the
// bevel, where the button of the next row, which shares this button's bottom
// pixel row, cannot cover it.
void FaceStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const
{
    const QColor face = element == CE_PushButtonBevel ? faceOf(widget) : QColor();
    if (!face.isValid()) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const QRect r = option->rect;
    const QColor light(Qt::white);
    const QColor dark(96, 96, 96);
    const bool down = option->state & (State_Sunken | State_On);
    painter->save();
    painter->fillRect(r, face);
    painter->setPen(down ? dark : light);
    painter->drawLine(r.topLeft(), r.topRight());
    painter->drawLine(r.topLeft(), r.bottomLeft());
    painter->setPen(down ? light : dark);
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->restore();
    if (option->state & State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(*option);
        focus.rect = r.adjusted(2, 2, -2, -2);
        proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
    }
}

// A flat face shows the focus as a dotted rectangle, whether it came by
// keyboard or not.
void FaceStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                              const QWidget *widget) const
{
    if (element != PE_FrameFocusRect || !faceOf(widget).isValid()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

int FaceStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    if ((metric == PM_ButtonShiftHorizontal || metric == PM_ButtonShiftVertical) && faceOf(widget).isValid())
        return 1;
    return QProxyStyle::pixelMetric(metric, option, widget);
}
