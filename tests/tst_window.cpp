#include "binding.h"
#include "captionbutton.h"
#include "mainwindow.h"
#include "qtclipboard.h"
#include "tabstrip.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRawFont>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolTip>

namespace {

class RefusingClipboard : public Clipboard
{
public:
    bool clear() override { return true; }
    bool setText(const QString &) override { return false; }
};

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

double luminance(const QColor &c)
{
    return 0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF();
}

// The four one-pixel sides of a rectangle `inset` pixels inside one of `size`.
QList<QRect> sidesInside(QSize size, int inset)
{
    const QRect r = QRect(QPoint(0, 0), size).adjusted(inset, inset, -inset, -inset);
    return { QRect(r.left(), r.top(), r.width(), 1), QRect(r.left(), r.bottom(), r.width(), 1),
             QRect(r.left(), r.top(), 1, r.height()), QRect(r.right(), r.top(), 1, r.height()) };
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void geometry_data();
    void geometry();
    void gridRows_data();
    void gridRows();
    void startingState();
    void visibilityPerTab();
    void clicks_data();
    void clicks();
    void labelsAndTabsBlank();
    void keyboard();
    void failedCopyIsReported();
    void textsFit_data();
    void textsFit();
    void readableOnDarkTheme();
    void noDisplayGivesClearError_data();
    void noDisplayGivesClearError();

private:
    template<typename T = QWidget>
    T *control(const char *name) const
    {
        T *w = m_window->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    void selectTab(int tab);

    QtClipboard *m_clipboard = nullptr;
    MainWindow *m_window = nullptr;
};

void TestWindow::initTestCase()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    m_clipboard = new QtClipboard(QApplication::clipboard());
}

void TestWindow::init()
{
    m_window = new MainWindow(*m_clipboard);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

// The user's way of changing tabs: a click on the tab in the tab row.
void TestWindow::selectTab(int tab)
{
    QTabBar *bar = m_window->tabStrip()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    QCOMPARE(m_window->tabStrip()->currentTab(), tab);
}

void TestWindow::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QColor>("face"); // on screen; none: the style's own face
    auto row = [](const char *name, QRect r, QColor face = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << r << face;
    };
    const QColor grey(192, 192, 192);
    row("Command1", twips(840, 960, 855, 375), QColor(192, 255, 255));
    row("Command49", twips(3000, 960, 1815, 375), QColor(128, 255, 255));
    row("Command101", twips(840, 960, 855, 375), QColor(192, 255, 255));
    row("Command24", twips(840, 9600, 855, 375), QColor(255, 192, 192)); // ends at 9975
    row("Command48", twips(1800, 9600, 1095, 375), QColor(255, 192, 192));
    row("Command72", twips(3000, 9600, 1815, 375), QColor(255, 128, 128));
    row("Command96", twips(4920, 9600, 975, 375));
    row("Command97", twips(120, 960, 615, 1815), grey);
    row("Command99", twips(120, 5160, 615, 1095), grey);
    row("Command100", twips(120, 6360, 615, 3615), grey); // 6360 to 9975
    row("Command190", twips(120, 2880, 615, 1455), grey);
    row("Command191", twips(120, 4440, 615, 3255), grey); // 4440 to 7695
    row("Command192", twips(120, 7800, 615, 1455), grey);
    row("Command122", twips(840, 8880, 855, 375), QColor(192, 255, 192)); // ends at 9255
    row("Command188", twips(4920, 8880, 975, 375));
    row("Command193", twips(120, 10440, 1935, 975), QColor(224, 224, 224));
    row("Text1", twips(120, 10320, 5775, 735));
    row("Text2", twips(120, 9600, 5775, 735));
    row("Label1", twips(2400, 11160, 3615, 255));
    row("Label2", twips(2400, 11160, 3615, 255));
    row("Image1", twips(2400, 10440, 3255, 690));
    row("Line2", QRect(8, 680, 385, 1));
    row("Line1", QRect(8, 632, 385, 1));
}

// Places are measured from the tab strip's own corner, tab row included, and
// stay put when the window is made larger. A coloured face shows its exact
// colour beside the caption, inside a bevel that turns over while pressed and a
// focus frame whose four sides all show, the bottom one too, although the next
// row's button covers this one's last pixel row.
void TestWindow::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QColor, face);
    QWidget *w = control(qPrintable(name));
    QCOMPARE(w->parentWidget(), control("SSTab1"));
    QCOMPARE(w->geometry(), place);
    m_window->resize(900, 1000);
    QCOMPARE(w->geometry(), place);
    QCOMPARE(control("SSTab1")->geometry(), twips(120, 120, 6135, 11535));
    QCOMPARE(control("SSTab1")->parentWidget(), m_window);

    auto *button = qobject_cast<QPushButton *>(w);
    if (!button)
        return;
    if (!w->isVisible())
        selectTab(0);
    auto shown = [&] { return control("SSTab1")->grab(place).toImage(); };
    const QImage normal = shown();
    const int mid = place.height() / 2, right = place.width() - 1;
    const QRect beside(3, 2, 1, place.height() - 4); // a column beside the caption
    if (!face.isValid()) { // the style's face: as on a plain push button, not flat
        QPushButton plain;
        plain.resize(place.size());
        QVERIFY(normal.pixel(beside.topLeft()) != normal.pixel(beside.bottomLeft()));
        QCOMPARE(normal.copy(beside), plain.grab().toImage().convertToFormat(normal.format()).copy(beside));
        return;
    }
    QCOMPARE(normal.pixelColor(3, mid), face);
    QCOMPARE(normal.pixelColor(right - 3, mid), face);
    QVERIFY(luminance(normal.pixelColor(0, mid)) > luminance(normal.pixelColor(right, mid)));
    button->setDown(true);
    const QImage pressed = shown();
    button->setDown(false);
    QVERIFY(luminance(pressed.pixelColor(0, mid)) < luminance(pressed.pixelColor(right, mid)));

    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    button->setFocus();
    const QImage focused = shown();
    for (const QRect &side : sidesInside(place.size(), 2))
        QVERIFY(focused.copy(side) != normal.copy(side));
}

