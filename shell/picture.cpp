#include "picture.h"

#include <QFile>

namespace {

// Reads a GIF's bytes in order; every read past the end reports failure.
class Reader
{
public:
    explicit Reader(const QByteArray &data) : m_data(data) {}

    bool ok() const { return m_ok; }
    int byte()
    {
        if (m_at >= m_data.size()) {
            m_ok = false;
            return 0;
        }
        return uchar(m_data[m_at++]);
    }
    int word()
    {
        const int low = byte();
        return low | byte() << 8;
    }
    QByteArray take(int count)
    {
        if (count < 0 || m_at + count > m_data.size()) {
            m_ok = false;
            return {};
        }
        m_at += count;
        return m_data.mid(m_at - count, count);
    }
    // A run of data sub-blocks, each led by its length, up to the empty one.
    QByteArray blocks()
    {
        QByteArray joined;
        while (const int length = byte())
            joined += take(length);
        return joined;
    }

private:
    const QByteArray &m_data;
    qsizetype m_at = 0;
    bool m_ok = true;
};

// GIF's variable-length LZW: codes of 3 to 12 bits, least significant bit
// first. Fills `pixels` with `count` colour indices; false if the data is
// damaged or ends early.
bool decompress(const QByteArray &data, int minimumBits, uchar *pixels, qsizetype count)
{
    if (minimumBits < 2 || minimumBits > 8)
        return false;
    constexpr int tableSize = 4096;
    const int clear = 1 << minimumBits;
    const int end = clear + 1;
    // Each code's string: the code of all but its last character, its last
    // character, and its first.
    quint16 prefix[tableSize];
    uchar suffix[tableSize], first[tableSize];
    uchar backwards[tableSize]; // the string being written out, last character first
    for (int code = 0; code < clear; ++code)
        suffix[code] = first[code] = uchar(code);
    const auto *in = reinterpret_cast<const uchar *>(data.constData());
    int bits = minimumBits + 1, next = end + 1, previous = -1;
    quint32 held = 0; // bits read but not yet used, the first in the lowest place
    int heldBits = 0;
    qsizetype byteAt = 0, out = 0;
    while (out < count) {
        while (heldBits < bits) {
            if (byteAt == data.size())
                return false;
            held |= quint32(in[byteAt++]) << heldBits;
            heldBits += 8;
        }
        const int code = int(held & ((1u << bits) - 1));
        held >>= bits;
        heldBits -= bits;
        if (code == clear) {
            bits = minimumBits + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (code == end)
            return false;
        if (previous < 0) {
            if (code >= clear)
                return false;
            pixels[out++] = uchar(code);
            previous = code;
            continue;
        }
        if (code > next || (code == next && next >= tableSize))
            return false;
        // A code not yet in the table stands for the previous code's string
        // and that string's first character.
        int length = 0;
        for (int c = code < next ? code : previous;; c = prefix[c]) {
            backwards[length++] = suffix[c];
            if (c < clear)
                break;
        }
        const uchar head = backwards[length - 1];
        while (length > 0 && out < count)
            pixels[out++] = backwards[--length];
        if (code == next && out < count)
            pixels[out++] = first[previous];
        if (next < tableSize) {
            prefix[next] = quint16(previous);
            suffix[next] = head;
            first[next] = first[previous];
            if (++next == 1 << bits && bits < 12)
                ++bits;
        }
        previous = code;
    }
    return true;
}

} // namespace

namespace Picture {

QImage firstFrame(const QByteArray &gif)
{
    Reader in(gif);
    const QByteArray signature = in.take(6);
    if (signature != "GIF89a" && signature != "GIF87a")
        return {};
    const int width = in.word(), height = in.word(), screenFlags = in.byte();
    in.take(2); // background colour, aspect ratio
    QByteArray palette = screenFlags & 0x80 ? in.take(3 << ((screenFlags & 7) + 1)) : QByteArray();
    int transparent = -1;
    while (in.ok()) {
        const int kind = in.byte();
        if (kind == 0x21) { // an extension; only the graphic control one matters
            const int label = in.byte();
            const QByteArray body = in.blocks();
            if (label == 0xF9 && body.size() >= 4 && (body[0] & 1))
                transparent = uchar(body[3]);
            continue;
        }
        if (kind != 0x2C) // not an image: no frame
            return {};
        const int left = in.word(), top = in.word(), frameWidth = in.word(), frameHeight = in.word();
        const int frameFlags = in.byte();
        if (frameFlags & 0x80)
            palette = in.take(3 << ((frameFlags & 7) + 1));
        if (left != 0 || top != 0 || frameWidth != width || frameHeight != height || (frameFlags & 0x40)
            || width <= 0 || height <= 0 || qsizetype(width) * height > 1 << 24 || palette.isEmpty())
            return {};
        const int minimumBits = in.byte();
        const QByteArray data = in.blocks();
        QByteArray pixels(qsizetype(width) * height, '\0');
        if (!in.ok() || !decompress(data, minimumBits, reinterpret_cast<uchar *>(pixels.data()), pixels.size()))
            return {};
        QRgb colours[256] = {};
        for (int i = 0; i < 256 && 3 * i + 2 < palette.size(); ++i) {
            if (i != transparent)
                colours[i] = qRgb(uchar(palette[3 * i]), uchar(palette[3 * i + 1]), uchar(palette[3 * i + 2]));
        }
        QImage image(width, height, QImage::Format_ARGB32);
        const auto *index = reinterpret_cast<const uchar *>(pixels.constData());
        for (int y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                line[x] = colours[*index++];
        }
        return image;
    }
    return {};
}

QPixmap load(const QString &path)
{
    QFile file(path);
    const QImage image = file.open(QIODevice::ReadOnly) ? firstFrame(file.readAll()) : QImage();
    return image.isNull() ? QPixmap(path, "GIF") : QPixmap::fromImage(image);
}

} // namespace Picture
