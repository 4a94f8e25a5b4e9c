#include "qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#ifdef SORELIN_X11_CLIPBOARD
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

// Qt counts the clipboard as its own as soon as it has asked for it, even when
// the X server refused the request (it does so for a request stamped later
// than the server's own clock, or earlier than the last change of owner). The
// server is asked instead: the owner must be a window of this connection.
bool serverSaysWeOwnClipboard(xcb_connection_t *connection)
{
    static const xcb_atom_t clipboardAtom = [connection] {
        const char name[] = "CLIPBOARD";
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
                xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr),
                &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }();
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
            xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, clipboardAtom), nullptr),
            &std::free);
    const xcb_setup_t *setup = xcb_get_setup(connection);
    return owner && owner->owner != XCB_NONE
            && (owner->owner & ~setup->resource_id_mask) == setup->resource_id_base;
}

} // namespace
#endif

QtClipboard::QtClipboard(QClipboard *clipboard) : m_clipboard(clipboard) {}

// Emptying happens in setText(), which replaces every format at once. Giving
// the clipboard up here first would leave it empty for an instant, and a
// clipboard manager that refills an empty clipboard (several do) could put its
// last text back in between, so that the button's text never arrived.
bool QtClipboard::clear()
{
    return true;
}

// QClipboard::setText() reports nothing. On X11 the program holds the text
// only while it owns the CLIPBOARD selection, so the X server's answer is the
// verdict; elsewhere (or where the data stays in the process) the text is read
// back.
bool QtClipboard::setText(const QString &text)
{
    m_clipboard->setText(text, QClipboard::Clipboard);
#ifdef SORELIN_X11_CLIPBOARD
    // (The offscreen platform answers to the X11 interface too, with no connection.)
    if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>(); x11 && x11->connection())
        return serverSaysWeOwnClipboard(x11->connection());
#endif
    return m_clipboard->text(QClipboard::Clipboard) == text;
}
