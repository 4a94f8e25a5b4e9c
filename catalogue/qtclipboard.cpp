#include "qtclipboard.h"

#include <QClipboard>

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
// only while it owns the CLIPBOARD selection, so a refused ownership is a
// failed copy; platforms without the notion of ownership (or that keep the
// data in the process) are checked by reading the text back.
bool QtClipboard::setText(const QString &text)
{
    m_clipboard->setText(text, QClipboard::Clipboard);
    return m_clipboard->ownsClipboard() || m_clipboard->text(QClipboard::Clipboard) == text;
}
