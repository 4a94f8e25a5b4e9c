#include "binding.h"
#include "buttongrid.h"
#include "captionlayout.h"
#include "fonts.h"
#include "layout.h"
#include "twips.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTest>

class TestCaptionLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionsFit_data();
    void captionsFit();
};

void TestCaptionLayout::captionsFit_data()
{
    QTest::addColumn<int>("points"); // the desktop's font size; 0: as it is
    QTest::addColumn<int>("button"); // 0: none
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("pixels"); // the size they are set in
    QTest::addColumn<double>("scale"); // the window's, on a screen too small for it
    QTest::newRow("desktop") << 0 << 189 << QStringList{ u"自分"_qs, u"自身"_qs } << 12 << 1.0;
    QTest::newRow("8 pt") << 8 << 192 << QStringList{ u"生命自"_qs, u"然崇高"_qs } << 11 << 1.0;
    QTest::newRow("12 pt") << 12 << 190 << QStringList{ u"人との"_qs, u"関わり"_qs } << 12 << 1.0; // not "人と|の関|わり"
    QTest::newRow("14 pt") << 14 << 192 << QStringList{ u"生命"_qs, u"自然"_qs, u"崇高"_qs } << 18 << 1.0;
    QTest::newRow("16 pt") << 16 << 96 << QStringList{ u"説明文"_qs } << 20 << 1.0; // 21 px too wide
    QTest::newRow("drawn at 0.85") << 0 << 192 << QStringList{ u"生命自"_qs, u"然崇高"_qs } << 10 << 0.85;
    for (int points : { 9, 10, 11, 13, 15 })
        QTest::addRow("%d pt", points) << points << 0 << QStringList() << 0 << 1.0;
}

// On desktop fonts from 8 to 16 points every caption stays whole and clear of
// its button's bevel and the pixel beside it: wrapped between words or into
// even parts, and set smaller only where that is not enough.
void TestCaptionLayout::captionsFit()
{
    QFETCH(int, points);
    QFETCH(int, button);
    QFETCH(double, scale);
    QFont desktop = QGuiApplication::font();
    if (points)
        desktop.setPointSize(points);
    for (int number = 1; number <= Binding::buttonCount; ++number) {
        const ButtonBinding binding = *Binding::forButton(number);
        QImage outside(Twips::rect(Layout::button(binding), scale).size(), QImage::Format_ARGB32_Premultiplied);
        const CaptionLayout layout(ButtonGrid::fontOf(binding, Fonts::window(desktop, scale), scale), outside.size(),
                                   binding.caption());
        QCOMPARE(layout.lines().join(QString()).remove(u' ').remove(u'　'), binding.caption().remove(u' ').remove(u'　'));
        outside.fill(Qt::transparent);
        const QImage blank = outside;
        QPainter painter(&outside);
        layout.draw(painter);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(outside.rect().adjusted(2, 2, -2, -2), Qt::transparent);
        painter.end();
        QVERIFY2(outside == blank, qPrintable(binding.caption()));
        if (number == button) {
            QTEST(layout.lines(), "lines");
            QTEST(QFontInfo(layout.font()).pixelSize(), "pixels");
        }
    }
}

QTEST_MAIN(TestCaptionLayout)
#include "tst_captionlayout.moc"
