#include "captionbutton.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

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

CaptionButton::CaptionButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
}

// The colour is kept by the button, not put in a palette of its own: the style
// keeps one cache of painted bevels per palette, and every coloured button
// with its own palette would fill it with pictures nobody shows.
void CaptionButton::setFaceColour(Colour colour)
{
    m_face = colour.toQColor();
    setProperty("backColor", colour.value());
    update();
}

QRect CaptionButton::captionArea() const
{
    return rect().adjusted(2, 2, -2, -2);
}

QStringList CaptionButton::captionLines() const
{
    fitCaption();
    return m_lines;
}

// Wrapped first, between words (or, for a single word, into even parts); set
// smaller only where the wrapped caption is still too wide or too tall, and
// only as far as needed. Computed once per size and font, not at every paint.
void CaptionButton::fitCaption() const
{
    const QString caption = text();
    if (m_fittedSize == size() && m_fittedFor == font() && m_fittedText == caption && !m_lines.isEmpty())
        return;
    m_fittedSize = size();
    m_fittedFor = font();
    m_fittedText = caption;

    const QStringList words = wordsOf(caption);
    const QRect area = captionArea();
    QFont candidate = font();
    // The desktop's font comes in points, the program's own in pixels.
    const int designed = font().pixelSize() > 0 ? font().pixelSize() : QFontInfo(font()).pixelSize();
    for (int pixels = designed; pixels >= smallestPixels; --pixels) {
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
        if (tallEnough(lines, metrics, pixels, area.height()) || pixels == smallestPixels) {
            if (lines.isEmpty())
                lines = evenParts(caption, metrics, area.width());
            m_lines = lines.isEmpty() ? QStringList(caption) : lines;
            m_captionFont = candidate;
            placeLines();
            return;
        }
    }
}

// Each line centred, its first kanji or kana on a whole pixel: the glyphs of a
// full-width character are then drawn once for every button that shows it,
// instead of once for every quarter pixel it happens to fall on, and stay
// crisp. The caption moves by less than half a pixel.
void CaptionButton::placeLines() const
{
    const QFontMetricsF metrics(m_captionFont);
    const QRect area = captionArea();
    const qreal step = metrics.height() + metrics.leading();
    qreal baseline = area.top() + (area.height() - m_lines.size() * step + metrics.leading()) / 2
            + metrics.ascent();
    m_origins.clear();
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

void CaptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    QPoint shift;
    if (m_face.isValid()) {
        paintFlatFace(painter);
        if (isDown())
            shift = QPoint(1, 1);
        painter.setPen(Qt::black);
    } else {
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        if (isDown()) {
            shift = QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
        }
        painter.setPen(palette().color(QPalette::ButtonText));
    }
    fitCaption();
    painter.setFont(m_captionFont);
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        painter.drawText(m_origins[i] + shift, m_lines[i]);
}

// The face in its exact colour; a one-pixel bevel, light above and left, dark
// below and right, the other way round while pressed; the focus as a dotted
// rectangle inside the bevel, where the button of the next row, which shares
// this button's bottom pixel row, cannot cover it.
void CaptionButton::paintFlatFace(QPainter &painter) const
{
    const QRect r = rect();
    painter.fillRect(r, m_face);
    const QColor light(Qt::white);
    const QColor dark(96, 96, 96);
    const bool down = isDown();
    painter.setPen(down ? dark : light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(down ? light : dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(r.adjusted(2, 2, -3, -3));
    }
}
