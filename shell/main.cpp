#include "fonts.h"
#include "mainwindow.h"
#include "qtclipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>

namespace {

// Until the application object stands, the windowing system's complaints are
// held back: if no display can be reached, one plain line says so and the
// program ends with status 1 instead of aborting.
struct HeldMessage
{
    QtMsgType type;
    QString text;
};
QList<HeldMessage> held;

void holdStartupMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fputs("Brevant: 画面（ディスプレイ）に接続できないため起動できません。"
                   "デスクトップの中から起動してください。 (cannot connect to a display)\n",
                   stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    held.append({ type, qFormatLogMessage(type, context, message) });
}

void releaseStartupMessages()
{
    qInstallMessageHandler(nullptr);
    for (const HeldMessage &message : std::as_const(held)) {
        if (message.type != QtDebugMsg && message.type != QtInfoMsg)
            std::fprintf(stderr, "%s\n", qUtf8Printable(message.text));
    }
    held.clear();
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(holdStartupMessages);
    QApplication app(argc, argv);
    releaseStartupMessages();

    QApplication::setApplicationName(QStringLiteral("Sorelin"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setOrganizationName(QStringLiteral("Tamberlo"));
    QApplication::setDesktopFileName(QStringLiteral("jp.tamberlo.Sorelin"));
    QApplication::setWindowIcon(QIcon(QPixmap(QStringLiteral(":/brevant.png"), "PNG")));
    // Fusion paints the panes in the colours the program gives them on every
    // desktop.
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The desktop's size in the Japanese face for every text without a font
    // of its own (the window's, a tool tip's, Qt's untranslated menu entries),
    // so that no other face is loaded.
    QApplication::setFont(Fonts::window(QApplication::font()));

    QtClipboard clipboard(QApplication::clipboard());
    MainWindow window(clipboard);
    window.show();
    return app.exec();
}
