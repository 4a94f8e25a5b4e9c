// End-to-end test of Brevant on a real X11 desktop: it starts the program,
// clicks its controls with the mouse (xdotool), reads the clipboard as another
// program would (xclip) and reads the panes' colours from the screen (import).
// run_desktop.sh gives it an X server, a window manager and the environment:
//   SORELIN_BREVANT    the program to test
//   SORELIN_ARTIFACTS  where screenshots and the program's output go
//
// Every click position is worked out here from the window's layout in twips;
// only the texts the buttons copy come from the catalogue library.

#include "binding.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <optional>
#include <utility>

namespace {

// ---- The layout (twips from the tab strip's corner; 15 twips a pixel) -------

struct TwipRect
{
    int left, top, width, height;
};

// The tab strip's corner in the client area, in pixels.
const QPoint stripCorner(8, 8);

QPoint toClient(int xTwips, int yTwips)
{
    return stripCorner + QPoint(xTwips / 15, yTwips / 15);
}

// Grid columns: viewpoint title, code, keyword, code-keyword, explanation.
constexpr int columnLeft[5] = { 120, 840, 1800, 3000, 4920 };
constexpr int columnWidth[5] = { 615, 855, 1095, 1815, 975 };
constexpr int rowHeight = 375;

// Items per viewpoint, in catalogue order.
constexpr int oldGroups[4] = { 5, 6, 3, 10 };
constexpr int newGroups[4] = { 5, 4, 9, 4 };

// The viewpoints' pane colours as RGB.
constexpr QRgb cyan = 0xC0FFFF, yellow = 0xFFFFC0, green = 0xC0FFC0, red = 0xFFC0C0;
constexpr QRgb oldColours[4] = { cyan, yellow, green, red };
constexpr QRgb newColours[4] = { cyan, yellow, red, green };

const TwipRect text1 { 120, 10320, 5775, 735 };
const TwipRect text2 { 120, 9600, 5775, 735 };
// Label1 and Label2 stand at (2400, 11160), 3615 x 255: a point on the text.
const QPoint labelPoint = toClient(2400 + 450, 11160 + 127);

enum class PaneEffect { Shows, Blanks, Leaves };

struct ButtonSpot
{
    int tab;
    TwipRect rect;
    PaneEffect effect;
    QRgb colour; // for Shows
};

// Where button n stands and what it does to its tab's pane.
ButtonSpot spotOf(int n)
{
    if (n == 193)
        return { 1, { 120, 10440, 1935, 975 }, PaneEffect::Leaves, 0 };
    const bool old = n <= 100;
    const int items = old ? 24 : 22;
    const int *groups = old ? oldGroups : newGroups;
    const int k = old ? n : n - 100;
    const int column = (k - 1) / items; // 0..3 the item columns, 4 the titles
    auto top = [](int p, int g) { return 960 + 360 * (p - 1) + 120 * (g - 1); };

    if (column < 4) {
        const int p = k - column * items;
        int g = 0;
        for (int last = groups[0]; p > last; last += groups[++g]) {
        }
        return { old ? 0 : 1, { columnLeft[column + 1], top(p, g + 1), columnWidth[column + 1], rowHeight },
                 PaneEffect::Shows, (old ? oldColours : newColours)[g] };
    }
    const int v = k - 4 * items;
    int first = 1;
    for (int g = 0; g < v - 1; ++g)
        first += groups[g];
    return { old ? 0 : 1, { columnLeft[0], top(first, v), columnWidth[0], 360 * (groups[v - 1] - 1) + rowHeight },
             PaneEffect::Blanks, 0 };
}

QPoint centre(const TwipRect &r)
{
    return toClient(r.left + r.width / 2, r.top + r.height / 2);
}

// Texts known word for word without the catalogue; these buttons are
// expected to copy them.
QString expectedText(int n)
{
    static const QHash<int, QString> known {
        { 10, "2-(5)" }, // its caption has a trailing space, its text none
        { 13, "3-(2)" },
        { 25, "望ましい生活習慣、心身の健康､節度節制" },
        { 32, "友情・信頼" },
        { 74, "より高い目標を目指し、希望と勇気をもって着実にやり抜く強い意志をもつ｡" },
        { 97, "１　主として自分自身に関すること" },
        { 151, "B-(7) 礼儀" },
        { 173, "礼儀の意義を理解し、時と場に応じた適切な言動をとること。" },
        { 190, "Ｂ　主として人との関わりに関すること" },
        { 193, "特別の教科　道徳" },
    };
    return known.value(n, Binding::forButton(n)->copyText());
}

// Clipboard targets that carry text, or describe the selection itself.
const QStringList textTargets { "TARGETS",     "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS",
                                "UTF8_STRING", "STRING",   "TEXT",      "COMPOUND_TEXT",
                                "text/plain",  "text/plain;charset=utf-8" };

// ---- Running the X tools -------------------------------------------------------

struct Run
{
    int code = -1; // -1: did not start or did not finish in time
    QByteArray out;
};

Run run(const QString &program, const QStringList &args, int timeoutMs = 10000)
{
    QProcess p;
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    Run r;
    if (!p.waitForStarted(timeoutMs))
        return r;
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    return r;
}

// Polls check() until it holds or the time is up.
template<typename Check>
bool poll(Check check, int timeoutMs = 3000, int pauseMs = 2)
{
    QElapsedTimer timer;
    timer.start();
    do {
        if (check())
            return true;
        QThread::msleep(pauseMs);
    } while (timer.elapsed() < timeoutMs);
    return false;
}

std::optional<QByteArray> clipboard(const QString &target)
{
    const Run r = run("xclip", { "-selection", "clipboard", "-o", "-t", target }, 3000);
    return r.code == 0 ? std::optional(r.out) : std::nullopt;
}

std::optional<QString> clipboardText()
{
    const auto data = clipboard("UTF8_STRING");
    return data ? std::optional(QString::fromUtf8(*data)) : std::nullopt;
}

QStringList clipboardTargets()
{
    return QString::fromLatin1(clipboard("TARGETS").value_or(QByteArray()))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString describe(const std::optional<QString> &text)
{
    return text ? QLatin1Char('"') + *text + QLatin1Char('"') : QStringLiteral("(nothing)");
}

QString hex(QRgb c)
{
    return QStringLiteral("#%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

// The part of the screen in r, or a null image.
QImage grab(const QRect &r)
{
    const QString crop = QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
    const Run shot = run("import", { "-window", "root", "-crop", crop, "-depth", "8", "rgb:-" });
    if (shot.code != 0 || shot.out.size() != r.width() * r.height() * 3)
        return {};
    return QImage(reinterpret_cast<const uchar *>(shot.out.constData()), r.width(), r.height(), r.width() * 3,
                  QImage::Format_RGB888)
            .copy();
}

} // namespace

class DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void windowStandsAtItsPlace();
    void windowAsksToStayOnTop();
    void opensOnSecondTabWithBlankPane();
    void clipboardOffersTextOnly();
    void buttonReplacesPicture();
    void label2ClickBlanksText2();
    void tabSwitchBlanksBothPanes();
    void label1ClickBlanksText1();
    void everyButton_data();
    void everyButton();
    void subjectTitleLeavesPane();
    void staysAboveActivatedWindow();
    void closingKeepsCopiedText();
    void closingLeavesOtherProgramsText();

private:
    bool launch(QProcess &program, const QString &logName);
    bool findWindow(const QProcess &program, QString *window);
    QRect clientGeometry(const QString &window);
    bool clickAt(QPoint client);
    bool selectTab(int tab);
    bool ensureTab(int tab) { return m_tab == tab || selectTab(tab); }
    bool putForeign(const QByteArray &data, const QString &target = "UTF8_STRING");
    QRgb paneColour(const TwipRect &pane);
    void screenshot(const QString &name);
    QString programGone() const;

    QString m_brevant;
    QDir m_artifacts;
    QTemporaryDir m_scratch;
    QProcess m_program;
    QProcess m_manager;
    QString m_window;
    QPoint m_origin; // the client area's corner on the screen
    int m_tab = 1;
    QRgb m_blank = 0;
    int m_foreign = 0;
    int m_buttonFailures = 0;
    bool m_closed = false; // the program was closed on purpose
};

// ---- Helpers ---------------------------------------------------------------------

bool DesktopTest::launch(QProcess &program, const QString &logName)
{
    program.setStandardOutputFile(m_artifacts.filePath(logName), QIODevice::Append);
    program.setStandardErrorFile(m_artifacts.filePath(logName), QIODevice::Append);
    program.start(m_brevant, {});
    return program.waitForStarted(10000);
}

bool DesktopTest::findWindow(const QProcess &program, QString *window)
{
    const Run found = run("xdotool", { "search", "--sync", "--onlyvisible", "--name", "^Sorelin$" }, 30000);
    // Of the windows called so, the one that belongs to this process.
    const QStringList ids = QString::fromLatin1(found.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        if (run("xdotool", { "getwindowpid", id }).out.trimmed().toLongLong() == program.processId()) {
            *window = id;
            m_origin = clientGeometry(id).topLeft();
            m_tab = 1;
            return true;
        }
    }
    return false;
}

// Closes the window as its close box does: the window manager sends it
// WM_DELETE_WINDOW.
static bool closeWindow(QProcess &program, const QString &window)
{
    return run("wmctrl", { "-i", "-c", window }).code == 0 && program.waitForFinished(15000);
}

QRect DesktopTest::clientGeometry(const QString &window)
{
    const QString info = QString::fromLatin1(run("xwininfo", { "-id", window }).out);
    auto field = [&](const QString &name) {
        const QRegularExpressionMatch m = QRegularExpression(name + ":\\s*(-?\\d+)").match(info);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
}

bool DesktopTest::clickAt(QPoint client)
{
    const QPoint p = m_origin + client;
    return run("xdotool", { "mousemove", "--sync", QString::number(p.x()), QString::number(p.y()), "click", "1" })
                   .code
            == 0;
}

bool DesktopTest::selectTab(int tab)
{
    // The tabs share the strip's top 43 pixels, tab 0 on the left half of
    // its 409 pixels and tab 1 on the right half. A switch shows in the page.
    const QRect page(m_origin + stripCorner + QPoint(0, 50), QSize(409, 700));
    const QImage before = grab(page);
    if (before.isNull() || !clickAt(stripCorner + QPoint(tab == 0 ? 102 : 307, 20)))
        return false;
    if (!poll([&] {
            const QImage now = grab(page);
            return !now.isNull() && now != before;
        }, 5000, 20))
        return false;
    m_tab = tab;
    return true;
}

bool DesktopTest::putForeign(const QByteArray &data, const QString &target)
{
    // xclip serves the data from a child process of its own until another
    // owner takes the clipboard; the child takes it a moment after the parent
    // has ended.
    QFile file(m_scratch.filePath(QStringLiteral("foreign-%1").arg(++m_foreign)));
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return false;
    file.close();
    QProcess xclip;
    xclip.setStandardOutputFile(QProcess::nullDevice());
    xclip.setStandardErrorFile(QProcess::nullDevice());
    xclip.start("xclip", { "-selection", "clipboard", "-t", target, "-i", file.fileName() });
    return xclip.waitForFinished(5000) && xclip.exitCode() == 0
            && poll([&] { return clipboard(target) == data; }, 5000, 5);
}

QRgb DesktopTest::paneColour(const TwipRect &pane)
{
    // The commonest colour of the pane's inside, clear of its frame: the
    // text covers less of it than the background does.
    const QRect inside(m_origin + toClient(pane.left, pane.top) + QPoint(4, 4),
                       QSize(pane.width / 15 - 8, pane.height / 15 - 8));
    const QImage image = grab(inside);
    QHash<QRgb, int> count;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++count[image.pixel(x, y) & 0xFFFFFF];
    QRgb best = 0;
    for (auto it = count.cbegin(); it != count.cend(); ++it)
        if (it.value() > count.value(best))
            best = it.key();
    return best;
}

void DesktopTest::screenshot(const QString &name)
{
    run("import", { "-window", "root", m_artifacts.filePath(name + ".png") });
}

QString DesktopTest::programGone() const
{
    if (m_program.state() == QProcess::Running || m_closed)
        return {};
    return QStringLiteral(" (the program has ended: %1 %2)")
            .arg(m_program.exitStatus() == QProcess::CrashExit ? QStringLiteral("crashed") : QStringLiteral("exit code"))
            .arg(m_program.exitCode());
}

#define CLICK_BUTTON(n) QVERIFY2(clickAt(centre(spotOf(n).rect)), "xdotool could not click")

#define EXPECT_CLIPBOARD(text)                                                                         \
    do {                                                                                               \
        std::optional<QString> seen_;                                                                  \
        QVERIFY2(poll([&] { return (seen_ = clipboardText()) == (text); }),                            \
                 qPrintable(QStringLiteral("clipboard holds %1, expected \"%2\"%3")                    \
                                    .arg(describe(seen_), (text), programGone())));                    \
    } while (false)

#define EXPECT_PANE(pane, colour)                                                                      \
    do {                                                                                               \
        QRgb seen_ = 0;                                                                                \
        QVERIFY2(poll([&] { return (seen_ = paneColour(pane)) == (colour); }, 3000, 10),               \
                 qPrintable(QStringLiteral(#pane " shows %1, expected %2").arg(hex(seen_), hex(colour)))); \
    } while (false)

// Another program's text on the clipboard; a click that leaves the clipboard
// alone leaves it there.
#define EXPECT_CLIPBOARD_UNTOUCHED_BY(action)                                                          \
    do {                                                                                               \
        const QString mine_ = QStringLiteral("他のプログラム%1").arg(m_foreign);                       \
        QVERIFY2(putForeign(mine_.toUtf8()), "xclip could not take the clipboard");                  \
        QVERIFY(action);                                                                               \
        QThread::msleep(200);                                                                          \
        QCOMPARE(describe(clipboardText()), describe(mine_));                                          \
    } while (false)

// ---- Start and end -----------------------------------------------------------------

void DesktopTest::initTestCase()
{
    m_brevant = qEnvironmentVariable("SORELIN_BREVANT");
    m_artifacts.setPath(qEnvironmentVariable("SORELIN_ARTIFACTS", QDir::currentPath()));
    QVERIFY2(QFileInfo(m_brevant).isExecutable(), "SORELIN_BREVANT does not name the program");
    QVERIFY(m_artifacts.mkpath("."));
    QVERIFY(m_scratch.isValid());
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "no DISPLAY");
    for (const QString tool : { "xdotool", "xclip", "xwininfo", "xprop", "import", "wmctrl", "parcellite", "xmessage" })
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), qPrintable(tool));

    QVERIFY2(launch(m_program, "brevant.log"), "the program did not start");
    QVERIFY2(findWindow(m_program, &m_window), "no window called Sorelin of the program appeared");

    // The first paint is done once the pane's inside keeps one colour.
    QRgb previous = 1;
    poll([&] {
        const QRgb now = paneColour(text2);
        return std::exchange(previous, now) == now && now != 0;
    }, 10000, 100);
    m_blank = previous;
    screenshot("start");
}

void DesktopTest::cleanup()
{
    if (!QTest::currentTestFailed())
        return;
    QString name = QTest::currentTestFunction();
    if (QTest::currentDataTag()) {
        name += '-';
        name += QTest::currentDataTag();
        ++m_buttonFailures;
    }
    screenshot("failed-" + name);
}

void DesktopTest::cleanupTestCase()
{
    screenshot("end");
    for (QProcess *p : { &m_program, &m_manager }) {
        p->kill();
        p->waitForFinished(5000);
    }
}

// ---- The window --------------------------------------------------------------------

void DesktopTest::windowStandsAtItsPlace()
{
    QCOMPARE(clientGeometry(m_window), QRect(50, 72, 424, 784));
}

void DesktopTest::windowAsksToStayOnTop()
{
    const Run state = run("xprop", { "-id", m_window, "_NET_WM_STATE" });
    QVERIFY2(state.out.contains("_NET_WM_STATE_ABOVE"), state.out.constData());
}

void DesktopTest::opensOnSecondTabWithBlankPane()
{
    // Text2 starts in the system's window-background colour, which every
    // blanked pane shows from here on.
    qInfo("blank pane colour: %s", qPrintable(hex(m_blank)));
    for (QRgb viewpointColour : newColours)
        QVERIFY2(m_blank != viewpointColour, qPrintable(hex(m_blank)));

    // No tab has been clicked: a button of tab 1 is under the mouse.
    CLICK_BUTTON(193);
    EXPECT_CLIPBOARD(expectedText(193));
    QCOMPARE(hex(paneColour(text2)), hex(m_blank));
}

// ---- The clipboard -----------------------------------------------------------------

void DesktopTest::clipboardOffersTextOnly()
{
    QVERIFY(ensureTab(1));
    CLICK_BUTTON(173);
    EXPECT_CLIPBOARD(expectedText(173));
    const QStringList targets = clipboardTargets();
    QVERIFY2(targets.contains("UTF8_STRING"), qPrintable(targets.join(' ')));
    for (const QString &target : targets)
        QVERIFY2(textTargets.contains(target), qPrintable("offered: " + target));
}

void DesktopTest::buttonReplacesPicture()
{
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "PNG"));
    QVERIFY2(putForeign(png, "image/png"), "could not put a picture on the clipboard");

    QVERIFY(ensureTab(1));
    CLICK_BUTTON(190);
    EXPECT_CLIPBOARD(expectedText(190));
    const QStringList targets = clipboardTargets();
    for (const QString &target : targets)
        QVERIFY2(textTargets.contains(target), qPrintable("offered: " + target));
}

// ---- Labels and tabs blank the panes, never the clipboard ----------------------------

void DesktopTest::label2ClickBlanksText2()
{
    QVERIFY(ensureTab(1));
    CLICK_BUTTON(110); // C-(10)
    EXPECT_CLIPBOARD(expectedText(110));
    EXPECT_PANE(text2, red);

    EXPECT_CLIPBOARD_UNTOUCHED_BY(clickAt(labelPoint));
    EXPECT_PANE(text2, m_blank);
}

void DesktopTest::tabSwitchBlanksBothPanes()
{
    QVERIFY(ensureTab(1));
    CLICK_BUTTON(119); // D-(19)
    EXPECT_CLIPBOARD(expectedText(119));
    EXPECT_PANE(text2, green);

    EXPECT_CLIPBOARD_UNTOUCHED_BY(selectTab(0));
    EXPECT_PANE(text1, m_blank);
    screenshot("tab0");

    CLICK_BUTTON(1); // 1-(1)
    EXPECT_CLIPBOARD(expectedText(1));
    EXPECT_PANE(text1, cyan);

    // Text2 was left showing D-(19), Text1 shows 1-(1): one switch blanks both.
    EXPECT_CLIPBOARD_UNTOUCHED_BY(selectTab(1));
    EXPECT_PANE(text2, m_blank);
    QVERIFY(selectTab(0));
    EXPECT_PANE(text1, m_blank);
}

void DesktopTest::label1ClickBlanksText1()
{
    QVERIFY(ensureTab(0));
    CLICK_BUTTON(13); // 3-(2)
    EXPECT_CLIPBOARD(expectedText(13));
    EXPECT_PANE(text1, green);
    screenshot("text1-shows-3-2");

    EXPECT_CLIPBOARD_UNTOUCHED_BY(clickAt(labelPoint));
    EXPECT_PANE(text1, m_blank);
}

// ---- Every button --------------------------------------------------------------------

void DesktopTest::everyButton_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    // Tab 0's buttons come first, so that the tab changes once.
    for (int n = 1; n <= Binding::buttonCount; ++n)
        QTest::addRow("Command%d", n) << n << expectedText(n);
}

