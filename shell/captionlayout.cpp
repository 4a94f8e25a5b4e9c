#include "captionlayout.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <utility>

namespace {

// The smallest size a caption is set in before its words are given up.
constexpr int smallestPixels = 6;

bool isKana(QChar c)
{
    return c.script() == QChar::Script_Hiragana || c.script() == QChar::Script_Katakana;
}

// Where a caption may break: after its spaces, and before a kanji that follows
// kana, so that a word keeps its kana ending ("人との|関わり", "生きる|喜び").
// Each word keeps the spaces after it.
QStringList wordsOf(const QString &caption)
{
    QStringList words;
    QString word;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        const bool breakBefore = !word.isEmpty()
                && ((word.back().isSpace() && !c.isSpace())
                    || (c.script() == QChar::Script_Han && isKana(word.back())));
        if (breakBefore)
            words << std::exchange(word, QString());
        word += c;
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

// The fewest lines of equal length that fit, so that a narrow button reads
// "自分" over "自身" rather than "自分自" over "身"; nothing if even one
// character per line is too wide.
QStringList evenParts(const QString &text, const QFontMetrics &metrics, int width)
{
    for (qsizetype lines = 1; lines <= text.size(); ++lines) {
        const qsizetype chunk = (text.size() + lines - 1) / lines;
        QStringList parts;
        bool fits = true;
        for (qsizetype at = 0; at < text.size() && fits; at += chunk) {
            parts << text.mid(at, chunk).trimmed();
            fits = metrics.horizontalAdvance(parts.back()) <= width;
        }
        if (fits)
            return parts;
    }
    return {};
}

// Whole words, as many to a line as fit; nothing if a word alone is too wide.
QStringList wholeWords(const QStringList &words, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    QString line;
    for (const QString &word : words) {
        if (!line.isEmpty() && metrics.horizontalAdvance((line + word).trimmed()) > width)
            lines << std::exchange(line, QString()).trimmed();
        line += word;
        if (metrics.horizontalAdvance(line.trimmed()) > width)
            return {};
    }
    lines << line.trimmed();
    return lines;
}

// Kanji, kana and the codes' characters stay within the em square; the rest
// of a line's height (nearly half an em more in Noto Sans CJK) is room for
// marks no caption has. So the lines are centred as usual, but only the em of
// the last one needs to fit.
bool tallEnough(const QStringList &lines, const QFontMetrics &metrics, int pixels, int height)
{
    return !lines.isEmpty() && (lines.size() - 1) * metrics.lineSpacing() + pixels <= height;
}

} // namespace

// Wrapped first, between words (or, for a single word, into even parts); set
// smaller only where the wrapped caption is still too wide or too tall, and
// only as far as needed.
CaptionLayout::CaptionLayout(const QFont &font, QSize buttonSize, const QString &caption)
{
    // Inside the one-pixel bevel, and a pixel away from it.
    const QRect area = QRect(QPoint(0, 0), buttonSize).adjusted(2, 2, -2, -2);
    const QStringList words = wordsOf(caption);
    QFont candidate = font;
    // The desktop's font comes in points, the program's own in pixels.
    const int designed = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    const int smallest = std::min(designed, smallestPixels);
    for (int pixels = designed; m_lines.isEmpty(); --pixels) {
        if (pixels != designed)
            candidate.setPixelSize(pixels);
        const QFontMetrics metrics(candidate);
        QStringList lines;
        if (metrics.horizontalAdvance(caption) <= area.width())
            lines = QStringList(caption);
        else if (words.size() > 1)
            lines = wholeWords(words, metrics, area.width());
        else
            lines = evenParts(caption, metrics, area.width());
        if (tallEnough(lines, metrics, pixels, area.height()) || pixels == smallest) {
            if (lines.isEmpty())
                lines = evenParts(caption, metrics, area.width());
            m_lines = lines.isEmpty() ? QStringList(caption) : lines;
            m_font = candidate;
        }
    }

    // Each line centred, its first kanji or kana on a whole pixel: the glyphs
    // of a full-width character are then drawn once for every button that
    // shows it, instead of once for every quarter pixel it happens to fall
    // on, and stay crisp. The caption moves by less than half a pixel.
    const QFontMetricsF metrics(m_font);
    const qreal step = metrics.height() + metrics.leading();
    qreal baseline = area.top() + (area.height() - m_lines.size() * step + metrics.leading()) / 2
            + metrics.ascent();
    for (const QString &line : std::as_const(m_lines)) {
        const auto ideograph = std::find_if(line.cbegin(), line.cend(), [](QChar c) {
            return c.script() == QChar::Script_Han || isKana(c);
        });
        const qreal before = metrics.horizontalAdvance(line.left(ideograph - line.cbegin()));
        const qreal left = area.left() + (area.width() - metrics.horizontalAdvance(line)) / 2;
        m_origins << QPointF(qRound(left + before) - before, qRound(baseline));
        baseline += step;
    }
}

void CaptionLayout::draw(QPainter &painter, QPoint shift) const
{
    painter.setFont(m_font);
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        painter.drawText(m_origins[i] + shift, m_lines[i]);
}