void TestWindow::gridRows_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("groups");
    QTest::newRow("old") << 1 << 24 << QList<int>{ 5, 6, 3, 10 };
    QTest::newRow("new") << 101 << 22 << QList<int>{ 5, 4, 9, 4 };
}

// Every row: Top = 960 + 360 (p - 1) + 120 (g - 1), its four buttons side by
// side in the five columns, colours by viewpoint.
void TestWindow::gridRows()
{
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QList<int>, groups);
    static const int lefts[] = { 840, 1800, 3000, 4920 };
    int p = 1;
    for (int g = 1; g <= 4; ++g) {
        const int groupTop = 960 + 360 * (p - 1) + 120 * (g - 1);
        for (int i = 0; i < groups[g - 1]; ++i, ++p) {
            const int top = 960 + 360 * (p - 1) + 120 * (g - 1);
            for (int column = 0; column < 4; ++column) {
                const int number = first + column * count + p - 1;
                QWidget *b = control(qPrintable(QStringLiteral("Command%1").arg(number)));
                QCOMPARE(b->y(), top / 15);
                QCOMPARE(b->x(), lefts[column] / 15);
                QCOMPARE(b->height(), 25);
            }
            const auto colour = [&](int column) {
                return control(qPrintable(QStringLiteral("Command%1").arg(first + column * count + p - 1)))
                        ->property("backColor");
            };
            QCOMPARE(colour(0), colour(1));
            QVERIFY(!colour(3).isValid()); // the explanation buttons have no colour
        }
        QWidget *title = control(qPrintable(QStringLiteral("Command%1").arg(first + 4 * count + g - 1)));
        QCOMPARE(title->y(), groupTop / 15);
        QCOMPARE(title->geometry().bottom() + 1, (960 + 360 * (p - 2) + 120 * (g - 1) + 375) / 15);
    }
}

