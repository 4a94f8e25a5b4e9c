#include "mainwindow.h"
#include "qtclipboard.h"
#include "screenfit.h"
#include "startup.h"

#include <QApplication>
#include <QClipboard>
#include <QIcon>

int main(int argc, char *argv[])
{
    Startup::prepare(argc, argv);
    QApplication app(argc, argv);
    Startup::finish();

    QApplication::setApplicationName(QStringLiteral("Sorelin"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setOrganizationName(QStringLiteral("Tamberlo"));
    QApplication::setDesktopFileName(QStringLiteral("jp.tamberlo.Sorelin"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/brevant.png")));
    // Fusion paints button faces and panes in the colours the program gives
    // them on every desktop.
    QApplication::setStyle(QStringLiteral("Fusion"));

    QtClipboard clipboard(QApplication::clipboard());
    MainWindow window(clipboard);
    window.show();
    ScreenFit::keep(&window);
    return app.exec();
}
