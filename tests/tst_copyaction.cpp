#include "copyaction.h"
#include "qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTest>

Q_DECLARE_METATYPE(CopyStep)

namespace {

const Colour startColour(0x123456);

// Every call of the fakes goes into one log, so the order of the steps across
// panes and clipboard can be checked; the call numbered failAt fails.
struct Log
{
    QStringList calls;
    int failAt = -1;
    bool step(const QString &call)
    {
        calls << call;
        return calls.size() - 1 != failAt;
    }
};

class FakePane : public Pane
{
public:
    FakePane(const char *name, Log &log) : name(QString::fromLatin1(name)), log(log) {}
    bool setText(const QString &t) override { return log.step(name + ".Text") && (text = t, true); }
    bool setBackColor(Colour c) override { return log.step(name + ".BackColor") && (colour = c, true); }
    QString name;
    QString text = QStringLiteral("before");
    Colour colour = startColour;
    Log &log;
};

class FakeClipboard : public Clipboard
{
public:
    explicit FakeClipboard(Log &log) : log(log) {}
    bool clear() override { return log.step(QStringLiteral("Clear")) && (text.clear(), true); }
    bool setText(const QString &t) override { return log.step(QStringLiteral("SetText")) && (text = t, true); }
    QString text = QStringLiteral("previous");
    Log &log;
};

// Two panes and a clipboard sharing one log.
struct Desk
{
    Log log;
    FakePane text1{ "Text1", log };
    FakePane text2{ "Text2", log };
    FakeClipboard clipboard{ log };
    CopyStep press(int button) { return CopyAction(*Binding::forButton(button)).run({ &text1, &text2 }, clipboard); }
};

} // namespace

class TestCopyAction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachKind_data();
    void eachKind();
    void failures_data();
    void failures();
    void paneReset();
    void repeatedPressIsIdempotent();
    void realClipboardHoldsOnlyTheText_data();
    void realClipboardHoldsOnlyTheText();
};

void TestCopyAction::eachKind_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("pane");     // "Text1", "Text2" or "" for none
    QTest::addColumn<QString>("paneText");
    QTest::addColumn<quint32>("paneColour");
    QTest::addColumn<QString>("clipboard");
    auto row = [](int n, const char *pane, const char16_t *text, quint32 colour, const char16_t *clip) {
        QTest::addRow("Command%d", n) << n << QString::fromLatin1(pane) << QString::fromUtf16(text)
                                      << colour << QString::fromUtf16(clip);
    };
    row(13, "Text1", u"旧3-(2) ＝ 新D-(20),(21)", 0xC0FFC0, u"3-(2)");
    row(10, "Text1", u"旧2-(5) ＝ 新B-(9)", 0xC0FFFF, u"2-(5)");
    row(37, "Text1", u"旧3-(2) ＝ 新D-(20),(21)", 0xC0FFC0, u"自然の愛護、豊かな心、畏敬の念");
    row(72, "Text1", u"旧4-(10) ＝ 新C-(18)", 0xC0C0FF, u"4-(10) 国際理解と平和、人類愛");
    row(74, "Text1", u"旧1-(2) ＝ 新A-(4)", 0xFFFFC0, u"より高い目標を目指し、希望と勇気をもって着実にやり抜く強い意志をもつ｡");
    row(98, "Text1", u"", 0x80000005, u"２　主として他の人とのかかわりに関すること");
    row(110, "Text2", u"新C-(10) ＝ 旧4-(1)", 0xC0C0FF, u"C-(10)");
    row(151, "Text2", u"新B-(7) ＝ 旧2-(1)", 0xC0FFFF, u"B-(7) 礼儀");
    row(185, "Text2", u"新D-(19) ＝ 旧3-(1)", 0xC0FFC0, u"生命の尊さについて、その連続性や有限性なども含めて理解し、かけがえのない生命を尊重すること。");
    row(190, "Text2", u"", 0x80000005, u"Ｂ　主として人との関わりに関すること");
    row(193, "", u"", 0, u"特別の教科　道徳");
}

// A button writes its own pane (text, then colour), never the other one, and
// then clears the clipboard and puts its text there.
void TestCopyAction::eachKind()
{
    QFETCH(int, button);
    QFETCH(QString, pane);
    QFETCH(QString, paneText);
    QFETCH(quint32, paneColour);

    Desk desk;
    QCOMPARE(desk.press(button), CopyStep::Done);

    QStringList expected;
    if (!pane.isEmpty())
        expected << pane + ".Text" << pane + ".BackColor";
    expected << "Clear" << "SetText";
    QCOMPARE(desk.log.calls, expected);
    QTEST(desk.clipboard.text, "clipboard");
    for (FakePane *p : { &desk.text1, &desk.text2 }) {
        if (p->name == pane) {
            QCOMPARE(p->text, paneText);
            QCOMPARE(p->colour.value(), paneColour);
        } else {
            QCOMPARE(p->text, u"before");
            QCOMPARE(p->colour, startColour);
        }
    }
}

