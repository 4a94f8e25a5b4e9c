#include "captionlayout.h"

#include "captionbreak.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QRect>

#include <algorithm>

namespace {

// The smallest size a caption is set in before its words are given up.
constexpr int smallestPixels = 6;

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
    const QStringList words = CaptionBreak::wordsOf(caption);
    QFont candidate = font;
    // The desktop's font comes in points, the program's own in pixels.
    const int designed = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    const int smallest = std::min(designed, smallestPixels);
    for (int pixels = designed; m_lines.isEmpty(); --pixels) {
        if (pixels != designed)
            candidate.setPixelSize(pixels);
        const QFontMetrics metrics(candidate);
        const auto width = [&metrics](const QString &text) { return metrics.horizontalAdvance(text); };
        QStringList lines;
        if (metrics.horizontalAdvance(caption) <= area.width())
            lines = QStringList(caption);
        else if (words.size() > 1)
            lines = CaptionBreak::wholeWords(words, width, area.width());
        else
            lines = CaptionBreak::evenParts(caption, width, area.width());
        if (tallEnough(lines, metrics, pixels, area.height()) || pixels == smallest) {
            if (lines.isEmpty())
                lines = CaptionBreak::evenParts(caption, width, area.width());
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
            return c.script() == QChar::Script_Han || CaptionBreak::isKana(c);
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
