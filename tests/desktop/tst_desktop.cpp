// End-to-end test of Brevant on the X server run_desktop.sh provides: it clicks with xdotool, reads
// the clipboard with xclip and the panes' colours with import. Click positions are worked out here
// from the layout in twips, and the texts are written out here, as a teacher would read them.

#include <xcb/xcb.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryFile>
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

// What the buttons clicked here copy, word for word.
QString expectedText(int n)
{
    static const QHash<int, QString> texts {
        { 1, "1-(1)" }, { 10, "2-(5)" }, { 13, "3-(2)" }, // 10's caption has a trailing space, its text none
        { 25, "望ましい生活習慣、心身の健康､節度節制" },
        { 74, "より高い目標を目指し、希望と勇気をもって着実にやり抜く強い意志をもつ｡" },
        { 101, "A-(1)" }, { 102, "A-(2)" }, { 110, "C-(10)" }, { 119, "D-(19)" }, { 122, "D-(22)" },
        { 130, "友情、信頼" }, { 151, "B-(7) 礼儀" }, { 173, "礼儀の意義を理解し、時と場に応じた適切な言動をとること。" },
        { 188, "人間には自らの弱さや醜さを克服する強さや気高く生きようとする心があることを理解し、"
               "人間として生きることに喜びを見いだすこと。" },
        { 190, "Ｂ　主として人との関わりに関すること" }, { 193, "特別の教科　道徳" },
    };
    return texts.value(n);
}

// Sends the window what a window manager whose clock runs ahead of the X
// server's would: WM_TAKE_FOCUS stamped ten minutes in the server's future.
bool sendSkewedTakeFocus(const QString &window)
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    const auto close = qScopeGuard([c] { xcb_disconnect(c); });
    if (xcb_connection_has_error(c))
        return false;
    const auto atom = [c](const char *name) {
        xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, strlen(name), name), nullptr);
        const xcb_atom_t a = r ? r->atom : 0;
        free(r);
        return a;
    };
    // The server's time: the stamp of a property change on a window of our own.
    const xcb_window_t probe = xcb_generate_id(c);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, 0, probe, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, 0, XCB_CW_EVENT_MASK, &mask);
    xcb_change_property(c, XCB_PROP_MODE_APPEND, probe, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, "");
    xcb_flush(c);
    xcb_timestamp_t now = 0;
    while (xcb_generic_event_t *e = xcb_wait_for_event(c)) {
        const bool property = (e->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
        if (property)
            now = reinterpret_cast<xcb_property_notify_event_t *>(e)->time;
        free(e);
        if (property)
            break;
    }
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window.toUInt();
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_TAKE_FOCUS");
    message.data.data32[1] = now + 600000;
    xcb_send_event(c, 0, message.window, 0, reinterpret_cast<const char *>(&message));
    // A round trip: the server has sent the message on before anything else happens.
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    return now != 0;
}

// The keys of step K, each a switch to the other tab, and of step E.
const char *const tabKeys[] = { "ctrl+Tab", "ctrl+shift+Tab", "ctrl+Next", "ctrl+Prior" };
const char *const pressKeys[] = { "Return", "KP_Enter" };

// Where step R starts another program: on a screen of the X server that is shorter than the
// framed window at its place (1) or at all (2), or beside weston: on XWayland with Wayland
// there too, with Wayland chosen, or on Wayland alone.
struct Start { int screen; bool x11, wayland; const char *platform; };
const Start starts[] = { { 1, true, false, nullptr }, { 2, true, false, nullptr },
                         { 0, true, true, nullptr }, { 0, true, true, "wayland" }, { 0, false, true, nullptr } };

// Clipboard targets that carry text, or describe the selection itself.
const QStringList textTargets { "TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS", "UTF8_STRING", "STRING",
                                "TEXT", "COMPOUND_TEXT", "text/plain", "text/plain;charset=utf-8" };

struct Run { int code = -1; QByteArray out; }; // code -1: did not start or not finish in time

Run run(const QString &program, const QStringList &args, int timeoutMs = 10000, const QByteArray &input = {},
        const QString &display = {})
{
    QProcess p;
    if (!display.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display);
        p.setProcessEnvironment(env);
    }
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

