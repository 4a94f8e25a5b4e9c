// End-to-end test of Brevant on the X server run_desktop.sh provides: it clicks with xdotool, reads
// the clipboard with xclip and the panes' colours with import. Click positions are worked out here
// from the layout in twips; only the texts come from the catalogue library.

#include "binding.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

#include <numeric>
#include <optional>
#include <utility>

namespace {

// The layout: twips from the tab strip's corner, at (8, 8) in the client area; 15 twips a pixel.
const QPoint stripCorner(8, 8);
QPoint toClient(int xTwips, int yTwips) { return stripCorner + QPoint(xTwips / 15, yTwips / 15); }

struct TwipRect { int left, top, width, height; };
// Buttons are clicked a pixel below their top edge, where one placed a few pixels off is missed.
QPoint clickPoint(const TwipRect &r) { return toClient(r.left + r.width / 2, r.top + 15); }

// Tab 0's pane is Text1, tab 1's Text2.
TwipRect paneRect(int tab) { return { 120, tab == 0 ? 10320 : 9600, 5775, 735 }; }

// Label1 and Label2 stand at (2400, 11160), 3615 x 255: a point on their text.
const QPoint labelPoint = toClient(2400 + 450, 11160 + 127);

constexpr QRgb cyan = 0xC0FFFF, yellow = 0xFFFFC0, green = 0xC0FFC0, red = 0xFFC0C0;

enum class Effect { Shows, Blanks, Leaves }; // on the button's tab's pane
struct Spot { int tab; TwipRect rect; Effect effect; QRgb colour; };

Spot spotOf(int n)
{
    if (n == 193)
        return { 1, { 120, 10440, 1935, 975 }, Effect::Leaves, 0 };
    // Columns: viewpoint title, code, keyword, code-keyword, explanation.
    static constexpr int left[5] = { 120, 840, 1800, 3000, 4920 }, width[5] = { 615, 855, 1095, 1815, 975 };
    // Items per viewpoint, in catalogue order, and the viewpoints' colours.
    static constexpr int oldGroups[4] = { 5, 6, 3, 10 }, newGroups[4] = { 5, 4, 9, 4 };
    static constexpr QRgb oldColours[4] = { cyan, yellow, green, red }, newColours[4] = { cyan, yellow, red, green };
    const bool old = n <= 100;
    const int tab = old ? 0 : 1, items = old ? 24 : 22, k = old ? n : n - 100;
    const int *groups = old ? oldGroups : newGroups;
    const int column = (k - 1) / items; // 0..3 the item columns, 4 the titles
    auto top = [](int p, int g) { return 960 + 360 * (p - 1) + 120 * (g - 1); };
    if (column < 4) {
        const int p = k - column * items;
        int g = 0;
        for (int last = groups[0]; p > last;)
            last += groups[++g];
        return { tab, { left[column + 1], top(p, g + 1), width[column + 1], 375 }, Effect::Shows,
                 (old ? oldColours : newColours)[g] };
    }
    const int v = k - 4 * items, first = 1 + std::accumulate(groups, groups + v - 1, 0);
    return { tab, { left[0], top(first, v), width[0], 360 * (groups[v - 1] - 1) + 375 }, Effect::Blanks, 0 };
}

// Texts known word for word without the catalogue.
QString expectedText(int n)
{
    static const QHash<int, QString> known {
        { 10, "2-(5)" }, { 13, "3-(2)" }, // 10's caption has a trailing space, its text none
        { 25, "望ましい生活習慣、心身の健康､節度節制" }, { 32, "友情・信頼" },
        { 74, "より高い目標を目指し、希望と勇気をもって着実にやり抜く強い意志をもつ｡" },
        { 97, "１　主として自分自身に関すること" },
        { 151, "B-(7) 礼儀" }, { 173, "礼儀の意義を理解し、時と場に応じた適切な言動をとること。" },
        { 190, "Ｂ　主として人との関わりに関すること" }, { 193, "特別の教科　道徳" },
    };
    return known.value(n, Binding::forButton(n)->copyText());
}

// Clipboard targets that carry text, or describe the selection itself (the last three: the bookkeeping
// of the Windows clipboard, which Wine passes on).
const QStringList textTargets { "TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS", "UTF8_STRING", "STRING",
                                "TEXT", "COMPOUND_TEXT", "text/plain", "text/plain;charset=utf-8",
                                "Ole Private Data", "Wine Marshalled DataObject", "DataObject" };

struct Run { int code = -1; QByteArray out; }; // code -1: did not start or not finish in time

Run run(const QString &program, const QStringList &args, int timeoutMs = 10000, const QByteArray &input = {})
{
    QProcess p;
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForStarted(timeoutMs))
        return {};
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs))
        return {}; // ~QProcess kills it
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput() };
}

