// End-to-end test of Brevant on a real X11 desktop: it starts the program,
// clicks its controls with the mouse (xdotool), reads the clipboard as another
// program would (xclip) and reads the panes' colours from screenshots (import).
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
#include <QFile>
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

namespace {

// ---- The layout ------------------------------------------------------------

constexpr double twipsPerPixel = 15.0;
// The tab strip's corner in the window's client area, in pixels.
constexpr int stripLeft = 8;
constexpr int stripTop = 8;

struct TwipRect
{
    int left, top, width, height;
};

// Grid columns: viewpoint title, code, keyword, code-keyword, explanation.
constexpr int columnLeft[5] = { 120, 840, 1800, 3000, 4920 };
constexpr int columnWidth[5] = { 615, 855, 1095, 1815, 975 };
constexpr int rowHeight = 375;

// Items per viewpoint, in catalogue order.
constexpr int oldGroups[4] = { 5, 6, 3, 10 };
constexpr int newGroups[4] = { 5, 4, 9, 4 };

// Pane colours per viewpoint as the window tables write them, 0xBBGGRR.
constexpr quint32 oldPaneColours[4] = { 0xFFFFC0, 0xC0FFFF, 0xC0FFC0, 0xC0C0FF };
constexpr quint32 newPaneColours[4] = { 0xFFFFC0, 0xC0FFFF, 0xC0C0FF, 0xC0FFC0 };

QRgb rgbOf(quint32 bgr)
{
    return qRgb(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

const TwipRect text1 { 120, 10320, 5775, 735 };
const TwipRect text2 { 120, 9600, 5775, 735 };
const TwipRect label1 { 2400, 11160, 3615, 255 }; // Label2 stands at the same place
const TwipRect subjectButton { 120, 10440, 1935, 975 };

int rowTop(int p, int g)
{
    return 960 + 360 * (p - 1) + 120 * (g - 1);
}

enum class PaneEffect { Shows, Blanks, Leaves };

struct ButtonSpot
{
    int tab = 1;
    TwipRect rect {};
    PaneEffect effect = PaneEffect::Leaves;
    QRgb colour = 0; // for Shows
};

// Where button n stands and what it does to its tab's pane.
ButtonSpot spotOf(int n)
{
    if (n == 193)
        return { 1, subjectButton, PaneEffect::Leaves, 0 };
    const bool old = n <= 100;
    const int items = old ? 24 : 22;
    const int *groups = old ? oldGroups : newGroups;
    const quint32 *colours = old ? oldPaneColours : newPaneColours;
    const int k = n - (old ? 0 : 100);
    const int column = (k - 1) / items; // 0..3 item columns, 4 the titles
    const int tab = old ? 0 : 1;

    if (column < 4) {
        const int p = k - column * items;
        int g = 0, last = 0;
        while (p > last + groups[g])
            last += groups[g++];
        return { tab, { columnLeft[column + 1], rowTop(p, g + 1), columnWidth[column + 1], rowHeight },
                 PaneEffect::Shows, rgbOf(colours[g]) };
    }
    const int v = k - 4 * items; // 1..4
    int first = 1;
    for (int g = 0; g < v - 1; ++g)
        first += groups[g];
    const int height = 360 * (groups[v - 1] - 1) + rowHeight;
    return { tab, { columnLeft[0], rowTop(first, v), columnWidth[0], height }, PaneEffect::Blanks, 0 };
}

// Texts quoted word for word in the program's documentation; where a button
// has one, the test expects it instead of the catalogue's text.
const QHash<int, QString> &quotedTexts()
{
    static const QHash<int, QString> quotes {
        { 10, QStringLiteral("2-(5)") },
        { 13, QStringLiteral("3-(2)") },
        { 25, QStringLiteral("望ましい生活習慣、心身の健康､節度節制") },
        { 32, QStringLiteral("友情・信頼") },
        { 49, QStringLiteral("1-(1) 望ましい生活習慣、心身の健康､節度節制") },
        { 74, QStringLiteral("より高い目標を目指し、希望と勇気をもって着実にやり抜く強い意志をもつ｡") },
        { 78, QStringLiteral("礼儀の意義を理解し、時と場に応じた適切な言動をとる。") },
        { 84, QStringLiteral("生命の尊さを理解し、かけがえのない自他の生命を尊重する。") },
        { 97, QStringLiteral("１　主として自分自身に関すること") },
        { 99, QStringLiteral("３　主として自然や崇高なものとのかかわりに関すること") },
        { 107, QStringLiteral("B-(7)") },
        { 129, QStringLiteral("礼儀") },
        { 151, QStringLiteral("B-(7) 礼儀") },
        { 166, QStringLiteral("D-(22) よりよく生きる喜び") },
        { 171, QStringLiteral("真実を大切にし、真理を探究して新しいものを生み出そうと努めること。") },
        { 173, QStringLiteral("礼儀の意義を理解し、時と場に応じた適切な言動をとること。") },
        { 185, QStringLiteral("生命の尊さについて、その連続性や有限性なども含めて理解し、かけがえのない生命を尊重すること。") },
        { 190, QStringLiteral("Ｂ　主として人との関わりに関すること") },
        { 192, QStringLiteral("Ｄ　主として生命や自然、崇高なものとの関わりに関すること") },
        { 193, QStringLiteral("特別の教科　道徳") },
    };
    return quotes;
}

QString expectedText(int n)
{
    const auto quote = quotedTexts().constFind(n);
    if (quote != quotedTexts().cend())
        return *quote;
    return Binding::forButton(n)->copyText();
}

// Clipboard targets that carry text, or describe the selection itself.
const QStringList textTargets {
    QStringLiteral("TARGETS"), QStringLiteral("MULTIPLE"), QStringLiteral("TIMESTAMP"),
    QStringLiteral("SAVE_TARGETS"), QStringLiteral("UTF8_STRING"), QStringLiteral("STRING"),
    QStringLiteral("TEXT"), QStringLiteral("COMPOUND_TEXT"), QStringLiteral("text/plain"),
    QStringLiteral("text/plain;charset=utf-8"),
};

// ---- Running the X tools -----------------------------------------------------

struct Run
{
    int code = -1; // -1: did not finish in time, or did not start
    QByteArray out;
    QByteArray err;
};

Run run(const QString &program, const QStringList &args, int timeoutMs = 10000)
{
    QProcess p;
    p.start(program, args);
    Run r;
    if (!p.waitForStarted(timeoutMs)) {
        r.err = p.errorString().toUtf8();
        return r;
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        r.err = "timed out";
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString describe(const std::optional<QString> &text)
{
    return text ? QLatin1Char('"') + *text + QLatin1Char('"') : QStringLiteral("(nothing)");
}

QString hex(QRgb c)
{
    return QStringLiteral("#%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0'));
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
    void closingWithoutManager();
    void closingLeavesOtherProgramsText();

private:
    // The program
    bool launch(QProcess &program, const QString &logName);
    bool findWindow(QProcess &program, QString *window);
    bool closeWindow(QProcess &program, const QString &window);
    QRect clientGeometry(const QString &window);

    // Mouse
    bool clickAt(QPoint client);
    bool clickTwips(const TwipRect &r) { return clickAt(centre(r)); }
    static QPoint centre(const TwipRect &r);
    bool selectTab(int tab);
    bool ensureTab(int tab) { return m_tab == tab || selectTab(tab); }

    // Clipboard
    std::optional<QString> clipboardText();
    QStringList clipboardTargets();
    bool waitClipboard(const QString &expected, int timeoutMs, std::optional<QString> *seen);
    bool putForeign(const QByteArray &data, const QString &target);
    bool putForeignText(const QString &text) { return putForeign(text.toUtf8(), QStringLiteral("UTF8_STRING")); }

    // Screen
    QImage grab(const QRect &screenRect);
    QRgb paneColour(const TwipRect &pane);
    bool waitPane(const TwipRect &pane, QRgb expected, int timeoutMs, QRgb *seen);
    void screenshot(const QString &name);

    QString m_brevant;
    QDir m_artifacts;
    QTemporaryDir m_scratch;
    QProcess m_program;
    QProcess m_manager;
    QString m_window;
    QPoint m_origin; // the client area's corner on the screen
    int m_tab = 1;
    QRgb m_blank = 0;
    int m_sentinels = 0;
};

// ---- Helpers -----------------------------------------------------------------

bool DesktopTest::launch(QProcess &program, const QString &logName)
{
    program.setProgram(m_brevant);
    program.setStandardOutputFile(m_artifacts.filePath(logName), QIODevice::Append);
    program.setStandardErrorFile(m_artifacts.filePath(logName), QIODevice::Append);
    program.start();
    return program.waitForStarted(10000);
}

bool DesktopTest::findWindow(QProcess &program, QString *window)
{
    const Run found = run(QStringLiteral("xdotool"),
                          { QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                            QStringLiteral("--name"), QStringLiteral("^Sorelin$") },
                          30000);
    if (found.code != 0)
        return false;
    // Of the windows called so, the one that belongs to this process.
    const QStringList ids = QString::fromLatin1(found.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        const Run pid = run(QStringLiteral("xdotool"), { QStringLiteral("getwindowpid"), id });
        if (pid.code == 0 && pid.out.trimmed().toLongLong() == program.processId()) {
            *window = id;
            return true;
        }
    }
    return false;
}

bool DesktopTest::closeWindow(QProcess &program, const QString &window)
{
    // The window manager's close request, as its close box sends it.
    const Run closed = run(QStringLiteral("wmctrl"), { QStringLiteral("-i"), QStringLiteral("-c"), window });
    return closed.code == 0 && program.waitForFinished(15000);
}

QRect DesktopTest::clientGeometry(const QString &window)
{
    const Run info = run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), window });
    const QString text = QString::fromLatin1(info.out);
    auto field = [&](const char *name) {
        const QRegularExpression re(QStringLiteral("%1:\\s*(-?\\d+)").arg(QLatin1String(name)));
        const QRegularExpressionMatch m = re.match(text);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
}

QPoint DesktopTest::centre(const TwipRect &r)
{
    return QPoint(stripLeft + int((r.left + r.width / 2.0) / twipsPerPixel),
                  stripTop + int((r.top + r.height / 2.0) / twipsPerPixel));
}

bool DesktopTest::clickAt(QPoint client)
{
    const QPoint p = m_origin + client;
    const Run r = run(QStringLiteral("xdotool"),
                      { QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(p.x()),
                        QString::number(p.y()), QStringLiteral("click"), QStringLiteral("1") });
    return r.code == 0;
}

bool DesktopTest::selectTab(int tab)
{
    // The two tabs share the top 43 pixels of the strip, tab 0 on the left
    // half and tab 1 on the right half of its 409 pixels.
    const QRect page(m_origin + QPoint(stripLeft, stripTop + 50), QSize(409, 700));
    const QImage before = grab(page);
    if (before.isNull() || !clickAt(QPoint(stripLeft + (tab == 0 ? 102 : 307), stripTop + 20)))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
        const QImage now = grab(page);
        if (!now.isNull() && now != before) {
            m_tab = tab;
            return true;
        }
        QThread::msleep(20);
    }
    return false;
}

std::optional<QString> DesktopTest::clipboardText()
{
    const Run r = run(QStringLiteral("xclip"),
                      { QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o"),
                        QStringLiteral("-t"), QStringLiteral("UTF8_STRING") },
                      3000);
    if (r.code != 0)
        return std::nullopt;
    return QString::fromUtf8(r.out);
}

QStringList DesktopTest::clipboardTargets()
{
    const Run r = run(QStringLiteral("xclip"),
                      { QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o"),
                        QStringLiteral("-t"), QStringLiteral("TARGETS") },
                      3000);
    if (r.code != 0)
        return {};
    return QString::fromLatin1(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool DesktopTest::waitClipboard(const QString &expected, int timeoutMs, std::optional<QString> *seen)
{
    QElapsedTimer timer;
    timer.start();
    do {
        *seen = clipboardText();
        if (*seen == expected)
            return true;
        QThread::msleep(2);
    } while (timer.elapsed() < timeoutMs);
    return false;
}

bool DesktopTest::putForeign(const QByteArray &data, const QString &target)
{
    // xclip keeps serving the data from a child process of its own until
    // another owner takes the clipboard.
    const QString file = m_scratch.filePath(QStringLiteral("foreign-%1").arg(++m_sentinels));
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        return false;
    f.close();
    QProcess xclip;
    xclip.setStandardOutputFile(QProcess::nullDevice());
    xclip.setStandardErrorFile(QProcess::nullDevice());
    xclip.start(QStringLiteral("xclip"),
                { QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"), target,
                  QStringLiteral("-i"), file });
    if (!xclip.waitForFinished(5000) || xclip.exitCode() != 0)
        return false;
    // The child takes the selection a moment after its parent has gone.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
        const Run r = run(QStringLiteral("xclip"),
                          { QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o"),
                            QStringLiteral("-t"), target },
                          3000);
        if (r.code == 0 && r.out == data)
            return true;
        QThread::msleep(5);
    }
    return false;
}

QImage DesktopTest::grab(const QRect &r)
{
    const Run shot = run(QStringLiteral("import"),
                         { QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
                           QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()),
                           QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("rgb:-") });
    if (shot.code != 0 || shot.out.size() != r.width() * r.height() * 3)
        return {};
    return QImage(reinterpret_cast<const uchar *>(shot.out.constData()), r.width(), r.height(), r.width() * 3,
                  QImage::Format_RGB888)
            .copy();
}

QRgb DesktopTest::paneColour(const TwipRect &pane)
{
    // The pane's inside, clear of its frame; the text covers less of it
    // than the background does.
    const QPoint corner = m_origin + QPoint(stripLeft + int(pane.left / twipsPerPixel) + 4,
                                            stripTop + int(pane.top / twipsPerPixel) + 4);
    const QSize size(int(pane.width / twipsPerPixel) - 8, int(pane.height / twipsPerPixel) - 8);
    const QImage image = grab(QRect(corner, size));
    if (image.isNull())
        return 0;
    QHash<QRgb, int> count;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++count[image.pixel(x, y) & 0xFFFFFF];
    QRgb best = 0;
    int bestCount = -1;
    for (auto it = count.cbegin(); it != count.cend(); ++it) {
        if (it.value() > bestCount) {
            best = it.key();
            bestCount = it.value();
        }
    }
    return best;
}

bool DesktopTest::waitPane(const TwipRect &pane, QRgb expected, int timeoutMs, QRgb *seen)
{
    QElapsedTimer timer;
    timer.start();
    do {
        *seen = paneColour(pane);
        if (*seen == (expected & 0xFFFFFF))
            return true;
        QThread::msleep(10);
    } while (timer.elapsed() < timeoutMs);
    return false;
}

void DesktopTest::screenshot(const QString &name)
{
    run(QStringLiteral("import"),
        { QStringLiteral("-window"), QStringLiteral("root"), m_artifacts.filePath(name + QStringLiteral(".png")) });
}

// Shorthands for the checks below.
#define CLICK_BUTTON(n) QVERIFY2(clickTwips(spotOf(n).rect), "xdotool could not click")

#define EXPECT_CLIPBOARD(text)                                                                            \
    do {                                                                                                  \
        std::optional<QString> seen_;                                                                     \
        QVERIFY2(waitClipboard((text), 3000, &seen_),                                                     \
                 qPrintable(QStringLiteral("clipboard holds %1, expected \"%2\"").arg(describe(seen_), (text)))); \
    } while (false)

#define EXPECT_PANE(pane, colour)                                                                         \
    do {                                                                                                  \
        QRgb seen_ = 0;                                                                                   \
        QVERIFY2(waitPane((pane), (colour), 3000, &seen_),                                                \
                 qPrintable(QStringLiteral(#pane " shows %1, expected %2").arg(hex(seen_), hex(colour)))); \
    } while (false)

// ---- Start and end -------------------------------------------------------------

void DesktopTest::initTestCase()
{
    m_brevant = qEnvironmentVariable("SORELIN_BREVANT");
    m_artifacts.setPath(qEnvironmentVariable("SORELIN_ARTIFACTS", QDir::currentPath()));
    QVERIFY2(QFileInfo(m_brevant).isExecutable(), "SORELIN_BREVANT does not name the program");
    QVERIFY(m_artifacts.mkpath(QStringLiteral(".")));
    QVERIFY(m_scratch.isValid());
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "no DISPLAY");
    for (const char *tool : { "xdotool", "xclip", "xwininfo", "xprop", "import", "wmctrl", "parcellite", "xmessage" })
        QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);

    // A clipboard manager, as a desktop session has one.
    m_manager.setStandardOutputFile(m_artifacts.filePath(QStringLiteral("parcellite.log")));
    m_manager.setStandardErrorFile(m_artifacts.filePath(QStringLiteral("parcellite.log")));
    m_manager.start(QStringLiteral("parcellite"), { QStringLiteral("-n") });
    QVERIFY(m_manager.waitForStarted(10000));
    const Run managerUp = run(QStringLiteral("xdotool"),
                              { QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--pid"),
                                QString::number(m_manager.processId()) },
                              20000);
    QVERIFY2(managerUp.code == 0, "the clipboard manager did not come up");

    QVERIFY2(launch(m_program, QStringLiteral("brevant.log")), "the program did not start");
    QVERIFY2(findWindow(m_program, &m_window), "no window called Sorelin of the program appeared");
    m_origin = clientGeometry(m_window).topLeft();

    // Wait for the first paint: the pane's inside settles on one colour.
    QRgb previous = 1;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        m_blank = paneColour(text2);
        if (m_blank == previous && m_blank != 0)
            break;
        previous = m_blank;
        QThread::msleep(100);
    }
    screenshot(QStringLiteral("start"));
}

void DesktopTest::cleanup()
{
    if (QTest::currentTestFailed()) {
        QString name = QString::fromLatin1(QTest::currentTestFunction());
        if (QTest::currentDataTag())
            name += QLatin1Char('-') + QString::fromLatin1(QTest::currentDataTag());
        screenshot(QStringLiteral("failed-") + name);
    }
}

void DesktopTest::cleanupTestCase()
{
    screenshot(QStringLiteral("end"));
    for (QProcess *p : { &m_program, &m_manager }) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
}

// ---- The window ------------------------------------------------------------------

void DesktopTest::windowStandsAtItsPlace()
{
    QCOMPARE(clientGeometry(m_window), QRect(50, 72, 424, 784));
}

void DesktopTest::windowAsksToStayOnTop()
{
    const Run state = run(QStringLiteral("xprop"), { QStringLiteral("-id"), m_window, QStringLiteral("_NET_WM_STATE") });
    QVERIFY2(state.out.contains("_NET_WM_STATE_ABOVE"), state.out.constData());
}

void DesktopTest::opensOnSecondTabWithBlankPane()
{
    // Text2 starts in the system's window-background colour; that colour is
    // what every blanked pane shows from here on.
    for (int g = 0; g < 4; ++g)
        QVERIFY2(m_blank != rgbOf(newPaneColours[g]), qPrintable(hex(m_blank)));
    qInfo("blank pane colour: %s", qPrintable(hex(m_blank)));

    // No tab has been clicked yet: a tab-1 button is under the mouse.
    CLICK_BUTTON(193);
    EXPECT_CLIPBOARD(QStringLiteral("特別の教科　道徳"));
    QCOMPARE(paneColour(text2), m_blank);
}

// ---- The clipboard ---------------------------------------------------------------

void DesktopTest::clipboardOffersTextOnly()
{
    QVERIFY(ensureTab(1));
    CLICK_BUTTON(173);
    EXPECT_CLIPBOARD(expectedText(173));
    const QStringList targets = clipboardTargets();
    QVERIFY2(targets.contains(QStringLiteral("UTF8_STRING")), qPrintable(targets.join(QLatin1Char(' '))));
    for (const QString &target : targets)
        QVERIFY2(textTargets.contains(target), qPrintable(QStringLiteral("offered: ") + target));
}

void DesktopTest::buttonReplacesPicture()
{
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray png;
    {
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(picture.save(&buffer, "PNG"));
    }
    QVERIFY2(putForeign(png, QStringLiteral("image/png")), "could not put a picture on the clipboard");
    QVERIFY(clipboardTargets().contains(QStringLiteral("image/png")));

    QVERIFY(ensureTab(1));
    CLICK_BUTTON(190);
    EXPECT_CLIPBOARD(expectedText(190));
    const QStringList targets = clipboardTargets();
    QVERIFY2(!targets.contains(QStringLiteral("image/png")), qPrintable(targets.join(QLatin1Char(' '))));
    for (const QString &target : targets)
        QVERIFY2(textTargets.contains(target), qPrintable(QStringLiteral("offered: ") + target));
}

// ---- Labels and tabs blank the panes, never the clipboard --------------------------

void DesktopTest::label2ClickBlanksText2()
{
    QVERIFY(ensureTab(1));
    CLICK_BUTTON(110); // C-(10)
    EXPECT_CLIPBOARD(QStringLiteral("C-(10)"));
    EXPECT_PANE(text2, rgbOf(0xC0C0FF));

    QVERIFY(putForeignText(QStringLiteral("ラベル2の前")));
    QVERIFY(clickAt(QPoint(stripLeft + int(label1.left / twipsPerPixel) + 30,
                           stripTop + int((label1.top + label1.height / 2.0) / twipsPerPixel))));
    EXPECT_PANE(text2, m_blank);
    QCOMPARE(describe(clipboardText()), describe(QStringLiteral("ラベル2の前")));
}

void DesktopTest::tabSwitchBlanksBothPanes()
{
    QVERIFY(ensureTab(1));
    CLICK_BUTTON(119); // D-(19)
    EXPECT_CLIPBOARD(QStringLiteral("D-(19)"));
    EXPECT_PANE(text2, rgbOf(0xC0FFC0));

    QVERIFY(putForeignText(QStringLiteral("タブの前")));
    QVERIFY2(selectTab(0), "the first tab did not come up");
    EXPECT_PANE(text1, m_blank);
    screenshot(QStringLiteral("tab0"));

    CLICK_BUTTON(1); // 1-(1)
    EXPECT_CLIPBOARD(QStringLiteral("1-(1)"));
    EXPECT_PANE(text1, rgbOf(0xFFFFC0));

    // Text2 was left showing D-(19), Text1 shows 1-(1): one switch blanks both.
    QVERIFY(putForeignText(QStringLiteral("タブの後")));
    QVERIFY2(selectTab(1), "the second tab did not come up");
    EXPECT_PANE(text2, m_blank);
    QVERIFY2(selectTab(0), "the first tab did not come up");
    EXPECT_PANE(text1, m_blank);
    QCOMPARE(describe(clipboardText()), describe(QStringLiteral("タブの後")));
}

void DesktopTest::label1ClickBlanksText1()
{
    QVERIFY(ensureTab(0));
    CLICK_BUTTON(13); // 3-(2)
    EXPECT_CLIPBOARD(QStringLiteral("3-(2)"));
    EXPECT_PANE(text1, rgbOf(0xC0FFC0));
    screenshot(QStringLiteral("text1-shows-3-2"));

    QVERIFY(putForeignText(QStringLiteral("ラベル1の前")));
    QVERIFY(clickAt(QPoint(stripLeft + int(label1.left / twipsPerPixel) + 30,
                           stripTop + int((label1.top + label1.height / 2.0) / twipsPerPixel))));
    EXPECT_PANE(text1, m_blank);
    QCOMPARE(describe(clipboardText()), describe(QStringLiteral("ラベル1の前")));
}

// ---- Every button ------------------------------------------------------------------

void DesktopTest::everyButton_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    // Tab 0's buttons first, so that the tab changes once.
    for (int n = 1; n <= Binding::buttonCount; ++n)
        QTest::addRow("Command%d", n) << n << expectedText(n);
}

void DesktopTest::everyButton()
{
    QFETCH(int, number);
    QFETCH(QString, text);
    const ButtonSpot spot = spotOf(number);
    const TwipRect &pane = spot.tab == 0 ? text1 : text2;

    QVERIFY2(ensureTab(spot.tab), "could not select the button's tab");
    // A text that is on the clipboard already would not show the click.
    if (clipboardText() == text)
        QVERIFY(putForeignText(QStringLiteral("前のボタン")));

    QVERIFY2(clickTwips(spot.rect), "xdotool could not click");
    EXPECT_CLIPBOARD(text);
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
    EXPECT_PANE(text2, rgbOf(0xC0FFC0));
    CLICK_BUTTON(193);
    EXPECT_CLIPBOARD(QStringLiteral("特別の教科　道徳"));
    QThread::msleep(300); // a repaint, if any, comes right after the click
    QCOMPARE(hex(paneColour(text2)), hex(rgbOf(0xC0FFC0)));
}

// ---- Topmost -------------------------------------------------------------------------

void DesktopTest::staysAboveActivatedWindow()
{
    // Another application's window over the whole program, made active.
    QProcess other;
    other.start(QStringLiteral("xmessage"),
                { QStringLiteral("-title"), QStringLiteral("SorelinNeighbour"), QStringLiteral("-geometry"),
                  QStringLiteral("600x900+0+0"), QStringLiteral("another window") });
    QVERIFY(other.waitForStarted(5000));
    const auto stop = qScopeGuard([&] {
        other.kill();
        other.waitForFinished(5000);
    });
    const Run found = run(QStringLiteral("xdotool"),
                          { QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                            QStringLiteral("--name"), QStringLiteral("^SorelinNeighbour$") },
                          20000);
    QVERIFY2(found.code == 0, "the other window did not appear");
    const QString otherWindow = QString::fromLatin1(found.out).split(QLatin1Char('\n')).first();
    QCOMPARE(run(QStringLiteral("xdotool"), { QStringLiteral("windowactivate"), QStringLiteral("--sync"), otherWindow }).code, 0);

    const Run stacking = run(QStringLiteral("xprop"), { QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING") });
    QList<qulonglong> order; // bottom to top
    const QRegularExpression ids(QStringLiteral("0x[0-9a-fA-F]+"));
    for (auto it = ids.globalMatch(QString::fromLatin1(stacking.out)); it.hasNext();)
        order << it.next().captured().toULongLong(nullptr, 16);
    const qsizetype mine = order.indexOf(m_window.toULongLong());
    const qsizetype theirs = order.indexOf(otherWindow.toULongLong());
    QVERIFY2(mine >= 0 && theirs >= 0, stacking.out.constData());
    QVERIFY2(mine > theirs, "the program went below the activated window");

    // And the mouse still reaches the program where the windows overlap.
    QVERIFY(ensureTab(1));
    CLICK_BUTTON(101);
    EXPECT_CLIPBOARD(expectedText(101));
}

// ---- Closing ---------------------------------------------------------------------------

void DesktopTest::closingKeepsCopiedText()
{
    QVERIFY(ensureTab(1));
    CLICK_BUTTON(188); // D-(22)'s explanation
    const QString text = expectedText(188);
    EXPECT_CLIPBOARD(text);
    QVERIFY2(m_program.state() == QProcess::Running, "the program ended before it was closed");
    screenshot(QStringLiteral("before-close"));

    // The manager writes each new clipboard text to its history: once it is
    // there, the manager has taken note of it.
    const QString history = QDir::home().filePath(QStringLiteral(".local/share/parcellite/history"));
    QElapsedTimer timer;
    timer.start();
    bool noted = false;
    while (!noted && timer.elapsed() < 10000) {
        QFile f(history);
        noted = f.open(QIODevice::ReadOnly) && f.readAll().contains(text.toUtf8());
        if (!noted)
            QThread::msleep(50);
    }
    QVERIFY2(noted, "the clipboard manager did not take note of the text");

    QVERIFY2(closeWindow(m_program, m_window), "the program did not end when its window was closed");
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program.exitCode(), 0);
    EXPECT_CLIPBOARD(text);
}

void DesktopTest::closingWithoutManager()
{
    m_manager.terminate();
    QVERIFY(m_manager.waitForFinished(10000));

    // A new start opens at the same place on the second tab again.
    QProcess second;
    QVERIFY(launch(second, QStringLiteral("brevant-2.log")));
    QString window;
    QVERIFY2(findWindow(second, &window), "no window after the second start");
    QCOMPARE(clientGeometry(window), QRect(50, 72, 424, 784));
    m_tab = 1;
    CLICK_BUTTON(101);
    EXPECT_CLIPBOARD(expectedText(101));
    QVERIFY(closeWindow(second, window));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    // Without a manager the text goes with its owner; an X11 fact, not the
    // program's doing, so it is reported and not checked.
    QThread::msleep(500);
    qInfo("without a clipboard manager the clipboard holds %s after the program ended",
          qPrintable(describe(clipboardText())));
}

void DesktopTest::closingLeavesOtherProgramsText()
{
    QProcess third;
    QVERIFY(launch(third, QStringLiteral("brevant-3.log")));
    QString window;
    QVERIFY2(findWindow(third, &window), "no window after the third start");
    m_tab = 1;
    CLICK_BUTTON(102);
    EXPECT_CLIPBOARD(expectedText(102));

    // The program owned the clipboard, then another program took it over.
    QVERIFY(putForeignText(QStringLiteral("他のプログラム")));
    QVERIFY(closeWindow(third, window));
    QCOMPARE(third.exitCode(), 0);
    QThread::msleep(300);
    QCOMPARE(describe(clipboardText()), describe(QStringLiteral("他のプログラム")));
}

QTEST_GUILESS_MAIN(DesktopTest)

#include "tst_desktop.moc"
