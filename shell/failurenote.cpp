#include "failurenote.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <QToolTip>

FailureNote::FailureNote(QWidget *window) : QLabel(window, Qt::ToolTip)
{
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAlignment(Qt::AlignLeft);
    setIndent(1);
}

void FailureNote::showUnder(QWidget *where, const QString &text)
{
    // A tool tip's looks, as the desktop has them now; the window's own font
    // and colours would pass down to the note otherwise.
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    setMargin(1 + style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, this));
    setText(text);
    resize(sizeHint() + QSize(1, 0));

    // Just below the button's bottom-left corner, clear of a pointer resting
    // there; above the button where the screen ends first.
    QPoint at = where->mapToGlobal(QPoint(2, where->height() + 16));
    const QRect screen = where->screen()->geometry();
    if (at.y() + height() > screen.bottom() + 1)
        at.setY(where->mapToGlobal(QPoint()).y() - height());
    at.setX(qBound(screen.left(), at.x(), screen.right() + 1 - width()));
    move(at);
    show();
    m_expiry.start(10000, this);
    qApp->installEventFilter(this);

    // Qt tells assistive technology nothing when a tool-tip window appears,
    // and a screen reader speaks a notification only when told it shows.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

bool FailureNote::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        // Shift, Control and the like alone are no key press to the teacher.
        if (const int key = static_cast<QKeyEvent *>(event)->key(); key >= Qt::Key_Shift && key <= Qt::Key_ScrollLock)
            break;
        Q_FALLTHROUGH();
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::WindowDeactivate:
        hide();
        break;
    default:
        break;
    }
    return false;
}

void FailureNote::hideEvent(QHideEvent *event)
{
    m_expiry.stop();
    qApp->removeEventFilter(this);
    QLabel::hideEvent(event);
}

void FailureNote::paintEvent(QPaintEvent *event)
{
    QStylePainter painter(this);
    QStyleOptionFrame panel;
    panel.initFrom(this);
    painter.drawPrimitive(QStyle::PE_PanelTipLabel, panel);
    painter.end();
    QLabel::paintEvent(event);
}

void FailureNote::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_expiry.timerId())
        hide();
    else
        QLabel::timerEvent(event);
}
