#pragma once

#include <QObject>
#include <QRect>

#include <functional>

class QWidget;

// Keeps a window's designed place when the whole framed window fits the
// screen's available area (the screen less its panels or task bar). On a
// shorter screen it moves the window the least distance that brings it in;
// where even that cannot fit, it has the window drawn smaller, at the largest
// uniform scale at which the framed window fits, and then moves it in.
class ScreenFit : public QObject
{
    Q_OBJECT

public:
    // Has the window drawn at a scale (1 as designed, less to fit a screen).
    using Rescale = std::function<void(double scale)>;

    // Watches the shown window, whose client area is designed to be `designed`
    // in size, until its frame is known, then scales and moves it if need be.
    // Where the desktop places windows itself (Wayland), it does nothing.
    static void keep(QWidget *window, const QSize &designed, Rescale rescale);

    // The largest scale, at most 1, at which a client area of the designed
    // size `client` with `frame` around it fits into `available`.
    static double scale(const QSize &client, const QMargins &frame, const QRect &available);

    // The client area's place for a client area `client` with `frame` around
    // it in `available`.
    static QRect fitted(const QRect &client, const QMargins &frame, const QRect &available);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ScreenFit(QWidget *window, const QSize &designed, Rescale rescale);

    QWidget *m_window;
    QSize m_designed;
    Rescale m_rescale;
};
