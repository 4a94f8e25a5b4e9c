#include "screenfit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// The least shift that brings [start, start + length) into [low, high); where
// it is longer than the room, its start goes to the room's start.
int shift(int start, int length, int low, int high)
{
    if (length > high - low || start < low)
        return low - start;
    if (start + length > high)
        return high - (start + length);
    return 0;
}

} // namespace

ScreenFit::ScreenFit(QWidget *window) : QObject(window), m_window(window)
{
}

void ScreenFit::keep(QWidget *window)
{
    if (QGuiApplication::platformName().startsWith(u"wayland") || !window->windowHandle())
        return;
    window->windowHandle()->installEventFilter(new ScreenFit(window));
}

QRect ScreenFit::fitted(const QRect &client, const QMargins &frame, const QRect &available)
{
    const QRect framed = client.marginsAdded(frame);
    return client.translated(shift(framed.left(), framed.width(), available.left(), available.right() + 1),
                             shift(framed.top(), framed.height(), available.top(), available.bottom() + 1));
}

// The frame is known once the window manager has put the window on the
// screen, which its first exposure follows.
bool ScreenFit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && m_window->windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        const QRect place = fitted(m_window->geometry(), m_window->windowHandle()->frameMargins(),
                                   m_window->screen()->availableGeometry());
        if (place != m_window->geometry())
            m_window->setGeometry(place);
        deleteLater();
    }
    return false;
}