std::optional<QString> clipboard(const QString &target = "UTF8_STRING", const QString &selection = "clipboard")
{
    const Run r = run("xclip", { "-selection", selection, "-o", "-t", target }, 3000);
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

QRect clientGeometry(const QString &window, const QString &display = {})
{
    const QString info = QString::fromLatin1(run("xwininfo", { "-id", window }, 10000, {}, display).out);
    auto field = [&](const QString &name) {
        const QRegularExpressionMatch m = QRegularExpression(name + ":\\s*(-?\\d+)").match(info);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
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
    int m_tab = 1, m_foreign = 0, m_lastButton = 0;
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
    QString findWindow(const QProcess &program, const QString &display = {}, bool wait = true)
    {
        QString window;
        poll([&] {
            const Run found = run("xdotool", { "search", "--onlyvisible", "--name", "^Sorelin$" }, 10000, {}, display);
            for (const QString &id : QString::fromLatin1(found.out).split('\n', Qt::SkipEmptyParts))
                if (run("xdotool", { "getwindowpid", id }, 10000, {}, display).out.trimmed().toLongLong()
                    == program.processId())
                    return !(window = id).isEmpty();
            return false;
        }, wait ? 30000 : 0, 50);
        if (!window.isEmpty() && display.isEmpty())
            m_origin = clientGeometry(window).topLeft(), m_tab = 1;
        return window;
    }

    void screenshot(const QString &name) { run("import", { "-window", "root", m_artifacts.filePath(name + ".png") }); }

    bool clickAt(QPoint client)
    {
        const QPoint p = m_origin + client;
        const QStringList args { "mousemove", "--sync", QString::number(p.x()), QString::number(p.y()), "click", "1" };
        return run("xdotool", args).code == 0;
    }

    // By a click on the tab, or by keys.
    bool selectTab(int tab, const char *keys = nullptr)
    {
        // The tabs share the strip's top 43 pixels, tab 0 on the left half of
        // its 409 pixels, tab 1 on the right half. A switch shows in the page.
        const QRect page(m_origin + stripCorner + QPoint(0, 50), QSize(409, 700));
        const QImage before = grab(page);
        if (before.isNull()
            || !(keys ? run("xdotool", { "key", keys }).code == 0
                      : clickAt(stripCorner + QPoint(tab == 0 ? 102 : 307, 20)))
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
    //   K<k>  switch tabs with the keys tabKeys[k]: the same
    //   E<k>  press pressKeys[k]: the last clicked button copies again
    //   R<s>  start another program as starts[s] says and check its window
    //   P     put a picture on the clipboard
    //   X     the clipboard offers text, and text only
    //   Q     another program's text on the primary selection; q  it is still there
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
            m_lastButton = arg;
            if (!expectClipboard(text))
                return false;
            if (spot.effect != Effect::Leaves)
                return expectPane(spot.tab, spot.effect == Effect::Shows ? spot.colour : m_blank);
            QThread::msleep(300); // a repaint, if any, comes right after the click
            return expectPane(spot.tab, before, 0);
        }
        case 'L': return untouchedBy([&] { return clickAt(labelPoint); }) && expectPane(m_tab, m_blank);
        case 'T': return untouchedBy([&] { return selectTab(arg); }) && expectPane(arg, m_blank);
        case 'K': return untouchedBy([&] { return selectTab(1 - m_tab, tabKeys[arg]); }) && expectPane(m_tab, m_blank);
        case 'E':
            return putForeign("前のボタン") && run("xdotool", { "key", pressKeys[arg] }).code == 0
                    && expectClipboard(expectedText(m_lastButton));
        case 'R': return startsRight(starts[arg]);
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
        case 'Q':
            return run("xclip", { "-selection", "primary", "-i" }, 5000, "選択した文字").code == 0
                    || fail("xclip could not take the primary selection");
        case 'q': {
            const auto seen = clipboard("UTF8_STRING", "primary");
            return seen == u"選択した文字" || fail("the primary selection holds " + describe(seen));
        }
        case 'S': return screenshot(QString(QTest::currentDataTag()).replace(' ', '-')), true;
        }
        return fail(QStringLiteral("no such step: %1").arg(kind));
    }

    // X11 wherever an X display is there, so that the place and the stay-on-top hold: the place
    // kept where the framed window fits the screen, else moved the least, else the caption bar
    // at the top; on Wayland one line says that the desktop decides them.
    bool startsRight(const Start &start)
    {
        const QString display = start.wayland ? qEnvironmentVariable("SORELIN_XWAYLAND")
                                              : qEnvironmentVariable("DISPLAY") + '.' + QString::number(start.screen);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
        if (start.x11)
            env.insert("DISPLAY", display);
        if (start.wayland)
            env.insert("WAYLAND_DISPLAY", qEnvironmentVariable("SORELIN_WAYLAND"));
        env.insert("WAYLAND_DEBUG", "client"); // shows the Wayland window's title
        if (start.platform)
            env.insert("QT_QPA_PLATFORM", start.platform);
        QTemporaryFile log(m_artifacts.filePath("start-XXXXXX.log"));
        QProcess program;
        program.setProcessEnvironment(env);
        program.setStandardErrorFile(log.open() ? log.fileName() : QProcess::nullDevice());
        program.start(m_brevant, {});
        const auto stop = qScopeGuard([&] { program.kill(); program.waitForFinished(); });
        if (!program.waitForStarted(10000))
            return fail("the program did not start");
        const auto said = [&] { return log.seek(0) ? QString::fromUtf8(log.readAll()) : QString(); };

        const bool onWayland = start.platform || !start.x11;
        QString window;
        if (onWayland) {
            if (!poll([&] { return said().contains(".set_title(\"Sorelin\")"); }, 20000, 50))
                return fail("no Wayland window called Sorelin: " + said().right(300));
            if (!findWindow(program, display, false).isEmpty())
                return fail("an X11 window appeared");
        } else if ((window = findWindow(program, display)).isEmpty()) {
            return fail("no X11 window of the program appeared on " + display);
        }
        QThread::msleep(500);
        if (program.state() != QProcess::Running)
            return fail("the program ended: " + said().right(300));
        const auto notes = said().count(QRegularExpression("^Brevant: .*Wayland", QRegularExpression::MultilineOption));
        if (notes != (onWayland ? 1 : 0))
            return fail(QStringLiteral("%1 notes about Wayland on stderr").arg(notes));
        if (onWayland)
            return true;
        if (start.wayland) {
            // weston's X window manager drops the states it has no use for; its log shows the request.
            const QRegularExpression above(QStringLiteral("window %1, _NET_WM_STATE: [^\\n]*_NET_WM_STATE_ABOVE")
                                                   .arg(window.toULongLong()));
            return poll([&] {
                QFile weston(qEnvironmentVariable("SORELIN_WESTON_LOG"));
                return weston.open(QIODevice::ReadOnly) && above.match(QString::fromUtf8(weston.readAll())).hasMatch();
            }, 5000, 50) || fail("weston did not see the stay-on-top hint");
        }
        // The frame (left, right, top, bottom) and the work area (x, y, width, height).
        const auto numbers = [&](const QStringList &args) {
            QList<int> found;
            const QString out = QString::fromLatin1(run("xprop", QStringList { "-display", display } + args).out);
            for (auto it = QRegularExpression("\\d+").globalMatch(out.section('=', 1)); it.hasNext();)
                found << it.next().captured().toInt();
            return found.size() >= 4 ? found : QList<int>(4);
        };
        const QList<int> frame = numbers({ "-id", window, "_NET_FRAME_EXTENTS" });
        const QList<int> area = numbers({ "-root", "_NET_WORKAREA" });
        const int top = 784 + frame[2] + frame[3] <= area[3] ? qMin(72, area[1] + area[3] - frame[3] - 784)
                                                             : area[1] + frame[2];
        QRect place;
        return poll([&] { return (place = clientGeometry(window, display)) == QRect(50, top, 424, 784); }, 3000, 50)
                || fail(QStringLiteral("the window stands at %1,%2, expected 50,%3")
                                .arg(place.x()).arg(place.y()).arg(top));
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
            name += '-' + QString(QTest::currentDataTag()).replace(' ', '-');
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
        QTest::newRow("odd characters arrive whole") << "B10 B25 B74";
        QTest::newRow("the primary selection is left alone") << "Q B151 q";
        QTest::newRow("keys switch tabs and blank both panes") << "B119 K0 B1 K1 K2 K3";
        QTest::newRow("Return and Enter press the focused button") << "B130 E0 E1";
        QTest::newRow("the subject title leaves the pane") << "B122 B193";
        // Other programs, started last: a new window takes the focus.
        QTest::newRow("a short screen moves the window up the least") << "R0";
        QTest::newRow("a screen too short keeps the caption bar on it") << "R1";
        QTest::newRow("XWayland and Wayland give X11 and stay-on-top") << "R2";
        QTest::newRow("Wayland chosen gives a Wayland window and a note") << "R3";
        QTest::newRow("Wayland alone gives a Wayland window and a note") << "R4";
    }

    void clicks()
    {
        QFETCH(QString, steps);
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

    void refusedCopyIsReported()
    {
        // The X server refuses a claim on the clipboard stamped in its future:
        // the click must not pass for a copy, and the teacher is told.
        QProcess third;
        QVERIFY(launch(third, m_brevant, {}, "brevant-3.log"));
        const QString window = findWindow(third);
        QVERIFY2(!window.isEmpty(), "no window after the third start");
        QVERIFY2(sendSkewedTakeFocus(window), "could not reach the window");
        QVERIFY2(untouchedBy([&] { return clickAt(clickPoint(spotOf(101).rect)); }), qPrintable(m_error));
        const bool noted = poll([&] {
            for (const QString &id : QString::fromLatin1(run("xdotool", { "search", "--onlyvisible", "--pid",
                         QString::number(third.processId()) }).out).split('\n', Qt::SkipEmptyParts))
                if (run("xprop", { "-id", id, "_NET_WM_WINDOW_TYPE" }).out.contains("TOOLTIP"))
                    return true;
            return false;
        }, 5000, 100);
        QVERIFY2(noted, "no note by the button");
    }
};

QTEST_GUILESS_MAIN(DesktopTest)

#include "tst_desktop.moc"
