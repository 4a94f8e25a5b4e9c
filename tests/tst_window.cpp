// The bridge below is built into the test as a static plugin.
#define QT_STATICPLUGIN

#include "binding.h"
#include "captionbutton.h"
#include "facestyle.h"
#include "failurenote.h"
#include "mainwindow.h"
#include "picture.h"
#include "qtclipboard.h"
#include "tabbar.h"
#include "tabstrip.h"

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QAccessibleBridge>
#include <QApplication>
#include <QFile>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRawFont>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QtPlugin>

namespace {

// Where Qt sends what it tells assistive technology (no screen reader listens
// on the offscreen platform): the failure note's announcements are counted.
int notesAnnounced = 0;

class AnnouncementBridge : public QAccessibleBridge
{
public:
    void setRootObject(QAccessibleInterface *) override {}
    void notifyAccessibilityUpdate(QAccessibleEvent *event) override
    {
        notesAnnounced += event->type() == QAccessible::ObjectShow && qobject_cast<FailureNote *>(event->object());
    }
};

class AnnouncementBridgePlugin : public QAccessibleBridgePlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QAccessibleBridgeFactoryInterface_iid FILE "announcements.json")

public:
    QAccessibleBridge *create(const QString &) override { return new AnnouncementBridge; }
};

class RefusingClipboard : public Clipboard
{
public:
    bool clear() override { return true; }
    bool setText(const QString &) override { return false; }
};

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


QString resourcePath(const QString &name)
{
    return QStringLiteral(SORELIN_RESOURCES_DIR) + QLatin1Char('/') + name;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

Q_IMPORT_PLUGIN(AnnouncementBridgePlugin)

class TestWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void recorded_data();
    void recorded();
    void faces_data();
    void faces();
    void labelsAndTabsBlank();
    void keyboard_data();
    void keyboard();
    void failedCopyIsReported_data();
    void failedCopyIsReported();
    void drawnSmaller_data();
    void drawnSmaller();
    void textsFit();
    void readableOnDarkTheme();
    void picturesAsDrawn();
    void pictures_data();
    void pictures();

private:
    template<typename T = QWidget>
    T *control(const char *name)
    {
        // The old set's buttons are made when their tab first shows.
        if (!m_window->findChild<T *>(QLatin1String(name)))
            selectTab(0);
        T *w = m_window->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    void selectTab(int tab);
    QString describe(const QString &name);

    QtClipboard *m_clipboard = nullptr;
    MainWindow *m_window = nullptr;
};

void TestWindow::initTestCase()
{
    QApplication::setStyle(new FaceStyle);
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
    TabBar *bar = m_window->findChild<TabBar *>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    QCOMPARE(m_window->tabStrip()->currentTab(), tab);
}

// One line per control, as a teacher meets it: place, font, face colour,
// caption, and for a button what a click copies and what each pane then
// shows ("=" where it stays as it was). Empty fields do not apply.
QString TestWindow::describe(const QString &name)
{
    QWidget *w = name == u"Form1" ? m_window : control(qPrintable(name));
    const QRect r = w->geometry();
    const QVariant face = w->property("backColor");
    const auto hex = [](uint value) { return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(6, u'0'); };
    auto *strip = qobject_cast<TabStrip *>(w);
    TabBar *bar = m_window->findChild<TabBar *>();
    const QFont font = strip ? bar->font() : w->font();
    const bool showsText = strip || qobject_cast<QPushButton *>(w) || qobject_cast<QLineEdit *>(w)
            || (qobject_cast<QLabel *>(w) && !qobject_cast<QLabel *>(w)->text().isEmpty());
    QString shownOn; // the tabs it shows on
    for (int tab : { 0, 1 }) {
        selectTab(tab);
        if (w->isVisibleTo(m_window))
            shownOn += QString::number(tab);
    }
    // Its place in the keyboard order, counted from the tab row.
    int order = 0;
    for (QWidget *f = bar; f != (strip ? bar : w) && order < 300; f = f->nextInFocusChain())
        order += bool(f->focusPolicy() & Qt::TabFocus);
    const bool focusable = strip || (w->focusPolicy() & Qt::TabFocus);
    QStringList fields{ name, QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()), shownOn,
                        focusable && order < 300 ? QString::number(order) : QString(),
                        !showsText ? QString() : font == m_window->font() ? QStringLiteral("window")
                                                                         : QString::number(font.pixelSize()),
                        face.isValid() ? hex(face.toUInt()) : QString() };
    auto *button = qobject_cast<QPushButton *>(w);
    if (button)
        selectTab(shownOn.toInt());
    if (face.isValid() && button) {
        // The face as it shows on screen, beside the caption on either side.
        const QImage shown = control("SSTab1")->grab(r).toImage();
        for (int x : { 3, r.width() - 4 }) {
            const QColor c = shown.pixelColor(x, r.height() / 2);
            if (const uint bgr = c.red() | c.green() << 8 | c.blue() << 16; bgr != face.toUInt())
                fields.last() += QStringLiteral(" shown as ") + hex(bgr);
        }
    }
    // What a screen reader says of it: its name, and for the tab strip its tabs.
    QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(strip ? bar : w);
    QString heard = spoken->text(QAccessible::Name);
    if (strip) {
        QStringList tabs;
        for (int i = 0; i < spoken->childCount(); ++i)
            tabs << spoken->child(i)->text(QAccessible::Name);
        heard = tabs.join(u'|');
    } else if (w == m_window && spoken->role() != QAccessible::Window) {
        heard += QStringLiteral(" (not a window)");
    }
    if (button) {
        fields << button->text() << heard;
        const QList<QLineEdit *> panes{ control<QLineEdit>("Text1"), control<QLineEdit>("Text2") };
        for (QLineEdit *pane : panes) {
            pane->setText(QStringLiteral("="));
            pane->setProperty("backColor", QVariant());
        }
        QApplication::clipboard()->setText(QStringLiteral("="));
        QTest::mouseClick(button, Qt::LeftButton);
        // A listener is told exactly what a press copies.
        const QString copied = QApplication::clipboard()->text(), told = spoken->text(QAccessible::Description);
        fields << copied + (told == copied ? QString() : QStringLiteral(" (described as 「%1」)").arg(told));
        for (QLineEdit *pane : panes) {
            const QVariant colour = pane->property("backColor");
            if (!colour.isValid()) {
                fields << pane->text();
                continue;
            }
            // What the pane shows is the colour it was given, or the desktop's own for the system colour.
            const Colour given(colour.toUInt());
            const QColor shown = pane->palette().color(QPalette::Base);
            const bool right = shown == (given.isSystem() ? QApplication::palette().color(QPalette::Base) : given.toQColor());
            fields << pane->text() + QStringLiteral(" @") + hex(given.value())
                            + (right ? QString() : QStringLiteral(" shown as ") + shown.name());
        }
    } else if (!showsText && w != m_window) {
        fields << QString() << heard;
    } else {
        auto *label = qobject_cast<QLabel *>(w);
        auto *edit = qobject_cast<QLineEdit *>(w);
        fields << (label ? label->text() : edit ? edit->text() : strip ? bar->tabText(0) + u'|' + bar->tabText(1) : w->windowTitle()) << heard;
    }
    return fields.join(u'\t');
}