void TestWindow::startingState()
{
    QCOMPARE(m_window->windowTitle(), u"Sorelin");
    QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(m_window->tabStrip()->currentTab(), 1);
    QCOMPARE(m_window->tabStrip()->tabBar()->tabText(0), u" 旧 内容項目");
    QCOMPARE(m_window->tabStrip()->tabBar()->tabText(1), u" 教科化後");
    QCOMPARE(control<QLineEdit>("Text1")->text(), QString());
    QCOMPARE(control("Text1")->property("backColor").toUInt(), 0xFFFFFFu);
    QCOMPARE(control("Text1")->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(control("Text2")->property("backColor").toUInt(), 0x80000005u);
    QCOMPARE(control("Text2")->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
    QCOMPARE(control<QPushButton>("Command10")->text(), u"2-(5) ");
    QCOMPARE(control("Command13")->property("backColor").toUInt(), 0xC0FFC0u);
    QCOMPARE(control("Command61")->property("backColor").toUInt(), 0x80FF80u);
    QCOMPARE(control("Command176")->property("backColor"), QVariant());
    QCOMPARE(control("Command191")->property("backColor").toUInt(), 0xC0C0C0u);
    QCOMPARE(control("Command193")->property("backColor").toUInt(), 0xE0E0E0u);
    // Title buttons: a 9-point face of their own on the old tab, the window's on the new.
    QCOMPARE(control("Command97")->font().pixelSize(), 12);
    QCOMPARE(control("Command189")->font(), m_window->font());
    QCOMPARE(control("Command25")->font().pixelSize(), 12);
    QCOMPARE(control("Command123")->font().pixelSize(), 13);
    QCOMPARE(control("Text2")->font().pixelSize(), 35);
    QCOMPARE(control("Label2")->font().pixelSize(), 16);
    QCOMPARE(control<QLabel>("Image1")->pixmap().size(), QSize(217, 46));
}

void TestWindow::visibilityPerTab()
{
    QWidget *strip = control("SSTab1");
    for (int tab : { 1, 0, 1 }) {
        if (tab != m_window->tabStrip()->currentTab())
            selectTab(tab);
        int shown = 0, hidden = 0;
        for (QWidget *w : strip->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (w == m_window->tabStrip()->tabBar())
                continue;
            const QString name = w->objectName();
            const int number = name.startsWith(u"Command") ? name.mid(7).toInt() : 0;
            const bool onOld = (number >= 1 && number <= 100) || name == u"Text1" || name == u"Label1"
                    || name == u"Line2";
            QCOMPARE(w->isVisibleTo(m_window), onOld == (tab == 0));
            ++(w->isVisibleTo(m_window) ? shown : hidden);
        }
        QCOMPARE(shown, tab == 0 ? 103 : 97);
        QCOMPARE(hidden, tab == 0 ? 97 : 103);
    }
}

void TestWindow::clicks_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("pane");
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QString>("clipboard");
    auto row = [](const char *button, const char *pane, const char16_t *text, quint32 colour, const char16_t *clip) {
        QTest::newRow(button) << QString::fromLatin1(button) << QString::fromLatin1(pane)
                              << QString::fromUtf16(text) << colour << QString::fromUtf16(clip);
    };
    row("Command13", "Text1", u"旧3-(2) ＝ 新D-(20),(21)", 0xC0FFC0, u"3-(2)");
    row("Command58", "Text1", u"旧2-(5) ＝ 新B-(9)", 0xC0FFFF, u"2-(5) 個性や立場の尊重、謙虚、広い心");
    row("Command99", "Text1", u"", 0x80000005, u"３　主として自然や崇高なものとのかかわりに関すること");
    row("Command130", "Text2", u"新B-(8) ＝ 旧2-(3)(4)", 0xC0FFFF, u"友情、信頼");
    row("Command171", "Text2", u"新A-(5) ＝ 旧1-(4)", 0xFFFFC0, u"真実を大切にし、真理を探究して新しいものを生み出そうと努めること。");
    row("Command190", "Text2", u"", 0x80000005, u"Ｂ　主として人との関わりに関すること");
    row("Command193", "", u"", 0, u"特別の教科　道徳");
}

// A click on the real button: its pane (and only its pane) and the clipboard.
void TestWindow::clicks()
{
    QFETCH(QString, button);
    QFETCH(QString, pane);
    QFETCH(QString, text);
    QFETCH(quint32, colour);

    auto *text1 = control<QLineEdit>("Text1");
    auto *text2 = control<QLineEdit>("Text2");
    QWidget *b = control(qPrintable(button));
    if (!b->isVisible())
        selectTab(0);
    // Fill the pane first, so that a title button visibly blanks it.
    QLineEdit *own = pane == u"Text1" ? text1 : text2;
    QTest::mouseClick(control(pane == u"Text1" ? "Command1" : "Command101"), Qt::LeftButton);
    const QString otherText = (own == text1 ? text2 : text1)->text();
    const QVariant otherColour = (own == text1 ? text2 : text1)->property("backColor");
    const QString ownBefore = own->text();

    QTest::mouseClick(b, Qt::LeftButton);
    QTEST(QApplication::clipboard()->text(), "clipboard");
    if (pane.isEmpty()) {
        QCOMPARE(own->text(), ownBefore);
    } else {
        QCOMPARE(own->text(), text);
        QCOMPARE(own->property("backColor").toUInt(), colour);
        if (!Colour(colour).isSystem())
            QCOMPARE(own->palette().color(QPalette::Base), Colour(colour).toQColor());
    }
    QLineEdit *other = own == text1 ? text2 : text1;
    QCOMPARE(other->text(), otherText);
    QCOMPARE(other->property("backColor"), otherColour);
}

void TestWindow::labelsAndTabsBlank()
{
    auto *text1 = control<QLineEdit>("Text1");
    auto *text2 = control<QLineEdit>("Text2");
    QTest::mouseClick(control("Command145"), Qt::LeftButton);
    selectTab(0);
    QCOMPARE(text2->text(), QString()); // the switch blanked the pane being left
    QCOMPARE(text1->property("backColor").toUInt(), 0x80000005u); // no longer the starting white
    QTest::mouseClick(control("Command24"), Qt::LeftButton);
    QCOMPARE(text1->text(), u"旧4-(10) ＝ 新C-(18)");

    // A credit line blanks its own pane only, and leaves the clipboard alone.
    text2->setText(QStringLiteral("typed"));
    QTest::mouseClick(control("Label1"), Qt::LeftButton);
    QCOMPARE(text1->text(), QString());
    QCOMPARE(text1->property("backColor").toUInt(), 0x80000005u);
    QCOMPARE(text2->text(), u"typed");
    QCOMPARE(QApplication::clipboard()->text(), u"4-(10)");

    QTest::mouseClick(control("Command24"), Qt::LeftButton);
    selectTab(1);
    QCOMPARE(text1->text(), QString());
    QCOMPARE(text2->text(), QString());
    QCOMPARE(QApplication::clipboard()->text(), u"4-(10)");
    QTest::mouseClick(control("Command122"), Qt::LeftButton);
    QTest::mouseClick(control("Label2"), Qt::LeftButton);
    QCOMPARE(text2->text(), QString());
    QCOMPARE(QApplication::clipboard()->text(), u"D-(22)");
}

// The focus starts on the tab strip and goes through the buttons in their
// numbering, the panes, and the subject title button last; Space copies.
void TestWindow::keyboard()
{
    QTabBar *bar = m_window->tabStrip()->tabBar();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QCOMPARE(QApplication::focusWidget(), bar);

    QStringList expected{ QStringLiteral("tabBar") };
    for (int n = 1; n <= 192; ++n)
        expected << QStringLiteral("Command%1").arg(n);
    expected << QStringLiteral("Text1") << QStringLiteral("Text2") << QStringLiteral("Command193");
    QStringList order;
    QWidget *w = bar;
    do {
        // The tab bar's own scroll arrows stay hidden: the two tabs always fit.
        if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() != bar)
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != bar && order.size() < 400);
    QCOMPARE(order, expected);

    control("Command120")->setFocus();
    QTest::keyClick(control("Command120"), Qt::Key_Space);
    QCOMPARE(QApplication::clipboard()->text(), u"D-(20)");
    QCOMPARE(control<QLineEdit>("Text2")->text(), u"新D-(20) ＝ 旧3-(2)");
}

