// Checks the committed pictures and icon: what their bytes say (frames, timing,
// disposal, transparency, looping; the icon's depth and mask), and that Qt
// loads them as the program will.

#include <QtEndian>
#include <QtTest>
#include <QFile>
#include <QImage>

namespace {

QString resourcePath(const QString &name)
{
    return QStringLiteral(SORELIN_RESOURCES_DIR) + QLatin1Char('/') + name;
}

QByteArray readAll(const QString &name)
{
    QFile f(resourcePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What a GIF file says of itself: header, size, global table, loop count and,
// for each frame, the control extension standing right before its descriptor
// ("delay/disposal/tIndex@left,top wxh").
QString gifFacts(const QByteArray &d)
{
    const auto u16 = [&](qsizetype i) { return uchar(d[i]) | uchar(d[i + 1]) << 8; };
    const qsizetype loop = d.indexOf("\x21\xFF\x0BNETSCAPE2.0\x03\x01");
    QStringList frames;
    for (qsizetype at = d.indexOf("\x21\xF9\x04"); at >= 0 && at + 18 <= d.size(); at = d.indexOf("\x21\xF9\x04", at + 1)) {
        if (d[at + 7] != 0 || uchar(d[at + 8]) != 0x2C)
            continue;
        const int flags = uchar(d[at + 3]);
        frames << QStringLiteral("%1/%2/t%3@%4,%5 %6x%7%8").arg(u16(at + 4)).arg((flags >> 2) & 7)
                          .arg(flags & 1 ? uchar(d[at + 6]) : -1).arg(u16(at + 9)).arg(u16(at + 11))
                          .arg(u16(at + 13)).arg(u16(at + 15)).arg(uchar(d[at + 17]) & 0x80 ? " local table" : "");
    }
    return QStringLiteral("%1 %2x%3, %4 colours, loop %5: %6")
            .arg(QString::fromLatin1(d.left(6))).arg(u16(6)).arg(u16(8))
            .arg(uchar(d[10]) & 0x80 ? 2 << (uchar(d[10]) & 7) : 0).arg(loop < 0 ? -1 : u16(loop + 16))
            .arg(frames.join(QStringLiteral("; ")));
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT
private slots:
    void gif_data();
    void gif();
    void icon();
};

void TestResources::gif_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("facts");

    QTest::newRow("tab 0") << "tab0.gif"
        << "GIF89a 58x33, 64 colours, loop 0: 460/1/t63@0,0 58x33; 20/1/t63@11,6 20x11";
    QTest::newRow("tab 1") << "tab1.gif"
        << "GIF89a 48x40, 64 colours, loop 0: 30/2/t63@0,0 48x40; 30/2/t63@0,0 48x40";
    QTest::newRow("Image1") << "image1.gif"
        << "GIF89a 217x46, 256 colours, loop -1: 0/0/t111@0,0 217x46";
}

void TestResources::gif()
{
    QFETCH(QString, file);
    const QByteArray bytes = readAll(file);
    QTEST(gifFacts(bytes), "facts");
    QVERIFY2(bytes.endsWith(';'), "no trailer");
    // Qt shows the first frame with the tab's face through the transparent index.
    const QImage first(resourcePath(file));
    QCOMPARE(first.size(), QSize(uchar(bytes[6]) | uchar(bytes[7]) << 8, uchar(bytes[8]) | uchar(bytes[9]) << 8));
    QVERIFY(first.hasAlphaChannel() && first.pixelColor(0, 0).alpha() == 0);
}

// 32 x 32, 24-bit colour under a 1-bit mask that agrees with the PNG copy the
// window shows (Qt's reader drops the mask of 24-bit icons).
void TestResources::icon()
{
    const QByteArray d = readAll(QStringLiteral("brevant.ico"));
    const auto u16 = [&](int i) { return qFromLittleEndian<quint16>(d.constData() + i); };
    const int colourBytes = 32 * 32 * 3, maskBytes = 32 * 4;
    QCOMPARE(d.size(), 6 + 16 + 40 + colourBytes + maskBytes);
    QCOMPARE(QStringLiteral("%1 entry, %2x%3, %4 bpp").arg(u16(4)).arg(uchar(d[6])).arg(uchar(d[7])).arg(u16(22 + 14)),
             u"1 entry, 32x32, 24 bpp");
    const QImage png = QImage(resourcePath(QStringLiteral("brevant.png"))).convertToFormat(QImage::Format_ARGB32);
    const QByteArray mask = d.right(maskBytes);
    int masked = 0, differ = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) { // mask rows bottom-up, a set bit transparent
            const bool clear = (uchar(mask[(31 - y) * 4 + x / 8]) >> (7 - x % 8)) & 1;
            masked += clear;
            differ += clear != (qAlpha(png.pixel(x, y)) == 0);
        }
    }
    QVERIFY2(masked > 0 && masked < 32 * 32, "the mask is empty or full");
    QCOMPARE(differ, 0);
}

QTEST_GUILESS_MAIN(TestResources)
#include "tst_resources.moc"
