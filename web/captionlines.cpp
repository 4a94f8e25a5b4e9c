#include "captionlines.h"

#include <utility>

namespace {

bool isKana(QChar c)
{
    return c.script() == QChar::Script_Hiragana || c.script() == QChar::Script_Katakana;
}

// A character's advance in hundredths of an em, as Japanese UI faces have
// them: kanji, kana and full-width signs one em; the half-width forms ("､")
// half; a space a quarter; Latin letters, digits and brackets a little over
// half on average.
int advance(QChar c)
{
    const char16_t u = c.unicode();
    if (u == u' ')
        return 25;
    if (u >= 0xFF61 && u <= 0xFF9F)
        return 50;
    return u < 0x2E80 ? 56 : 100;
}

int width(const QString &text, int pixels)
{
    int hundredths = 0;
    for (QChar c : text)
        hundredths += advance(c);
    return (hundredths * pixels + 99) / 100;
}

// The same breaks as the desktop's caption layout: after spaces, and before
// a kanji that follows kana ("人との|関わり").
QStringList wordsOf(const QString &caption)
{
    QStringList words;
    QString word;
    for (QChar c : caption) {
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

QStringList evenParts(const QString &text, int pixels, int room)
{
    for (qsizetype lines = 1; lines <= text.size(); ++lines) {
        const qsizetype chunk = (text.size() + lines - 1) / lines;
        QStringList parts;
        bool fits = true;
        for (qsizetype at = 0; at < text.size() && fits; at += chunk) {
            parts << text.mid(at, chunk).trimmed();
            fits = width(parts.back(), pixels) <= room;
        }
        if (fits)
            return parts;
    }
    return {};
}

QStringList wholeWords(const QStringList &words, int pixels, int room)
{
    QStringList lines;
    QString line;
    for (const QString &word : words) {
        if (!line.isEmpty() && width((line + word).trimmed(), pixels) > room)
            lines << std::exchange(line, QString()).trimmed();
        line += word;
        if (width(line.trimmed(), pixels) > room)
            return {};
    }
    lines << line.trimmed();
    return lines;
}

} // namespace

namespace CaptionLines {

// Inside the one-pixel bevel and a pixel away from it, as on the desktop. A
// caption that fits on no lines at this size stays one line; at the designed
// sizes every caption fits.
QStringList of(const QString &caption, int fontPixels, int buttonWidth)
{
    const int room = buttonWidth - 4;
    if (width(caption, fontPixels) <= room)
        return { caption };
    const QStringList words = wordsOf(caption);
    QStringList lines = words.size() > 1 ? wholeWords(words, fontPixels, room) : QStringList();
    if (lines.isEmpty())
        lines = evenParts(caption, fontPixels, room);
    return lines.isEmpty() ? QStringList(caption) : lines;
}

} // namespace CaptionLines
