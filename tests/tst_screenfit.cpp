#include "screenfit.h"

#include <QTest>

// Where the framed window goes on screens of every common size: at its
// designed place where it fits, else moved the least, else drawn at the
// largest uniform scale that fits and then moved in.
class TestScreenFit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fits_data();
    void fits();
};

void TestScreenFit::fits_data()
{
    QTest::addColumn<QRect>("available"); // the screen less its panels
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("place"); // of the client area
    const QMargins openbox(1, 22, 1, 5), windows(8, 31, 8, 8);
    QTest::newRow("fits as designed") << QRect(0, 0, 1280, 1024) << openbox << QRect(50, 72, 424, 784);
    QTest::newRow("moved up the least") << QRect(0, 0, 1280, 840) << openbox << QRect(50, 51, 424, 784);
    QTest::newRow("1366x768, 40 px panel") << QRect(0, 0, 1366, 728) << openbox << QRect(50, 22, 379, 701);
    QTest::newRow("panel at the top") << QRect(0, 30, 1366, 738) << openbox << QRect(50, 52, 385, 711);
    QTest::newRow("1920x1080 at 150 %, task bar") << QRect(0, 0, 1280, 688) << windows << QRect(50, 31, 351, 649);
    QTest::newRow("narrow") << QRect(0, 0, 380, 1000) << openbox << QRect(1, 72, 378, 699);
}

void TestScreenFit::fits()
{
    QFETCH(QRect, available);
    QFETCH(QMargins, frame);
    const QSize designed(424, 784);
    const double scale = ScreenFit::scale(designed, frame, available);
    // Drawn as a whole at one scale, never larger than designed.
    const QRect client(QPoint(50, 72), QSize(qRound(designed.width() * scale), qRound(designed.height() * scale)));
    const QRect place = ScreenFit::fitted(client, frame, available);
    QTEST(place, "place");
    QVERIFY(available.contains(place.marginsAdded(frame)));
    // The largest such scale: a little larger no longer fits.
    QVERIFY(scale == 1 || designed.width() * (scale + 0.005) + frame.left() + frame.right() > available.width()
            || designed.height() * (scale + 0.005) + frame.top() + frame.bottom() > available.height());
}

QTEST_GUILESS_MAIN(TestScreenFit)
#include "tst_screenfit.moc"
