#include "fonts.h"
#include "mainwindow.h"
#include "qtclipboard.h"
#include "screenfit.h"
#include "startup.h"

#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

int main(int argc, char *argv[])
{
    Startup::prepare(argc, argv);
    QApplication app(argc, argv);
    Startup::finish();

    QApplication::setApplicationName(QStringLiteral("Sorelin"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setOrganizationName(QStringLiteral("Tamberlo"));
    QApplication::setDesktopFileName(QStringLiteral("jp.tamberlo.Sorelin"));
    // Read by Qt's own PNG reader: left to guess, Qt would first load every
    // picture plugin installed to ask whether it reads PNG.
    QImageReader icon(QStringLiteral(":/brevant.png"), "png");
    icon.setAutoDetectImageFormat(false);
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon.read())));
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
    ScreenFit::keep(&window);
    return app.exec();
}
