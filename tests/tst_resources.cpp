// Checks the committed pictures and icon: the GIF block structure is walked
// here byte by byte (frames, timing, disposal, transparency, looping), and Qt's
// own readers check that the files load as the program will load them.

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

struct Reader {
    const QByteArray &d;
    qsizetype p = 0;
    bool ok = true;
    int u8() { if (p >= d.size()) { ok = false; return 0; } return uchar(d[p++]); }
    int u16() { const int lo = u8(); return lo | (u8() << 8); }
    QByteArray take(qsizetype n)
    {
        if (n < 0 || p + n > d.size()) { ok = false; return {}; }
        p += n;
        return d.mid(p - n, n);
    }
    QByteArray subBlocks()
    {
        QByteArray out;
        for (int n = u8(); ok && n != 0; n = u8())
            out += take(n);
        return out;
    }
};

struct Gif {
    QString facts;        // header, size, table, loop count, then each frame
    QSize size;
    bool complete = false;
};

Gif parseGif(const QByteArray &d)
{
    Gif g;
    Reader r{d};
    const QByteArray signature = r.take(6);
    g.size.setWidth(r.u16());
    g.size.setHeight(r.u16());
    const int packed = r.u8();
    r.take(2);
    const int tableSize = (packed & 0x80) ? 2 << (packed & 7) : 0;
    r.take(3 * tableSize);
    int loop = -1;
    QStringList frames;   // "delay/disposal/tIndex@left,top wxh"
    QString control = QStringLiteral("-");
    while (r.ok) {
        const int block = r.u8();
        if (block == 0x3B) {
            g.complete = r.ok && r.p == d.size();
            break;
        }
        if (block == 0x21) {
            const int label = r.u8();
            const QByteArray body = r.subBlocks();
            if (label == 0xF9 && body.size() == 4) {
                const int flags = uchar(body[0]);
                control = QStringLiteral("%1/%2/t%3")
                              .arg(uchar(body[1]) | uchar(body[2]) << 8)
                              .arg((flags >> 2) & 7)
                              .arg((flags & 1) ? uchar(body[3]) : -1);
            } else if (label == 0xFF && body.size() == 14 && body.startsWith("NETSCAPE2.0")
                       && body[11] == 1) {
                loop = uchar(body[12]) | uchar(body[13]) << 8;
            }
        } else if (block == 0x2C) {
            const int left = r.u16(), top = r.u16(), w = r.u16(), h = r.u16();
            const int flags = r.u8();
            if (flags & 0x80)
                r.take(3 * (2 << (flags & 7)));
            r.u8(); // LZW minimum code size
            r.subBlocks();
            frames << QStringLiteral("%1@%2,%3 %4x%5%6").arg(control).arg(left).arg(top)
                          .arg(w).arg(h).arg((flags & 0x80) ? " local table" : "");
            control = QStringLiteral("-");
        } else {
            break;
        }
    }
    g.facts = QStringLiteral("%1 %2x%3, %4 colours, loop %5: %6")
                  .arg(QString::fromLatin1(signature)).arg(g.size.width())
                  .arg(g.size.height()).arg(tableSize).arg(loop)
                  .arg(frames.join(QStringLiteral("; ")));
    return g;
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
    const Gif g = parseGif(readAll(file));
    QTEST(g.facts, "facts");
    QVERIFY2(g.complete, "no trailer, or bytes after it");
    // Qt shows the first frame with the tab's face through the transparent index.
    const QImage first(resourcePath(file));
    QCOMPARE(first.size(), g.size);
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