void TestCopyAction::failures_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("failAt");
    QTest::addColumn<CopyStep>("step");
    QTest::addColumn<QString>("paneText");
    QTest::addColumn<quint32>("paneColour");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("calls");

    const QString shown = QStringLiteral(u"新B-(7) ＝ 旧2-(1)");
    const QString before = QStringLiteral("before");
    const QString previous = QStringLiteral("previous");
    QTest::newRow("item, pane text") << 107 << 0 << CopyStep::PaneText << before << startColour.value() << previous << 1;
    QTest::newRow("item, pane colour") << 107 << 1 << CopyStep::PaneColour << shown << startColour.value() << previous << 2;
    QTest::newRow("item, clear") << 107 << 2 << CopyStep::ClipboardClear << shown << 0xC0FFFFu << previous << 3;
    QTest::newRow("item, set text") << 107 << 3 << CopyStep::ClipboardText << shown << 0xC0FFFFu << QString() << 4;
    QTest::newRow("title, pane colour") << 190 << 1 << CopyStep::PaneColour << QString() << startColour.value() << previous << 2;
    QTest::newRow("title, set text") << 190 << 3 << CopyStep::ClipboardText << QString() << 0x80000005u << QString() << 4;
    QTest::newRow("subject, clear") << 193 << 0 << CopyStep::ClipboardClear << before << startColour.value() << previous << 1;
    QTest::newRow("subject, set text") << 193 << 1 << CopyStep::ClipboardText << before << startColour.value() << QString() << 2;
}

// A failed step ends the action there: nothing later runs, nothing earlier is undone.
void TestCopyAction::failures()
{
    QFETCH(int, button);
    QFETCH(int, failAt);
    QFETCH(CopyStep, step);

    Desk desk;
    desk.log.failAt = failAt;
    QCOMPARE(desk.press(button), step);
    QTEST(int(desk.log.calls.size()), "calls");
    QTEST(desk.text2.text, "paneText");
    QTEST(desk.text2.colour.value(), "paneColour");
    QTEST(desk.clipboard.text, "clipboard");
    QCOMPARE(desk.text1.text, u"before");
}

void TestCopyAction::paneReset()
{
    Desk desk;
    QCOMPARE(PaneReset(desk.text1).run(), CopyStep::Done);
    QCOMPARE(desk.text1.text, QString());
    QCOMPARE(desk.text1.colour, Colour::windowBackground());
    QCOMPARE(desk.log.calls, QStringList({ "Text1.Text", "Text1.BackColor" }));

    desk.log.failAt = 3;
    desk.text1.text = QStringLiteral("typed by the user");
    QCOMPARE(PaneReset(desk.text1).run(), CopyStep::PaneColour);
    QCOMPARE(desk.text1.text, QString());
}

void TestCopyAction::repeatedPressIsIdempotent()
{
    Desk desk;
    desk.press(13);
    const QString text = desk.text1.text;
    const Colour colour = desk.text1.colour;
    desk.press(13);
    QCOMPARE(desk.clipboard.text, u"3-(2)");
    desk.press(85); // the same item's sentence
    QCOMPARE(desk.text1.text, text);
    QCOMPARE(desk.text1.colour, colour);
    QCOMPARE(desk.clipboard.text, Catalogue::item(Curriculum::Old, 13).explanation);
}

void TestCopyAction::realClipboardHoldsOnlyTheText_data()
{
    QTest::addColumn<int>("button");
    for (int n : { 1, 25, 98, 192, 193 })
        QTest::addRow("Command%d", n) << n;
}

// Whatever the clipboard held before, a picture included, is gone; only the
// button's text is there, character for character.
void TestCopyAction::realClipboardHoldsOnlyTheText()
{
    QFETCH(int, button);
    QClipboard *qt = QGuiApplication::clipboard();
    auto *before = new QMimeData;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    before->setImageData(picture);
    before->setHtml(QStringLiteral("<b>old</b>"));
    qt->setMimeData(before);
    QVERIFY(qt->mimeData()->hasImage());

    Desk desk;
    QtClipboard clipboard(qt);
    const ButtonBinding binding = *Binding::forButton(button);
    QCOMPARE(CopyAction(binding).run({ &desk.text1, &desk.text2 }, clipboard), CopyStep::Done);

    const QMimeData *now = qt->mimeData();
    QVERIFY(!now->hasImage());
    QVERIFY(!now->hasHtml());
    QCOMPARE(now->formats(), QStringList({ "text/plain" }));
    QCOMPARE(qt->text(), binding.copyText());
    QVERIFY(qt->text(QClipboard::Selection).isEmpty());
}

QTEST_MAIN(TestCopyAction)
#include "tst_copyaction.moc"