void TestWindow::failedCopyIsReported()
{
    RefusingClipboard refusing;
    MainWindow window(refusing);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QApplication::clipboard()->setText(QStringLiteral("older text"));
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("Command107")), Qt::LeftButton);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), u"コピーできませんでした。もう一度押してください。");
    // The pane is written before the clipboard and shows the item all the same.
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), u"新B-(7) ＝ 旧2-(1)");
    QToolTip::hideText();

    // A copy that works shows no such note.
    QTest::mouseClick(control("Command107"), Qt::LeftButton);
    QVERIFY(!QToolTip::isVisible());
}

void TestWindow::textsFit_data()
{
    QTest::addColumn<int>("points"); // the desktop's font size; 0: as it is
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("desktop") << 0 << QStringLiteral("Command189") << QStringList{ u"自分"_qs, u"自身"_qs };
    QTest::newRow("8 pt") << 8 << QStringLiteral("Command192") << QStringList{ u"生命自"_qs, u"然崇高"_qs };
    QTest::newRow("12 pt") << 12 << QStringLiteral("Command190") << QStringList{ u"人との"_qs, u"関わり"_qs };
    QTest::newRow("14 pt") << 14 << QStringLiteral("Command192") << QStringList{ u"生命"_qs, u"自然"_qs, u"崇高"_qs };
    for (int points : { 9, 10, 11, 13, 15, 16 })
        QTest::addRow("%d pt", points) << points << QString() << QStringList();
}

