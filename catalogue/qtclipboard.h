#pragma once

#include "copyaction.h"

class QClipboard;

// The desktop's clipboard, written in its clipboard mode only: the program
// never touches the X11 primary selection.
class QtClipboard : public Clipboard
{
public:
    explicit QtClipboard(QClipboard *clipboard);

    bool clear() override;
    bool setText(const QString &text) override;

private:
    QClipboard *m_clipboard;
};
