#include "binding.h"

#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(Curriculum)
Q_DECLARE_METATYPE(ButtonKind)

class TestCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void viewpoints_data();
    void viewpoints();
    void items_data();
    void items();
    void exactTexts_data();
    void exactTexts();
    void workedExamples();
    void bindingRuns_data();
    void bindingRuns();
    void bindingCoversEveryRowOnce();
};

static const char *tag(Curriculum c)
{
    return c == Curriculum::Old ? "old" : "new";
}

void TestCatalogue::viewpoints_data()
{
    QTest::addColumn<Curriculum>("curriculum");
    QTest::addColumn<int>("place");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("firstCode");
    QTest::addColumn<QString>("lastCode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");
    QTest::addColumn<quint32>("pane");
    QTest::addColumn<quint32>("strong");

    auto row = [](Curriculum c, int place, int count, const char *first, const char *last,
                  const char16_t *caption, const char16_t *title, quint32 pane, quint32 strong) {
        QTest::addRow("%s-%d", tag(c), place)
                << c << place << count << QString::fromLatin1(first) << QString::fromLatin1(last)
                << QString::fromUtf16(caption) << QString::fromUtf16(title) << pane << strong;
    };
    const Curriculum O = Curriculum::Old, N = Curriculum::New;
    row(O, 1, 5, "1-(1)", "1-(5)", u"自分自身", u"１　主として自分自身に関すること", 0xFFFFC0, 0xFFFF80);
    row(O, 2, 6, "2-(1)", "2-(6)", u"人との関わり", u"２　主として他の人とのかかわりに関すること", 0xC0FFFF, 0x80FFFF);
    row(O, 3, 3, "3-(1)", "3-(3)", u"自然崇高", u"３　主として自然や崇高なものとのかかわりに関すること", 0xC0FFC0, 0x80FF80);
    row(O, 4, 10, "4-(1)", "4-(10)", u"集団社会", u"４　主として集団や社会とのかかわりに関すること", 0xC0C0FF, 0x8080FF);
    row(N, 1, 5, "A-(1)", "A-(5)", u"自分自身", u"Ａ　主として自分自身に関すること", 0xFFFFC0, 0xFFFF80);
    row(N, 2, 4, "B-(6)", "B-(9)", u"人との関わり", u"Ｂ　主として人との関わりに関すること", 0xC0FFFF, 0x80FFFF);
    row(N, 3, 9, "C-(10)", "C-(18)", u"集団社会", u"Ｃ　主として集団や社会との関わりに関すること", 0xC0C0FF, 0x8080FF);
    row(N, 4, 4, "D-(19)", "D-(22)", u"生命自然崇高", u"Ｄ　主として生命や自然、崇高なものとの関わりに関すること", 0xC0FFC0, 0x80FF80);
}

void TestCatalogue::viewpoints()
{
    QFETCH(Curriculum, curriculum);
    QFETCH(int, place);
    QFETCH(int, count);
    QFETCH(QString, firstCode);
    QFETCH(QString, lastCode);

    QCOMPARE(Catalogue::items(curriculum).size(), curriculum == Curriculum::Old ? 24 : 22);
    QCOMPARE(Catalogue::viewpoints(curriculum).size(), 4);
    const Viewpoint &vp = Catalogue::viewpoint(curriculum, place);
    QCOMPARE(vp.itemCount, count);
    QCOMPARE(Catalogue::item(curriculum, vp.firstPosition).code, firstCode);
    QCOMPARE(Catalogue::item(curriculum, vp.firstPosition + count - 1).code, lastCode);
    QTEST(vp.titleCaption, "caption");
    QTEST(vp.titleText, "title");
    QTEST(vp.paneColour.value(), "pane");
    QTEST(vp.strongColour.value(), "strong");

    int members = 0;
    for (const ContentItem &item : Catalogue::items(curriculum)) {
        if (item.viewpointPlace == place) {
            ++members;
            QCOMPARE(item.code.at(0), vp.label);
        }
    }
    QCOMPARE(members, count);
}

void TestCatalogue::items_data()
{
    QTest::addColumn<Curriculum>("curriculum");
    QTest::addColumn<int>("position");
    for (Curriculum c : { Curriculum::Old, Curriculum::New }) {
        for (const ContentItem &item : Catalogue::items(c))
            QTest::addRow("%s %s", tag(c), qPrintable(item.code)) << c << item.position;
    }
}

