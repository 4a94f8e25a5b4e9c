#include "screenfit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QtMath>

#include <algorithm>

#ifdef SORELIN_X11_FRAME
#include <QElapsedTimer>
#include <QThread>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#endif

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

// At a fractional device pixel ratio (150 %) the frame's logical size is
// rounded, and may be a pixel short of the device pixels it takes.
QMargins roomFor(QMargins frame, qreal ratio)
{
    if (ratio != qFloor(ratio))
        frame += QMargins(0, 0, 1, 1);
    return frame;
}

#ifdef SORELIN_X11_FRAME
template<typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

// The frame the window manager will put around the window, in device pixels,
// asked before the window is mapped (_NET_REQUEST_FRAME_EXTENTS): the answer
// is the window's _NET_FRAME_EXTENTS, set as it would be once mapped. None
// where the window manager does not say that it answers, or does not in time.
std::optional<QMargins> askedFrame(QWindow *window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c)
        return std::nullopt;
    const auto id = xcb_window_t(window->winId());
    const char *const names[] = { "_NET_SUPPORTED", "_NET_REQUEST_FRAME_EXTENTS", "_NET_FRAME_EXTENTS" };
    xcb_intern_atom_cookie_t cookies[3];
    for (int i = 0; i < 3; ++i)
        cookies[i] = xcb_intern_atom(c, 0, uint16_t(strlen(names[i])), names[i]);
    const xcb_query_tree_cookie_t tree = xcb_query_tree(c, id);
    xcb_atom_t atoms[3];
    for (int i = 0; i < 3; ++i) {
        Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(c, cookies[i], nullptr), &std::free);
        atoms[i] = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    Reply<xcb_query_tree_reply_t> place(xcb_query_tree_reply(c, tree, nullptr), &std::free);
    if (!place || std::count(atoms, atoms + 3, xcb_atom_t(XCB_ATOM_NONE)))
        return std::nullopt;
    const xcb_window_t root = place->root;

    Reply<xcb_get_property_reply_t> supported(
            xcb_get_property_reply(c, xcb_get_property(c, 0, root, atoms[0], XCB_ATOM_ATOM, 0, 1024), nullptr),
            &std::free);
    if (!supported || supported->format != 32)
        return std::nullopt;
    const auto *first = static_cast<const xcb_atom_t *>(xcb_get_property_value(supported.get()));
    const auto *last = first + xcb_get_property_value_length(supported.get()) / 4;
    if (std::find(first, last, atoms[1]) == last)
        return std::nullopt;

    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = atoms[1];
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&request));
    // A window manager answers at once; a busy one may take a few
    // milliseconds. Past the limit the window is shown all the same, and
    // corrected once its frame is known.
    QElapsedTimer waited;
    waited.start();
    do {
        Reply<xcb_get_property_reply_t> extents(
                xcb_get_property_reply(c, xcb_get_property(c, 0, id, atoms[2], XCB_ATOM_CARDINAL, 0, 4), nullptr),
                &std::free);
        if (extents && extents->format == 32 && extents->value_len == 4) {
            const auto *v = static_cast<const uint32_t *>(xcb_get_property_value(extents.get()));
            return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3])); // given as left, right, top, bottom
        }
        QThread::msleep(1);
    } while (waited.elapsed() < 250);
    return std::nullopt;
}
#endif

// The frame a created window will have once shown, in logical pixels.
QMargins frameBeforeShow(QWindow *window)
{
#ifdef SORELIN_X11_FRAME
    // Rounded to logical pixels as Qt rounds the frame it reads once the window shows.
    if (const std::optional<QMargins> native = askedFrame(window)) {
        const qreal factor = 1 / window->devicePixelRatio();
        return QMargins(qRound(native->left() * factor), qRound(native->top() * factor),
                        qRound(native->right() * factor), qRound(native->bottom() * factor));
    }
#endif
    // Elsewhere (Windows) Qt has the frame from the created window. Where an
    // X11 window manager did not answer, none is known: the first exposure
    // corrects the guess.
    return window->frameMargins();
}

} // namespace

ScreenFit::ScreenFit(QWidget *window, const QSize &designed, double scale, Rescale rescale)
    : QObject(window), m_window(window), m_designed(designed), m_scale(scale), m_rescale(std::move(rescale))
{
}

double ScreenFit::keep(QWidget *window, Rescale rescale)
{
    if (QGuiApplication::platformName().startsWith(u"wayland"))
        return 1;
    // The size as designed, taken before the window is created: Windows cuts
    // a window taller than the screen as it creates it.
    const QSize designed = window->size();
    window->winId(); // created on the platform, not shown
    QWindow *handle = window->windowHandle();
    if (!handle)
        return 1;
    const QMargins frame = roomFor(frameBeforeShow(handle), handle->devicePixelRatio());
    const QRect available = window->screen()->availableGeometry();
    const double s = scale(designed, frame, available);
    // Placed at the size it will be built at.
    window->setGeometry(fitted(QRect(window->geometry().topLeft(), designed * s), frame, available));
    handle->installEventFilter(new ScreenFit(window, designed, s, std::move(rescale)));
    return s;
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

// The first exposure follows the window manager's putting the window on the
// screen, in its frame: the guess is checked against the frame it got.
bool ScreenFit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && m_window->windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        const QMargins frame = roomFor(m_window->windowHandle()->frameMargins(), m_window->devicePixelRatioF());
        const QRect available = m_window->screen()->availableGeometry();
        // From the designed size: a system may already have cut a window
        // taller than the screen.
        if (const double s = scale(m_designed, frame, available); s != m_scale)
            m_rescale(m_scale = s);
        const QRect place = fitted(m_window->geometry(), frame, available);
        if (place != m_window->geometry())
            m_window->setGeometry(place);
        deleteLater();
    }
    return false;
}