void TestWindow::recorded_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("recorded");
    QFile file(QStringLiteral(SORELIN_TESTS_DIR "/window.tsv"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QHash<QString, QString> lines;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts))
        lines.insert(line.section(u'\t', 0, 0), line);
    QStringList names{ "Form1", "SSTab1", "Text1", "Text2", "Label1", "Label2", "Image1", "Line1", "Line2" };
    for (int n = 1; n <= 193; ++n)
        names << QStringLiteral("Command%1").arg(n);
    QSet<QString> heard[2]; // no two buttons of a tab sound alike to a screen reader
    for (const QString &name : std::as_const(names)) {
        QTest::newRow(qPrintable(name)) << name << lines.value(name);
        if (name.startsWith(u"Command"))
            heard[name.mid(7).toInt() > 100] << lines.value(name).section(u'\t', 7, 7);
    }
    QCOMPARE(heard[0].size() + heard[1].size(), 193);
}

// Every text the window shows or copies, every colour and every place, against
// the record taken once the texts had been checked word for word. A changed
// character anywhere fails here and names the control and the field.
void TestWindow::recorded()
{
    QFETCH(QString, name);
    QFETCH(QString, recorded);
    const QString now = describe(name);
    if (qEnvironmentVariableIsSet("SORELIN_RECORD")) // prints the record anew, to be checked before it is kept
        QSKIP(qPrintable(now));
    static const char *const what[] = { "name", "place", "tab", "keys", "font", "face", "caption", "heard", "copies", "Text1", "Text2" };
    const QStringList expected = recorded.split(u'\t'), seen = now.split(u'\t');
    for (int i = 0; i < qMax(expected.size(), seen.size()); ++i)
        QVERIFY2(seen.value(i) == expected.value(i), qPrintable(QStringLiteral("%1: 「%2」, recorded 「%3」")
                                                                     .arg(what[qMin(i, 10)], seen.value(i), expected.value(i))));
}

