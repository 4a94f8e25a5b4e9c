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
//
// All this is worked out before the window shows, from the frame the window
// will have: on X11 the window manager says so on request, elsewhere Qt knows
// it from the created window. The window is then built once, at that scale,
// and shows at the size it keeps. Its first exposure checks the guess against
// the frame it got, and corrects it only where it proved wrong.
class ScreenFit : public QObject
{
    Q_OBJECT

public:
    // Has the window drawn again at a scale (1 as designed, less to fit a screen).
    using Rescale = std::function<void(double scale)>;

    // For a window not yet shown, with its client area at its designed place
    // and size: creates it on the platform, places it, and returns the scale
    // to build it at. Where the desktop places windows itself (Wayland), it
    // does nothing and returns 1.
    static double keep(QWidget *window, Rescale rescale);

    // The largest scale, at most 1, at which a client area of the designed
    // size `client` with `frame` around it fits into `available`.
    static double scale(const QSize &client, const QMargins &frame, const QRect &available);

    // The client area's place for a client area `client` with `frame` around
    // it in `available`.
    static QRect fitted(const QRect &client, const QMargins &frame, const QRect &available);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ScreenFit(QWidget *window, const QSize &designed, double scale, Rescale rescale);

    QWidget *m_window;
    QSize m_designed;
    double m_scale;
    Rescale m_rescale;
};
