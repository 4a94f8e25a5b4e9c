#include "copyaction.h"
#include "qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTest>

Q_DECLARE_METATYPE(CopyStep)

namespace {

// Every call of the fakes goes into one log, so the order of the steps across
// panes and clipboard can be checked; the call numbered failAt fails.
struct Log
{
    QStringList calls;
    int failAt = -1;
    bool record(const QString &call)
    {
        calls << call;
        return calls.size() - 1 != failAt;
    }
};

class FakePane : public Pane
{
public:
    FakePane(const QString &name, Log &log, Colour colour) : name(name), colour(colour), log(log) {}
    bool setText(const QString &t) override
    {
        if (!log.record(name + ".Text"))
            return false;
        text = t;
        return true;
    }
    bool setBackColor(Colour c) override
    {
        if (!log.record(name + ".BackColor"))
            return false;
        colour = c;
        return true;
    }
    QString name;
    QString text = QStringLiteral("before");
    Colour colour;
    Log &log;
};

class FakeClipboard : public Clipboard
{
public:
    explicit FakeClipboard(Log &log) : log(log) {}
    bool clear() override
    {
        if (!log.record(QStringLiteral("Clear")))
            return false;
        text.clear();
        return true;
    }
    bool setText(const QString &t) override
    {
        if (!log.record(QStringLiteral("SetText")))
            return false;
        text = t;
        return true;
    }
    QString text = QStringLiteral("previous");
    Log &log;
};

const Colour startColour(0x123456);

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

    Log log;
    FakePane text1(QStringLiteral("Text1"), log, startColour), text2(QStringLiteral("Text2"), log, startColour);
    FakeClipboard clipboard(log);
    QCOMPARE(CopyAction(*Binding::forButton(button)).run({ &text1, &text2 }, clipboard), CopyStep::Done);

    QStringList expected;
    if (!pane.isEmpty())
        expected << pane + ".Text" << pane + ".BackColor";
    expected << "Clear" << "SetText";
    QCOMPARE(log.calls, expected);
    QTEST(clipboard.text, "clipboard");
    for (FakePane *p : { &text1, &text2 }) {
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

    Log log;
    log.failAt = failAt;
    FakePane text1(QStringLiteral("Text1"), log, startColour), text2(QStringLiteral("Text2"), log, startColour);
    FakeClipboard clipboard(log);
    QCOMPARE(CopyAction(*Binding::forButton(button)).run({ &text1, &text2 }, clipboard), step);
    QTEST(int(log.calls.size()), "calls");
    QTEST(text2.text, "paneText");
    QTEST(text2.colour.value(), "paneColour");
    QTEST(clipboard.text, "clipboard");
    QCOMPARE(text1.text, u"before");
}

void TestCopyAction::paneReset()
{
    Log log;
    FakePane pane(QStringLiteral("Text1"), log, Colour(0xFFFFFF));
    QCOMPARE(PaneReset(pane).run(), CopyStep::Done);
    QCOMPARE(pane.text, QString());
    QCOMPARE(pane.colour, Colour::windowBackground());
    QCOMPARE(log.calls, QStringList({ "Text1.Text", "Text1.BackColor" }));

    log.calls.clear();
    log.failAt = 0;
    pane.text = QStringLiteral("typed by the user");
    QCOMPARE(PaneReset(pane).run(), CopyStep::PaneText);
    QCOMPARE(pane.text, u"typed by the user");
}

void TestCopyAction::repeatedPressIsIdempotent()
{
    Log log;
    FakePane text1(QStringLiteral("Text1"), log, startColour), text2(QStringLiteral("Text2"), log, startColour);
    FakeClipboard clipboard(log);
    const CopyAction code(*Binding::forButton(13)), explanation(*Binding::forButton(85));
    code.run({ &text1, &text2 }, clipboard);
    const QString text = text1.text;
    const Colour colour = text1.colour;
    code.run({ &text1, &text2 }, clipboard);
    QCOMPARE(clipboard.text, u"3-(2)");
    explanation.run({ &text1, &text2 }, clipboard);
    QCOMPARE(text1.text, text);
    QCOMPARE(text1.colour, colour);
    QCOMPARE(clipboard.text, Catalogue::item(Curriculum::Old, 13).explanation);
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

    Log log;
    FakePane text1(QStringLiteral("Text1"), log, startColour), text2(QStringLiteral("Text2"), log, startColour);
    QtClipboard clipboard(qt);
    const ButtonBinding binding = *Binding::forButton(button);
    QCOMPARE(CopyAction(binding).run({ &text1, &text2 }, clipboard), CopyStep::Done);

    const QMimeData *now = qt->mimeData();
    QVERIFY(!now->hasImage());
    QVERIFY(!now->hasHtml());
    QCOMPARE(now->formats(), QStringList({ "text/plain" }));
    QCOMPARE(qt->text(), binding.copyText());
    QVERIFY(qt->text(QClipboard::Selection).isEmpty());
}

QTEST_MAIN(TestCopyAction)
#include "tst_copyaction.moc"
