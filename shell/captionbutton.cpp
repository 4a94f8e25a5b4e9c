#include "captionbutton.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

CaptionButton::CaptionButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
}

// The colour is left to the style, not put in a palette of the button's own:
// the style keeps one cache of painted bevels per palette, and every coloured
// button with its own palette would fill it with pictures nobody shows.
void CaptionButton::setFaceColour(Colour colour)
{
    setProperty("backColor", colour.value());
    m_darkCaption = true;
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

// Return and Enter press the button, as Space does.
void CaptionButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        click();
    else
        QPushButton::keyPressEvent(event);
}

void CaptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    QPoint shift;
    if (option.state & (QStyle::State_Sunken | QStyle::State_On)) {
        shift = QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    painter.setPen(m_darkCaption ? QColor(Qt::black) : palette().color(QPalette::ButtonText));
    m_layout.draw(painter, shift);
}
