#pragma once

#include <QObject>
#include <QRect>

class QWidget;

// Keeps a window's designed place when the whole framed window fits the
// screen's available area. On a shorter screen it moves the window the least
// distance that brings it in; where even that cannot fit, the caption bar
// stays on the screen so that the window can still be moved.
class ScreenFit : public QObject
{
    Q_OBJECT

public:
    // Watches the shown window until its frame is known, then moves it if
    // need be. Where the desktop places windows itself (Wayland), it does
    // nothing.
    static void keep(QWidget *window);

    // The client area's place for a client area `client` with `frame` around
    // it in `available`.
    static QRect fitted(const QRect &client, const QMargins &frame, const QRect &available);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ScreenFit(QWidget *window);

    QWidget *m_window;
};