void TestWindow::faces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("coloured"); // else the style's own face
    for (const char *name : { "Command72", "Command191", "Command193" })
        QTest::newRow(name) << name << true;
    QTest::newRow("Command96") << "Command96" << false;
}

// A coloured face (its exact colour is in the record) stands inside a bevel
// that turns over while pressed, and a focus frame whose four sides all show,
// the bottom one too, although the next row's button covers this one's last
// pixel row. The explanation buttons keep the style's own face.
void TestWindow::faces()
{
    QFETCH(QString, name);
    QFETCH(bool, coloured);
    auto *button = control<QPushButton>(qPrintable(name));
    const QRect place = button->geometry();
    if (!button->isVisible())
        selectTab(0);
    auto shown = [&] { return control("SSTab1")->grab(place).toImage(); };
    const QImage normal = shown();
    const int mid = place.height() / 2, right = place.width() - 1;
    if (!coloured) { // the style's face: as on a plain push button, not flat
        QPushButton plain;
        plain.resize(place.size());
        const QRect beside(3, 2, 1, place.height() - 4); // a column beside the caption
        QCOMPARE(normal.copy(beside), plain.grab().toImage().convertToFormat(normal.format()).copy(beside));
        return;
    }
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

// A tab switch (by mouse or keys) blanks both panes, the one being left too;
// a credit line only its own. Neither touches the clipboard.
void TestWindow::labelsAndTabsBlank()
{
    auto *text1 = control<QLineEdit>("Text1");
    auto *text2 = control<QLineEdit>("Text2");
    QTest::mouseClick(control("Command145"), Qt::LeftButton);
    selectTab(0);
    QCOMPARE(text2->text(), QString());
    QCOMPARE(text1->property("backColor").toUInt(), 0x80000005u); // no longer the starting white
    QTest::mouseClick(control("Command24"), Qt::LeftButton);
    text2->setText(QStringLiteral("typed"));
    QTest::mouseClick(control("Label1"), Qt::LeftButton);
    QCOMPARE(text1->text() + u'|' + text2->text(), u"|typed");
    QCOMPARE(text1->property("backColor").toUInt(), 0x80000005u);
    QTest::mouseClick(control("Command24"), Qt::LeftButton);
    QTest::keyClick(m_window->findChild<TabBar *>(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(text1->text() + u'|' + text2->text(), u"|");
    QTest::mouseClick(control("Command122"), Qt::LeftButton);
    QTest::mouseClick(control("Label2"), Qt::LeftButton);
    QCOMPARE(text2->text(), QString());
    QCOMPARE(QApplication::clipboard()->text(), u"D-(22)");
}

void TestWindow::keyboard_data()
{
    QTest::addColumn<Qt::LayoutDirection>("direction");
    QTest::addColumn<QString>("steps"); // arrow keys < >, clicks on the tab drawn at the left L or right R; each with the tab it selects
    QTest::newRow("left to right") << Qt::LeftToRight << ">1 <0 <0 >1 R1 L0 R1";
    QTest::newRow("right to left") << Qt::RightToLeft << "<1 >0 >0 <1 L1 R0 L1";
}

// The focus starts on the tab row, with its mark on the selected tab. Keys and
// clicks select the tab drawn on their side, the keys stopping at either end,
// and it is drawn with its band, and placed for a screen reader, right there.
void TestWindow::keyboard()
{
    QFETCH(Qt::LayoutDirection, direction);
    QFETCH(QString, steps);
    TabBar *bar = m_window->findChild<TabBar *>();
    m_window->setLayoutDirection(direction);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QCOMPARE(QApplication::focusWidget(), bar);
    const QImage focused = bar->grab().toImage();
    bar->clearFocus();
    QVERIFY(bar->grab().toImage() != focused);
    bar->setFocus();
    for (const QString &step : steps.split(u' ')) {
        step[0].isLetter() ? QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() * (step[0] == u'L' ? 1 : 3) / 4, bar->height() / 2))
                           : QTest::keyClick(bar, step[0] == u'<' ? Qt::Key_Left : Qt::Key_Right);
        const int tab = step[1].digitValue();
        QCOMPARE(m_window->tabStrip()->currentTab(), tab);
        const QPoint band(bar->width() * ((tab == 0) == (direction == Qt::LeftToRight) ? 1 : 3) / 4, 2);
        QCOMPARE(bar->grab().toImage().pixelColor(band), bar->palette().color(QPalette::Highlight));
        QVERIFY(QAccessible::queryAccessibleInterface(bar)->child(tab)->rect().contains(bar->mapToGlobal(band)));
    }
}

void TestWindow::failedCopyIsReported_data()
{
    QTest::addColumn<QString>("dismissal"); // how the note goes
    for (const char *way : { "a key", "a click", "another window", "ten seconds" })
        QTest::newRow(way) << way;
}

// The note of a failed copy shows, and is announced, each time a copy fails,
// and goes in each of its ways.
void TestWindow::failedCopyIsReported()
{
    QFETCH(QString, dismissal);
    RefusingClipboard refusing;
    MainWindow window(refusing);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *button = window.findChild<QPushButton *>(QStringLiteral("Command107"));
    notesAnnounced = 0;
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    auto *note = window.findChild<FailureNote *>();
    QVERIFY(note && note->isVisible());
    QCOMPARE(notesAnnounced, 2);
    QCOMPARE(note->text(), u"コピーできませんでした。もう一度押してください。");
    QCOMPARE(QAccessible::queryAccessibleInterface(note)->role(), QAccessible::Notification);
    QCOMPARE(QAccessible::queryAccessibleInterface(note)->text(QAccessible::Name), note->text());
    if (dismissal == u"a key") {
        QTest::keyClick(button, Qt::Key_Shift); // alone, no key press to the teacher
        QVERIFY(note->isVisible());
        QTest::keyClick(button, Qt::Key_Escape);
    } else if (dismissal == u"a click") {
        QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("Text2")), Qt::LeftButton);
    } else if (dismissal == u"another window") {
        QEvent deactivated(QEvent::WindowDeactivate);
        QApplication::sendEvent(&window, &deactivated);
    } else { // the note's ten seconds, gone by at once
        const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(note);
        const auto expiry = std::find_if(timers.begin(), timers.end(), [](const auto &t) { return t.interval == 10000; });
        QVERIFY(expiry != timers.end());
        QTimerEvent expired(expiry->timerId);
        QApplication::sendEvent(note, &expired);
    }
    QVERIFY(note->isHidden());
}