// What every item must satisfy, whatever its wording.
void TestCatalogue::items()
{
    QFETCH(Curriculum, curriculum);
    QFETCH(int, position);
    const ContentItem &item = Catalogue::item(curriculum, position);
    const bool old = curriculum == Curriculum::Old;

    QVERIFY(QRegularExpression(old ? QStringLiteral("^[1-4]-\\(([1-9]|10)\\)$")
                                   : QStringLiteral("^[A-D]-\\(([1-9]|1[0-9]|2[0-2])\\)$"))
                    .match(item.code).hasMatch());
    if (!old)
        QCOMPARE(item.number, position); // new items are numbered through the set
    QCOMPARE(item.codeKeyword, item.code + u' ' + item.heading);

    const ButtonBinding codeKeyword{ ButtonKind::CodeKeyword, curriculum, position };
    QCOMPARE(codeKeyword.caption(), item.code + u' ' + item.keywordCaption);

    // Keyword captions take the width of four full-width characters.
    const QString caption = item.keywordCaption;
    const QString bare = QString(caption).remove(u' ').remove(QChar(0x3000));
    if (bare.size() == 3)
        QCOMPARE(caption, QString(bare.at(0)) + u' ' + bare.at(1) + u' ' + bare.at(2));
    else if (bare.size() == 2)
        QCOMPARE(caption, bare.at(0) + QString(2, QChar(0x3000)) + bare.at(1));
    else
        QCOMPARE(caption, bare);

    const QString &ex = item.explanation;
    QVERIFY2(ex.size() >= (old ? 26 : 28) && ex.size() <= (old ? 61 : 94), qPrintable(ex));
    if (!old)
        QVERIFY(ex.endsWith(u"こと。"));
    else if (item.code == u"1-(2)" || item.code == u"1-(5)")
        QVERIFY(ex.endsWith(QChar(0xFF61)));
    else
        QVERIFY(ex.endsWith(QChar(0x3002)));
    QCOMPARE(ex.count(QChar(0x3002)) + ex.count(QChar(0xFF61)), 1); // one sentence

    // The correspondence relation reads the same from both sides.
    QVERIFY(item.partners.size() == 1 || item.partners.size() == 2);
    const Curriculum other = Catalogue::other(curriculum);
    for (int partner : item.partners) {
        const ContentItem &p = Catalogue::item(other, partner);
        QVERIFY2(p.partners.contains(position), qPrintable(item.code + " / " + p.code));
        QVERIFY(item.correspondence.contains(p.code.left(2)));
    }
    QVERIFY(item.correspondence.startsWith(Catalogue::prefix(curriculum) + item.code + QStringLiteral(u" ＝ ")
                                           + Catalogue::prefix(other)));
    // Viewpoints pair 1-A, 2-B, 3-D, 4-C.
    static const int pairs[] = { 0, 1, 2, 4, 3 };
    QCOMPARE(Catalogue::item(other, item.partners.first()).viewpointPlace, pairs[item.viewpointPlace]);
}

void TestCatalogue::exactTexts_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    const auto old = [](int p) { return Catalogue::item(Curriculum::Old, p); };
    const auto fresh = [](int p) { return Catalogue::item(Curriculum::New, p); };
    const auto row = [](const char *tag, const QString &actual, const char16_t *expected) {
        QTest::newRow(tag) << actual << QString::fromUtf16(expected);
    };
    row("3-(2) pane", old(13).correspondence, u"旧3-(2) ＝ 新D-(20),(21)");
    row("4-(10) pane", old(24).correspondence, u"旧4-(10) ＝ 新C-(18)");
    row("B-(6) pane", fresh(6).correspondence, u"新B-(6) ＝ 旧2-(2)(6)");
    row("C-(15) pane", fresh(15).correspondence, u"新C-(15) ＝ 旧4-(4)(7)");
    row("D-(21) pane", fresh(21).correspondence, u"新D-(21) ＝ 旧3-(2)");
    row("1-(1) heading", old(1).codeKeyword, u"1-(1) 望ましい生活習慣、心身の健康\uFF64節度節制");
    row("1-(2) heading", old(2).heading, u"希望、勇気、強い意思");
    row("1-(2) sentence", old(2).explanation, u"より高い目標を目指し、希望と勇気をもって着実にやり抜く強い意志をもつ\uFF61");
    row("2-(1) sentence", old(6).explanation, u"礼儀の意義を理解し、時と場に応じた適切な言動をとる。");
    row("2-(3) heading", old(8).heading, u"友情\u30FB信頼");
    row("B-(8) heading", fresh(8).heading, u"友情、信頼");
    row("A-(5) sentence", fresh(5).explanation, u"真実を大切にし、真理を探究して新しいものを生み出そうと努めること。");
    row("2-(6) caption", old(11).keywordCaption, u"感\u3000\u3000謝");
    row("subject", Catalogue::subjectTitle(), u"特別の教科\u3000道徳");
}

void TestCatalogue::exactTexts()
{
    QFETCH(QString, actual);
    QTEST(actual, "expected");
}