// Every text is in the one Japanese face the program draws with, which looks
// nowhere else for glyphs. Every caption stays whole inside its button on
// desktop fonts from 8 to 16 points: wrapped between words or into even
// parts, and set smaller than the desktop's font only where that is not enough.
void TestWindow::textsFit()
{
    QFETCH(int, points);
    const QFont desktop = QApplication::font();
    QFont asked = desktop;
    if (points)
        asked.setPointSize(points);
    QApplication::setFont(asked);
    MainWindow window(*m_clipboard);
    QApplication::setFont(desktop);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QRawFont face = QRawFont::fromFont(control("Command1")->font());
    QStringList texts{ m_window->tabStrip()->tabBar()->tabText(0), m_window->tabStrip()->tabBar()->tabText(1),
                       control<QLabel>("Label1")->text() };
    for (Curriculum set : { Curriculum::Old, Curriculum::New }) {
        for (const ContentItem &item : Catalogue::items(set))
            texts << item.correspondence;
    }
    for (CaptionButton *button : window.findChildren<CaptionButton *>()) {
        texts << button->text();
        // No stroke of the caption reaches the pixels just inside the bevel.
        const QImage shown = button->grab().toImage();
        const QString caption = button->text();
        button->setText(QString());
        const QImage bare = button->grab().toImage();
        button->setText(caption);
        for (const QRect &side : sidesInside(shown.size(), 1))
            QVERIFY2(shown.copy(side) == bare.copy(side), qPrintable(button->objectName()));
        QCOMPARE(button->captionLines().join(QString()).remove(u' ').remove(u'　'),
                 QString(caption).remove(u' ').remove(u'　'));
    }
    QFETCH(QString, title);
    if (!title.isEmpty())
        QTEST(window.findChild<CaptionButton *>(title)->captionLines(), "lines");
    if (points)
        return;
    for (const QString &text : std::as_const(texts)) {
        for (char32_t c : text.toUcs4())
            QVERIFY2(face.supportsCharacter(c), qPrintable(text));
    }
    QVERIFY2(face.familyName().contains(u"CJK JP") || face.familyName() == u"MS UI Gothic",
             qPrintable(face.familyName()));

    auto *pane = control<QLineEdit>("Text1");
    const QString longest = QStringLiteral(u"旧3-(2) ＝ 新D-(20),(21)");
    // The line edit's frame and its two-pixel text margin on either side.
    const int room = pane->width() - 2 * (2 + 2);
    QVERIFY2(pane->fontMetrics().horizontalAdvance(longest) <= room,
             qPrintable(QString::number(pane->fontMetrics().horizontalAdvance(longest))));
}

// On a dark desktop theme the light panes and buttons keep dark text; a blank
// pane takes the theme's own pair of colours.
void TestWindow::readableOnDarkTheme()
{
    const QPalette original = QApplication::palette();
    QPalette dark = original;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    MainWindow window(*m_clipboard);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *pane = window.findChild<QLineEdit *>(QStringLiteral("Text2"));
    auto contrast = [](const QPalette &p, QPalette::ColorRole bg, QPalette::ColorRole fg) {
        return qAbs(luminance(p.color(bg)) - luminance(p.color(fg)));
    };
    QVERIFY(contrast(pane->palette(), QPalette::Base, QPalette::Text) > 0.5);
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("Command115")), Qt::LeftButton);
    QVERIFY(contrast(pane->palette(), QPalette::Base, QPalette::Text) > 0.5);
    const QImage button = window.findChild<QWidget *>(QStringLiteral("Command159"))->grab().toImage();
    double darkest = 1;
    for (int x = 0; x < button.width(); ++x)
        darkest = std::min(darkest, luminance(button.pixelColor(x, button.height() / 2)));
    QVERIFY(luminance(button.pixelColor(3, button.height() / 2)) - darkest > 0.5);
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("Label2")), Qt::LeftButton);
    QCOMPARE(pane->palette().color(QPalette::Base), QColor(30, 30, 30));
    QApplication::setPalette(original);
}

void TestWindow::noDisplayGivesClearError_data()
{
    QTest::addColumn<QString>("display");
    QTest::newRow("no DISPLAY") << QString();
    QTest::newRow("unreachable DISPLAY") << QStringLiteral(":987");
}

void TestWindow::noDisplayGivesClearError()
{
    QFETCH(QString, display);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        env.remove(QString::fromLatin1(name));
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(BREVANT_PATH), {});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QString err = QString::fromUtf8(program.readAllStandardError()).trimmed();
    QVERIFY2(!err.contains(u'\n') && err.contains(u"ディスプレイ"), qPrintable(err));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