void TestWindow::drawnSmaller_data()
{
    QTest::addColumn<double>("scale");
    // As on the short screens of tst_screenfit.
    QTest::newRow("1366x768, 40 px panel") << 701 / 784.0;
    QTest::newRow("1920x1080 at 150 %, task bar") << 649 / 784.0;
}

// Drawn smaller, the window is the same as a whole: every control's font and
// picture at the scale, its place within a pixel of the scale's, and the edges
// that controls share as designed still shared (a line's ends are points, not
// edges).
void TestWindow::drawnSmaller()
{
    QFETCH(double, scale);
    MainWindow small(*m_clipboard, [scale](QWidget *) { return scale; });
    small.show();
    QVERIFY(QTest::qWaitForWindowExposed(&small));
    struct Control { QRect place; double font; QSize picture; };
    QMap<QString, Control> seen[2]; // as designed, and drawn smaller
    const QList<MainWindow *> windows{ m_window, &small };
    for (int i = 0; i < 2; ++i) {
        windows[i]->tabStrip()->setCurrentTab(0); // makes the old set's buttons
        for (QWidget *w : windows[i]->findChildren<QWidget *>()) {
            const QFont f = w->font();
            auto *label = qobject_cast<QLabel *>(w);
            auto *bar = qobject_cast<TabBar *>(w);
            const QSize picture = bar ? bar->iconSize() : label ? label->pixmap().size() : QSize();
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_"))
                seen[i].insert(w->objectName(), { QRect(w->mapTo(windows[i], QPoint()), w->size()),
                                                  f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF(), picture });
        }
    }
    QCOMPARE(seen[1].keys(), seen[0].keys());
    const auto edges = [](const QRect &r) { return QList<int>{ r.left(), r.top(), r.right() + 1, r.bottom() + 1 }; };
    for (auto a = seen[0].cbegin(); a != seen[0].cend(); ++a) {
        const Control &designed = *a, &smaller = seen[1][a.key()];
        const QByteArray held = a.key().toUtf8();
        const char *name = held.constData();
        QVERIFY2(qAbs(smaller.font - designed.font * scale) <= 0.5, name);
        // A picture keeps its proportions, which may cost it a pixel more.
        QVERIFY2(qAbs(smaller.picture.width() - designed.picture.width() * scale) <= 1.5
                         && qAbs(smaller.picture.height() - designed.picture.height() * scale) <= 1.5, name);
        for (int e = 0; e < 4; ++e)
            QVERIFY2(qAbs(edges(smaller.place)[e] - edges(designed.place)[e] * scale) <= 1.5, name);
        for (auto b = seen[0].cbegin(); b != a && !a.key().startsWith(u"Line"); ++b) {
            for (int e = 0; e < 4; ++e) {
                if (!b.key().startsWith(u"Line") && edges(designed.place)[e] == edges(b->place)[e])
                    QVERIFY2(edges(smaller.place)[e] == edges(seen[1][b.key()].place)[e],
                             qPrintable(QStringLiteral("%1 and %2, edge %3").arg(a.key(), b.key()).arg(e)));
            }
        }
    }
}

