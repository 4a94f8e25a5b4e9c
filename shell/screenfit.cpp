#include "screenfit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QtMath>

#include <algorithm>

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

ScreenFit::ScreenFit(QWidget *window, const QSize &designed, Rescale rescale)
    : QObject(window), m_window(window), m_designed(designed), m_rescale(std::move(rescale))
{
}

void ScreenFit::keep(QWidget *window, const QSize &designed, Rescale rescale)
{
    if (QGuiApplication::platformName().startsWith(u"wayland") || !window->windowHandle())
        return;
    window->windowHandle()->installEventFilter(new ScreenFit(window, designed, std::move(rescale)));
}

double ScreenFit::scale(const QSize &client, const QMargins &frame, const QRect &available)
{
    const double across = double(available.width() - frame.left() - frame.right()) / client.width();
    const double down = double(available.height() - frame.top() - frame.bottom()) / client.height();
    return qBound(0.0, std::min({ 1.0, across, down }), 1.0);
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
        QMargins frame = m_window->windowHandle()->frameMargins();
        const QRect available = m_window->screen()->availableGeometry();
        // At a fractional device pixel ratio (150 %) the frame's logical size is
        // rounded, and may be a pixel short of the device pixels it takes.
        if (const qreal ratio = m_window->devicePixelRatioF(); ratio != qFloor(ratio))
            frame += QMargins(0, 0, 1, 1);
        // From the designed size: a system may already have cut a window
        // taller than the screen.
        if (const double s = scale(m_designed, frame, available); s < 1)
            m_rescale(s);
        const QRect place = fitted(m_window->geometry(), frame, available);
        if (place != m_window->geometry())
            m_window->setGeometry(place);
        deleteLater();
    }
    return false;
}
