#include "copyaction.h"

#include <QTest>

Q_DECLARE_METATYPE(CopyStep)

namespace {

// Every call of the fakes goes into one log, so the order of the steps across
// panes and clipboard can be checked; the call numbered failAt fails.
struct Log
{
    QStringList calls;
    int failAt = -1;
    bool step(const QString &call) { return calls << call, calls.size() - 1 != failAt; }
};

struct FakePane : Pane
{
    FakePane(const char *name, Log &log) : name(QString::fromLatin1(name)), log(log) {}
    bool setText(const QString &t) override { return log.step(name + ".Text") && (text = t, true); }
    bool setBackColor(Colour c) override { return log.step(name + ".BackColor") && (colour = c, true); }
    QString state() const { return text + QStringLiteral(" @%1").arg(colour.value(), 0, 16); }
    QString name, text = QStringLiteral("before");
    Colour colour{ 0x123456 };
    Log &log;
};

struct FakeClipboard : Clipboard
{
    explicit FakeClipboard(Log &log) : log(log) {}
    bool clear() override { return log.step(QStringLiteral("Clear")) && (text.clear(), true); }
    bool setText(const QString &t) override { return log.step(QStringLiteral("SetText")) && (text = t, true); }
    QString text = QStringLiteral("previous");
    Log &log;
};

} // namespace

class TestCopyAction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void steps_data();
    void steps();
};

void TestCopyAction::steps_data()
{
    QTest::addColumn<int>("button"); // 0: a reset of Text2 on its own
    QTest::addColumn<int>("failAt");
    QTest::addColumn<CopyStep>("stop");
    QTest::addColumn<QString>("text2");
    QTest::addColumn<QString>("clipboard");
    using S = CopyStep;
    const QString shown = QStringLiteral(u"新B-(7) ＝ 旧2-(1) @c0ffff"), before = QStringLiteral("before @123456");
    const QString blank = QStringLiteral(" @80000005"), bText = QStringLiteral(u"B-(7) 礼儀");
    QTest::newRow("item") << 151 << -1 << S::Done << shown << bText;
    QTest::newRow("item, pane text fails") << 151 << 0 << S::PaneText << before << "previous";
    QTest::newRow("item, pane colour fails") << 151 << 1 << S::PaneColour << QStringLiteral(u"新B-(7) ＝ 旧2-(1) @123456")
                                             << "previous";
    QTest::newRow("item, clear fails") << 151 << 2 << S::ClipboardClear << shown << "previous";
    QTest::newRow("item, set text fails") << 151 << 3 << S::ClipboardText << shown << "";
    QTest::newRow("title") << 190 << -1 << S::Done << blank << QStringLiteral(u"Ｂ　主として人との関わりに関すること");
    QTest::newRow("title, pane colour fails") << 190 << 1 << S::PaneColour << " @123456" << "previous";
    QTest::newRow("subject") << 193 << -1 << S::Done << before << QStringLiteral(u"特別の教科　道徳");
    QTest::newRow("subject, set text fails") << 193 << 1 << S::ClipboardText << before << "";
    QTest::newRow("reset") << 0 << -1 << S::Done << blank << "previous";
    QTest::newRow("reset, colour fails") << 0 << 1 << S::PaneColour << " @123456" << "previous";
}

// Each step is a call that can fail: the action stops at a failed step, runs
// nothing later and undoes nothing earlier. The pane comes before the
// clipboard, and a button of one set never touches the other set's pane.
void TestCopyAction::steps()
{
    QFETCH(int, button);
    QFETCH(int, failAt);
    Log log;
    log.failAt = failAt;
    FakePane text1("Text1", log), text2("Text2", log);
    FakeClipboard clipboard(log);
    const CopyStep stop = button ? CopyAction(*Binding::forButton(button)).run({ &text1, &text2 }, clipboard)
                                 : PaneReset(text2).run();
    QTEST(stop, "stop");
    // The whole sequence of a button, or as far as the failed call.
    const QStringList all = button == 193 ? QStringList{ "Clear", "SetText" }
            : QStringList{ "Text2.Text", "Text2.BackColor" } + (button ? QStringList{ "Clear", "SetText" } : QStringList());
    QCOMPARE(log.calls, failAt < 0 ? all : all.mid(0, failAt + 1));
    QTEST(text2.state(), "text2");
    QTEST(clipboard.text, "clipboard");
    QCOMPARE(text1.state(), u"before @123456");
}

QTEST_GUILESS_MAIN(TestCopyAction)
#include "tst_copyaction.moc"