void DesktopTest::everyButton()
{
    QFETCH(int, number);
    QFETCH(QString, text);
    // A program that gets most buttons wrong would take minutes of timeouts.
    if (m_buttonFailures >= 10)
        QSKIP("ten buttons have failed already");

    const ButtonSpot spot = spotOf(number);
    QVERIFY2(ensureTab(spot.tab), "could not select the button's tab");
    // A text that is on the clipboard already would not show the click.
    if (clipboardText() == text)
        QVERIFY(putForeign("前のボタン"));

    QVERIFY2(clickAt(centre(spot.rect)), "xdotool could not click");
    EXPECT_CLIPBOARD(text);
    const TwipRect &pane = spot.tab == 0 ? text1 : text2;
    if (spot.effect == PaneEffect::Shows)
        EXPECT_PANE(pane, spot.colour);
    else if (spot.effect == PaneEffect::Blanks)
        EXPECT_PANE(pane, m_blank);
}

void DesktopTest::subjectTitleLeavesPane()
{
    QVERIFY(ensureTab(1));
    CLICK_BUTTON(122); // D-(22)
    EXPECT_CLIPBOARD(expectedText(122));
    EXPECT_PANE(text2, green);
    CLICK_BUTTON(193);
    EXPECT_CLIPBOARD(expectedText(193));
    QThread::msleep(300); // a repaint, if any, comes right after the click
    QCOMPARE(hex(paneColour(text2)), hex(green));
}