void TestCatalogue::workedExamples()
{
    const ContentItem &b7 = Catalogue::item(Curriculum::New, 7);
    QCOMPARE(b7.code, u"B-(7)");
    QCOMPARE(b7.codeKeyword, u"B-(7) 礼儀");
    QCOMPARE(b7.correspondence, u"新B-(7) ＝ 旧2-(1)");
    QCOMPARE(Catalogue::viewpointOf(b7).paneColour.value(), 0xC0FFFFu);
    QStringList captions;
    for (int n = 107; n <= 173; n += 22)
        captions << Binding::forButton(n)->caption();
    QCOMPARE(captions, QStringList({ u"B-(7)"_qs, u"礼\u3000\u3000儀"_qs, u"B-(7) 礼\u3000\u3000儀"_qs, u"説明文"_qs }));

    const ButtonBinding c13 = *Binding::forButton(13);
    QCOMPARE(c13.kind, ButtonKind::Code);
    QCOMPARE(c13.item().correspondence, u"旧3-(2) ＝ 新D-(20),(21)");
    QCOMPARE(c13.copyText(), u"3-(2)");

    const ButtonBinding c190 = *Binding::forButton(190);
    QCOMPARE(c190.kind, ButtonKind::ViewpointTitle);
    QCOMPARE(c190.copyText(), u"Ｂ　主として人との関わりに関すること");
}

void TestCatalogue::bindingRuns_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<ButtonKind>("kind");
    QTest::addColumn<Curriculum>("curriculum");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");
    using K = ButtonKind;
    const Curriculum O = Curriculum::Old, N = Curriculum::New;
    const struct { int number; K kind; Curriculum c; int row; const char16_t *caption; } rows[] = {
        { 1, K::Code, O, 1, u"1-(1)" }, { 10, K::Code, O, 10, u"2-(5) " }, { 24, K::Code, O, 24, u"4-(10)" },
        { 25, K::Keyword, O, 1, u"生活習慣" }, { 48, K::Keyword, O, 24, u"国際理解" },
        { 49, K::CodeKeyword, O, 1, u"1-(1) 生活習慣" }, { 58, K::CodeKeyword, O, 10, u"2-(5) 個性立場" },
        { 72, K::CodeKeyword, O, 24, u"4-(10) 国際理解" }, { 73, K::Explanation, O, 1, u"説明文" },
        { 96, K::Explanation, O, 24, u"説明文" }, { 97, K::ViewpointTitle, O, 1, u"自分自身" },
        { 100, K::ViewpointTitle, O, 4, u"集団社会" }, { 101, K::Code, N, 1, u"A-(1)" },
        { 122, K::Code, N, 22, u"D-(22)" }, { 123, K::Keyword, N, 1, u"自主自律" },
        { 144, K::Keyword, N, 22, u"生きる喜び" }, { 145, K::CodeKeyword, N, 1, u"A-(1) 自主自律" },
        { 166, K::CodeKeyword, N, 22, u"D-(22) 生きる喜び" }, { 167, K::Explanation, N, 1, u"説明文" },
        { 188, K::Explanation, N, 22, u"説明文" }, { 189, K::ViewpointTitle, N, 1, u"自分自身" },
        { 192, K::ViewpointTitle, N, 4, u"生命自然崇高" }, { 193, K::SubjectTitle, N, 0, u"特別の教科　道徳" },
    };
    for (const auto &r : rows)
        QTest::addRow("Command%d", r.number) << r.number << r.kind << r.c << r.row << QString::fromUtf16(r.caption);
}

void TestCatalogue::bindingRuns()
{
    QFETCH(int, number);
    const std::optional<ButtonBinding> b = Binding::forButton(number);
    QVERIFY(b);
    QTEST(b->kind, "kind");
    if (b->kind != ButtonKind::SubjectTitle)
        QTEST(b->curriculum, "curriculum");
    QTEST(b->row, "row");
    QTEST(b->caption(), "caption");
}

// Each item and viewpoint has exactly one button of each kind, and the
// numbering is the same read both ways.
void TestCatalogue::bindingCoversEveryRowOnce()
{
    QVERIFY(!Binding::forButton(0));
    QVERIFY(!Binding::forButton(194));
    QSet<QString> seen;
    for (int n = 1; n <= Binding::buttonCount; ++n) {
        const ButtonBinding b = *Binding::forButton(n);
        const QString key = QStringLiteral("%1/%2/%3").arg(int(b.kind)).arg(int(b.curriculum)).arg(b.row);
        QVERIFY2(!seen.contains(key), qPrintable(key));
        seen.insert(key);
        QCOMPARE(Binding::buttonNumber(b.kind, b.curriculum, b.row), n);
        const int rows = b.kind == ButtonKind::ViewpointTitle ? 4
                : b.kind == ButtonKind::SubjectTitle ? 1
                : Catalogue::items(b.curriculum).size();
        QVERIFY(b.kind == ButtonKind::SubjectTitle ? b.row == 0 : (b.row >= 1 && b.row <= rows));
        // No caption but Command10's begins or ends with a space of either width.
        const QString caption = b.caption();
        QCOMPARE(caption.trimmed().size() == caption.size(), n != 10);
    }
    QCOMPARE(seen.size(), 4 * 24 + 4 + 4 * 22 + 4 + 1);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