template<typename Check> bool poll(Check check, int timeoutMs = 3000, int pauseMs = 2)
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

std::optional<QString> clipboard(const QString &target = "UTF8_STRING")
{
    const Run r = run("xclip", { "-selection", "clipboard", "-o", "-t", target }, 3000);
    return r.code == 0 ? std::optional(QString::fromUtf8(r.out)) : std::nullopt;
}

QString describe(const std::optional<QString> &text) { return text ? '"' + *text + '"' : QString("(nothing)"); }
QString hex(QRgb c) { return QStringLiteral("#%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0')); }

// The part of the screen in r, or a null image.
QImage grab(const QRect &r)
{
    const QString crop = QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
    const Run shot = run("import", { "-window", "root", "-crop", crop, "-depth", "8", "rgb:-" });
    if (shot.code != 0 || shot.out.size() != r.width() * r.height() * 3)
        return {};
    const auto *bits = reinterpret_cast<const uchar *>(shot.out.constData());
    return QImage(bits, r.width(), r.height(), r.width() * 3, QImage::Format_RGB888).copy();
}

QRect clientGeometry(const QString &window)
{
    const QString info = QString::fromLatin1(run("xwininfo", { "-id", window }).out);
    auto field = [&](const QString &name) {
        const QRegularExpressionMatch m = QRegularExpression(name + ":\\s*(-?\\d+)").match(info);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
}

// Whether the window shows the program's own 32 x 32 icon in its frame and task list.
bool showsIcon(const QString &window)
{
    const QImage icon = QImage(SORELIN_ICON).convertToFormat(QImage::Format_ARGB32);
    const QString shown = QString::fromLatin1(run("xprop", { "-id", window, "-notype", "32c", "_NET_WM_ICON" }).out);
    QList<quint32> v; // width, height, pixels; width, height, pixels; ...
    for (auto it = QRegularExpression("\\d+").globalMatch(shown.section('=', 1)); it.hasNext();)
        v << it.next().captured().toUInt();
    for (qsizetype i = 0; i + 2 <= v.size() && i + 2 + qsizetype(v[i]) * v[i + 1] <= v.size(); i += 2 + v[i] * v[i + 1])
        if (v[i] == 32 && v[i + 1] == 32 && icon.size() == QSize(32, 32)) {
            for (int p = 0; p < 32 * 32; ++p)
                if (const QRgb c = icon.pixel(p % 32, p / 32); v[i + 2 + p] != c && (qAlpha(c) || qAlpha(v[i + 2 + p])))
                    return false;
            return true;
        }
    return false;
}

// Closes the window as its close box does: the window manager sends WM_DELETE_WINDOW.
bool closeWindow(QProcess &program, const QString &window)
{
    return run("wmctrl", { "-i", "-c", window }).code == 0 && program.waitForFinished(15000);
}

} // namespace

class DesktopTest : public QObject
{
    Q_OBJECT

    QString m_brevant, m_window, m_error;
    QDir m_artifacts;
    QProcess m_program, m_manager;
    QPoint m_origin; // the client area's corner on the screen
    int m_tab = 1, m_foreign = 0, m_failures = 0;
    QRgb m_blank = 0;
    bool m_closed = false; // the program was closed on purpose

    bool launch(QProcess &process, const QString &program, const QStringList &args, const QString &log)
    {
        process.setStandardOutputFile(m_artifacts.filePath(log), QIODevice::Append);
        process.setStandardErrorFile(m_artifacts.filePath(log), QIODevice::Append);
        process.start(program, args);
        return process.waitForStarted(10000);
    }

    // Of the windows called Sorelin, the program's; empty if none.
    QString findWindow(const QProcess &program)
    {
        const Run found = run("xdotool", { "search", "--sync", "--onlyvisible", "--name", "^Sorelin$" }, 30000);
        for (const QString &id : QString::fromLatin1(found.out).split('\n', Qt::SkipEmptyParts))
            if (run("xdotool", { "getwindowpid", id }).out.trimmed().toLongLong() == program.processId()) {
                m_origin = clientGeometry(id).topLeft();
                m_tab = 1;
                return id;
            }
        return {};
    }

    void screenshot(const QString &name) { run("import", { "-window", "root", m_artifacts.filePath(name + ".png") }); }

    bool clickAt(QPoint client)
    {
        const QPoint p = m_origin + client;
        const QStringList args { "mousemove", "--sync", QString::number(p.x()), QString::number(p.y()), "click", "1" };
        return run("xdotool", args).code == 0;
    }

    bool selectTab(int tab)
    {
        // The tabs share the strip's top 43 pixels, tab 0 on the left half of
        // its 409 pixels, tab 1 on the right half. A switch shows in the page.
        const QRect page(m_origin + stripCorner + QPoint(0, 50), QSize(409, 700));
        const QImage before = grab(page);
        if (before.isNull() || !clickAt(stripCorner + QPoint(tab == 0 ? 102 : 307, 20))
            || !poll([&] { const QImage now = grab(page); return !now.isNull() && now != before; }, 5000, 20))
            return false;
        m_tab = tab;
        return true;
    }

    bool putForeign(const QByteArray &data, const QString &target = "UTF8_STRING")
    {
        // xclip's child serves the data; it takes the clipboard a moment after the parent has ended.
        return run("xclip", { "-selection", "clipboard", "-t", target, "-i" }, 5000, data).code == 0
                && poll([&] { return clipboard(target) == QString::fromUtf8(data); }, 5000, 5);
    }

    QRgb paneColour(int tab)
    {
        // The commonest colour inside the frame: the text covers less than the background.
        const TwipRect pane = paneRect(tab);
        const QImage image = grab(QRect(m_origin + toClient(pane.left, pane.top) + QPoint(4, 4),
                                        QSize(pane.width / 15 - 8, pane.height / 15 - 8)));
        QHash<QRgb, int> count;
        QRgb best = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (const QRgb c = image.pixel(x, y) & 0xFFFFFF; ++count[c] > count.value(best))
                    best = c;
        return best;
    }

    // The checks return false and leave the reason in m_error.
    bool fail(const QString &why) { return m_error = why, false; }

    bool expectClipboard(const QString &text)
    {
        std::optional<QString> seen;
        if (poll([&] { return (seen = clipboard()) == text; }))
            return true;
        const QString gone = m_program.state() == QProcess::Running || m_closed ? QString()
                : QStringLiteral(" (the program has ended: %1 %2)").arg(m_program.exitStatus() == QProcess::CrashExit
                        ? "crashed" : "exit code").arg(m_program.exitCode());
        return fail(QStringLiteral("clipboard holds %1, expected \"%2\"%3").arg(describe(seen), text, gone));
    }

    bool expectPane(int tab, QRgb colour, int timeoutMs = 3000)
    {
        QRgb seen = 0;
        return poll([&] { return (seen = paneColour(tab)) == colour; }, timeoutMs, 10)
                || fail(QStringLiteral("Text%1 shows %2, expected %3").arg(tab + 1).arg(hex(seen), hex(colour)));
    }

    // With another program's text on the clipboard, the action leaves it there.
    template<typename Action> bool untouchedBy(Action action)
    {
        const QString mine = QStringLiteral("他のプログラム%1").arg(++m_foreign);
        if (!putForeign(mine.toUtf8()))
            return fail("xclip could not take the clipboard");
        if (!action())
            return fail("the action itself failed");
        QThread::msleep(200);
        const auto seen = clipboard();
        return seen == mine
                || fail(QStringLiteral("clipboard holds %1, expected %2").arg(describe(seen), describe(mine)));
    }

    // One step of a scenario:
    //   B<n>  click button n: its text on the clipboard, its effect on its tab's pane
    //   L     click the current tab's label: its pane blanks, the clipboard stays
    //   T<t>  click tab t: its pane is blank, the clipboard stays
    //   P     put a picture on the clipboard
    //   X     the clipboard offers text, and text only
    //   S     take a screenshot named after the scenario
    bool act(QChar kind, int arg)
    {
        switch (kind.toLatin1()) {
        case 'B': {
            const Spot spot = spotOf(arg);
            const QString text = expectedText(arg);
            if (m_tab != spot.tab && !selectTab(spot.tab))
                return fail("could not select the button's tab");
            // A text that is on the clipboard already would not show the click.
            if (clipboard() == text && !putForeign("前のボタン"))
                return fail("xclip could not take the clipboard");
            const QRgb before = spot.effect == Effect::Leaves ? paneColour(spot.tab) : 0;
            if (!clickAt(clickPoint(spot.rect)))
                return fail("xdotool could not click");
            if (!expectClipboard(text))
                return false;
            if (spot.effect != Effect::Leaves)
                return expectPane(spot.tab, spot.effect == Effect::Shows ? spot.colour : m_blank);
            QThread::msleep(300); // a repaint, if any, comes right after the click
            return expectPane(spot.tab, before, 0);
        }
        case 'L': return untouchedBy([&] { return clickAt(labelPoint); }) && expectPane(m_tab, m_blank);
        case 'T': return untouchedBy([&] { return selectTab(arg); }) && expectPane(arg, m_blank);
        case 'P': {
            QImage picture(16, 16, QImage::Format_RGB32);
            picture.fill(Qt::red);
            QBuffer png;
            return (png.open(QIODevice::WriteOnly) && picture.save(&png, "PNG") && putForeign(png.data(), "image/png"))
                    || fail("could not put a picture on the clipboard");
        }
        case 'X': {
            const QStringList targets = clipboard("TARGETS").value_or(QString()).split('\n', Qt::SkipEmptyParts);
            if (!targets.contains("UTF8_STRING"))
                return fail("no UTF8_STRING among the targets: " + targets.join(' '));
            for (const QString &target : targets)
                if (!textTargets.contains(target))
                    return fail("offered: " + target);
            return true;
        }
        case 'S': return screenshot(QString(QTest::currentDataTag()).replace(' ', '-')), true;
        }
        return fail(QStringLiteral("no such step: %1").arg(kind));
    }

    // Runs space-separated steps; on failure m_error names the step.
    bool did(const QString &steps)
    {
        for (const QString &step : steps.split(' '))
            if (!act(step.at(0), step.mid(1).toInt()))
                return m_error.prepend(step + ": "), false;
        return true;
    }

private slots:
    void initTestCase()
    {
        m_brevant = qEnvironmentVariable("SORELIN_BREVANT");
        m_artifacts.setPath(qEnvironmentVariable("SORELIN_ARTIFACTS", QDir::currentPath()));
        QVERIFY2(QFileInfo(m_brevant).isExecutable(), "SORELIN_BREVANT does not name the program");
        QVERIFY(m_artifacts.mkpath("."));
        QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "no DISPLAY");
        for (const QString tool :
             { "xdotool", "xclip", "xwininfo", "xprop", "import", "wmctrl", "parcellite", "xmessage" })
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), qPrintable(tool));

        QVERIFY2(launch(m_program, m_brevant, {}, "brevant.log"), "the program did not start");
        m_window = findWindow(m_program);
        QVERIFY2(!m_window.isEmpty(), "no window called Sorelin of the program appeared");
        // The first paint is done once the pane's inside keeps one colour.
        QRgb previous = 1;
        poll([&] { const QRgb now = paneColour(1); return std::exchange(previous, now) == now && now != 0; },
             10000, 100);
        m_blank = previous;
        screenshot("start");
    }

    void cleanup()
    {
        if (!QTest::currentTestFailed())
            return;
        QString name = QTest::currentTestFunction();
        if (QTest::currentDataTag())
            name += '-' + QString(QTest::currentDataTag()).replace(' ', '-'), ++m_failures;
        screenshot("failed-" + name);
    }

    void cleanupTestCase() { screenshot("end"); } // ~QProcess ends what still runs

    void window()
    {
        // Text2 starts in the window-background colour, which every blanked pane shows.
        qInfo("blank pane colour: %s", qPrintable(hex(m_blank)));
        QVERIFY2(!QList<QRgb>({ cyan, yellow, green, red }).contains(m_blank), qPrintable(hex(m_blank)));
        const Run state = run("xprop", { "-id", m_window, "_NET_WM_STATE" });
        QVERIFY2(state.out.contains("_NET_WM_STATE_ABOVE"), state.out.constData());
        QCOMPARE(clientGeometry(m_window), QRect(50, 72, 424, 784));
        QVERIFY2(showsIcon(m_window), "the window does not show the program's icon");
    }

    void clicks_data()
    {
        QTest::addColumn<QString>("steps");
        // Before any tab is clicked: tab 1 shows, a button of it is under the mouse.
        QTest::newRow("opens on tab 1 with Text2 blank") << "B193";
        QTest::newRow("clipboard offers text only") << "B173 X";
        QTest::newRow("a click replaces a picture") << "P B190 X";
        QTest::newRow("Label2 blanks Text2") << "B110 L"; // C-(10), red
        // Text2 is left showing D-(19) and Text1 shows 1-(1): one switch blanks both.
        QTest::newRow("a tab switch blanks both panes") << "B119 T0 S B1 T1 T0";
        QTest::newRow("Label1 blanks Text1") << "B13 S L"; // 3-(2), green
        // Tab 0's buttons come first, so that the tab changes once.
        for (int n = 1; n <= Binding::buttonCount; ++n)
            QTest::addRow("Command%d", n) << QStringLiteral("B%1").arg(n);
        QTest::newRow("the subject title leaves the pane") << "B122 B193";
    }

    void clicks()
    {
        QFETCH(QString, steps);
        // A program that gets most buttons wrong would take minutes of timeouts.
        if (m_failures >= 10)
            QSKIP("ten rows have failed already");
        QVERIFY2(did(steps), qPrintable(m_error));
    }

    void staysAboveActivatedWindow()
    {
        // Another application's window over the whole program, made active.
        QProcess other;
        const auto stop = qScopeGuard([&] { other.kill(); other.waitForFinished(); });
        other.start("xmessage", { "-title", "SorelinNeighbour", "-geometry", "600x900+0+0", "another window" });
        const Run found =
                run("xdotool", { "search", "--sync", "--onlyvisible", "--name", "^SorelinNeighbour$" }, 20000);
        QVERIFY2(found.code == 0, "the other window did not appear");
        const QString otherWindow = QString::fromLatin1(found.out).section('\n', 0, 0);
        QCOMPARE(run("xdotool", { "windowactivate", "--sync", otherWindow }).code, 0);

        // The window manager's stacking order, bottom to top.
        const Run stacking = run("xprop", { "-root", "_NET_CLIENT_LIST_STACKING" });
        QList<qulonglong> order;
        for (auto it = QRegularExpression("0x[0-9a-f]+").globalMatch(QString::fromLatin1(stacking.out)); it.hasNext();)
            order << it.next().captured().toULongLong(nullptr, 16);
        const qsizetype mine = order.indexOf(m_window.toULongLong()), theirs = order.indexOf(otherWindow.toULongLong());
        QVERIFY2(mine >= 0 && theirs >= 0, stacking.out.constData());
        QVERIFY2(mine > theirs, "the program went below the activated window");
        // The mouse still reaches the program where the windows overlap.
        QVERIFY2(did("B101"), qPrintable(m_error));
    }

    void closingKeepsCopiedText()
    {
        // A clipboard manager keeps the last text once its owner has gone. It starts only now:
        // it puts its last text back whenever the clipboard is empty, so it could step in
        // between the Clear and the SetText of the clicks above and make them flaky.
        QVERIFY(launch(m_manager, "parcellite", { "-n" }, "parcellite.log"));
        const QStringList search { "search", "--sync", "--pid", QString::number(m_manager.processId()) };
        QVERIFY2(run("xdotool", search, 20000).code == 0, "the clipboard manager did not come up");
        QVERIFY2(did("B188"), qPrintable(m_error));
        QVERIFY2(m_program.state() == QProcess::Running, "the program ended before it was closed");
        screenshot("before-close");

        // The manager has taken note of the text once it is in its history.
        const QString text = expectedText(188);
        const bool noted = poll([&] {
            QFile history(QDir::home().filePath(".local/share/parcellite/history"));
            return history.open(QIODevice::ReadOnly) && history.readAll().contains(text.toUtf8());
        }, 10000, 50);
        QVERIFY2(noted, "the clipboard manager did not take note of the text");

        m_closed = true;
        QVERIFY2(closeWindow(m_program, m_window), "the program did not end when its window was closed");
        QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_program.exitCode(), 0);
        QVERIFY2(expectClipboard(text), qPrintable(m_error));
    }

    void closingLeavesOtherProgramsText()
    {
        // Without a manager a closing owner takes its text with it (X11 works
        // so); a text that another program owns stays.
        m_manager.terminate();
        QVERIFY(m_manager.waitForFinished(10000));
        QProcess second; // ~QProcess ends it should a check fail
        QVERIFY(launch(second, m_brevant, {}, "brevant-2.log"));
        const QString window = findWindow(second);
        QVERIFY2(!window.isEmpty(), "no window after the second start");
        const QRect place = clientGeometry(window);

        QVERIFY2(did("B102"), qPrintable(m_error));
        QVERIFY2(untouchedBy([&] { return closeWindow(second, window); }), qPrintable(m_error));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(place, QRect(50, 72, 424, 784));
    }
};

QTEST_GUILESS_MAIN(DesktopTest)

#include "tst_desktop.moc"