// ---- Topmost ---------------------------------------------------------------------------

void DesktopTest::staysAboveActivatedWindow()
{
    // Another application's window over the whole program, made active.
    QProcess other;
    other.start("xmessage", { "-title", "SorelinNeighbour", "-geometry", "600x900+0+0", "another window" });
    const auto stop = qScopeGuard([&] {
        other.kill();
        other.waitForFinished(5000);
    });
    const Run found = run("xdotool", { "search", "--sync", "--onlyvisible", "--name", "^SorelinNeighbour$" }, 20000);
    QVERIFY2(found.code == 0, "the other window did not appear");
    const QString otherWindow = QString::fromLatin1(found.out).section(QLatin1Char('\n'), 0, 0);
    QCOMPARE(run("xdotool", { "windowactivate", "--sync", otherWindow }).code, 0);

    // The window manager's stacking order, bottom to top.
    const Run stacking = run("xprop", { "-root", "_NET_CLIENT_LIST_STACKING" });
    QList<qulonglong> order;
    for (auto it = QRegularExpression("0x[0-9a-f]+").globalMatch(QString::fromLatin1(stacking.out)); it.hasNext();)
        order << it.next().captured().toULongLong(nullptr, 16);
    const qsizetype mine = order.indexOf(m_window.toULongLong());
    const qsizetype theirs = order.indexOf(otherWindow.toULongLong());
    QVERIFY2(mine >= 0 && theirs >= 0, stacking.out.constData());
    QVERIFY2(mine > theirs, "the program went below the activated window");

    // The mouse still reaches the program where the windows overlap.
    QVERIFY(ensureTab(1));
    CLICK_BUTTON(101);
    EXPECT_CLIPBOARD(expectedText(101));
}

