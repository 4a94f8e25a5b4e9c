#include "captionlines.h"

#include "captionbreak.h"

namespace {

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
    const auto widthAt = [fontPixels](const QString &text) { return width(text, fontPixels); };
    const QStringList words = CaptionBreak::wordsOf(caption);
    QStringList lines = words.size() > 1 ? CaptionBreak::wholeWords(words, widthAt, room) : QStringList();
    if (lines.isEmpty())
        lines = CaptionBreak::evenParts(caption, widthAt, room);
    return lines.isEmpty() ? QStringList(caption) : lines;
}

} // namespace CaptionLines