// Every text is in the one Japanese face the program draws with, which looks
// nowhere else for glyphs. No painted caption reaches the pixels just inside
// its button's bevel (on other desktop fonts: tst_captionlayout).
void TestWindow::textsFit()
{
    selectTab(0); // makes the old set's buttons
    const QRawFont face = QRawFont::fromFont(control("Command1")->font());
    QStringList texts{ m_window->findChild<TabBar *>()->tabText(0), m_window->findChild<TabBar *>()->tabText(1),
                       control<QLabel>("Label1")->text() };
    for (Curriculum set : { Curriculum::Old, Curriculum::New }) {
        for (const ContentItem &item : Catalogue::items(set))
            texts << item.correspondence;
    }
    for (CaptionButton *button : m_window->findChildren<CaptionButton *>()) {
        const QString caption = button->text();
        texts << caption;
        const QImage shown = button->grab().toImage();
        button->setText(QString());
        const QImage bare = button->grab().toImage();
        button->setText(caption);
        for (const QRect &side : sidesInside(shown.size(), 1))
            QVERIFY2(shown.copy(side) == bare.copy(side) && shown != bare, qPrintable(button->objectName()));
    }
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
    // Colours of a dark desktop theme (Breeze Dark).
    QPalette palette(QColor(49, 54, 59), QColor(49, 54, 59));
    for (QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(role, QColor(252, 252, 252));
    palette.setColor(QPalette::Base, QColor(35, 38, 41));
    const auto restore = qScopeGuard([original = QApplication::palette()] { QApplication::setPalette(original); });
    QApplication::setPalette(palette);
    MainWindow window(*m_clipboard);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Dark text on a light pane and on a light face; a blank pane in the theme's own colours.
    auto *pane = window.findChild<QLineEdit *>(QStringLiteral("Text2"));
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("Command115")), Qt::LeftButton);
    QVERIFY(luminance(pane->palette().color(QPalette::Base)) - luminance(pane->palette().color(QPalette::Text)) > 0.5);
    const QImage button = window.findChild<QWidget *>(QStringLiteral("Command159"))->grab().toImage();
    double darkest = 1;
    for (int x = 0; x < button.width(); ++x)
        darkest = std::min(darkest, luminance(button.pixelColor(x, button.height() / 2)));
    QVERIFY(luminance(button.pixelColor(3, button.height() / 2)) - darkest > 0.5);
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("Label2")), Qt::LeftButton);
    QCOMPARE(pane->palette().color(QPalette::Base), palette.color(QPalette::Base));
}

// The committed pictures, icon files and picture data are what
// resources/make_pictures.py writes, byte for byte.
void TestWindow::picturesAsDrawn()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess script;
    script.start(QStringLiteral("python3"), { resourcePath(QStringLiteral("make_pictures.py")), out.path() });
    QVERIFY2(script.waitForFinished(60000) && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0,
             script.readAllStandardError());
    const QStringList written = QDir(out.path()).entryList(QDir::Files);
    QCOMPARE(written, QStringList({ "brevant.ico", "brevant.png", "image1.gif", "picturedata.h", "tab0.gif", "tab1.gif" }));
    for (const QString &name : written) {
        const QString committed = resourcePath(name.endsWith(u".h") ? "../layout/" + name : name);
        QVERIFY2(readAll(out.filePath(name)) == readAll(committed), qPrintable(committed + " is not as the script writes it"));
    }
}

// What the window shows is the first frame of each committed picture, and the
// icon, as Qt's own readers see them.
void TestWindow::pictures_data()
{
    QTest::addColumn<int>("picture");
    QTest::addColumn<QString>("file");

    QTest::newRow("tab 0") << int(Picture::Tab0) << "tab0.gif";
    QTest::newRow("tab 1") << int(Picture::Tab1) << "tab1.gif";
    QTest::newRow("Image1") << int(Picture::Image1) << "image1.gif";
    QTest::newRow("window icon") << int(Picture::Icon) << "brevant.png";
}

void TestWindow::pictures()
{
    QFETCH(int, picture);
    QFETCH(QString, file);
    QCOMPARE(Picture::image(Picture::Name(picture)).convertToFormat(QImage::Format_ARGB32_Premultiplied),
             QImage(resourcePath(file)).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