// ---- Closing -----------------------------------------------------------------------------

void DesktopTest::closingKeepsCopiedText()
{
    // A clipboard manager (parcellite) keeps the last text once its owner
    // has gone. It starts only now: it also puts its last text back whenever
    // the clipboard is empty, and so can step in between the Clear and the
    // SetText of a click, which would make the clicks above flaky.
    m_manager.setStandardOutputFile(m_artifacts.filePath("parcellite.log"));
    m_manager.setStandardErrorFile(m_artifacts.filePath("parcellite.log"));
    m_manager.start("parcellite", { "-n" });
    QVERIFY(m_manager.waitForStarted(10000));
    QVERIFY2(run("xdotool", { "search", "--sync", "--pid", QString::number(m_manager.processId()) }, 20000).code == 0,
             "the clipboard manager did not come up");

    QVERIFY(ensureTab(1));
    CLICK_BUTTON(188);
    const QString text = expectedText(188);
    EXPECT_CLIPBOARD(text);
    QVERIFY2(m_program.state() == QProcess::Running, "the program ended before it was closed");
    screenshot("before-close");

    // The manager has taken note of the text once it is in its history.
    QFile history(QDir::home().filePath(".local/share/parcellite/history"));
    QVERIFY2(poll([&] {
                 const bool found = history.open(QIODevice::ReadOnly) && history.readAll().contains(text.toUtf8());
                 history.close();
                 return found;
             }, 10000, 50),
             "the clipboard manager did not take note of the text");

    m_closed = true;
    QVERIFY2(closeWindow(m_program, m_window), "the program did not end when its window was closed");
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program.exitCode(), 0);
    EXPECT_CLIPBOARD(text);
}

void DesktopTest::closingLeavesOtherProgramsText()
{
    // Without a manager a closing owner takes its text with it (X11 works
    // so); a text that another program owns stays.
    m_manager.terminate();
    QVERIFY(m_manager.waitForFinished(10000));

    QProcess second;
    const auto stop = qScopeGuard([&] {
        second.kill();
        second.waitForFinished(5000);
    });
    QVERIFY(launch(second, "brevant-2.log"));
    QString window;
    QVERIFY2(findWindow(second, &window), "no window after the second start");
    const QRect place = clientGeometry(window);

    CLICK_BUTTON(102); // tab 1 again
    EXPECT_CLIPBOARD(expectedText(102));
    EXPECT_CLIPBOARD_UNTOUCHED_BY(closeWindow(second, window));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(place, QRect(50, 72, 424, 784));
}

QTEST_GUILESS_MAIN(DesktopTest)

#include "tst_desktop.moc"
