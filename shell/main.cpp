#include "facestyle.h"
#include "fonts.h"
#include "mainwindow.h"
#include "picture.h"
#include "qtclipboard.h"
#include "screenfit.h"
#include "startup.h"

#include <QApplication>
#include <QClipboard>
#include <QIcon>
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
    // Built from the program's own data: Qt's picture readers would first
    // list the picture plugins installed.
    QApplication::setWindowIcon(QIcon(Picture::pixmap(Picture::Icon)));
    // Fusion paints the panes in the colours the program gives them on every
    // desktop; the program's style over it paints the coloured buttons' faces.
    QApplication::setStyle(new FaceStyle);
    // The desktop's size in the Japanese face for every text without a font
    // of its own (the window's, a tool tip's, Qt's untranslated menu entries),
    // so that no other face is loaded.
    QApplication::setFont(Fonts::window(QApplication::font()));

    QtClipboard clipboard(QApplication::clipboard());
    // Built at the scale the screen and the window's frame allow, worked out
    // before the window shows; drawn again only where that proves wrong.
    MainWindow window(clipboard, [&window](QWidget *created) {
        return ScreenFit::keep(created, [&window](double scale) { window.setScale(scale); });
    });
    window.show();
    return app.exec();
}
