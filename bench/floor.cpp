// The least Qt Widgets program that does what Brevant does per click: one
// window, one Japanese push button, one text put on the clipboard. bench/run.sh
// measures Brevant against it, so it uses the same fonts and the same clipboard
// call and nothing else.
#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QFont font(QStringLiteral("MS UI Gothic"));
    font.setFamilies({QStringLiteral("MS UI Gothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(13);
    QApplication::setFont(font);

    QWidget window;
    window.setWindowTitle(QStringLiteral("BrevantFloor"));
    window.setGeometry(50, 72, 424, 784);

    QPushButton button(QStringLiteral("特別の教科　道徳"), &window);
    button.setGeometry(8, 8, 129, 65);
    QObject::connect(&button, &QPushButton::clicked, [] {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setText(QStringLiteral("特別の教科　道徳"));
    });

    window.show();
    return app.exec();
}
