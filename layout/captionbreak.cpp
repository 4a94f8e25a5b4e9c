#include "captionbreak.h"

#include <utility>

namespace CaptionBreak {

bool isKana(QChar c)
{
    return c.script() == QChar::Script_Hiragana || c.script() == QChar::Script_Katakana;
}

QStringList wordsOf(const QString &caption)
{
    QStringList words;
    QString word;
    for (const QChar c : caption) {
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

QStringList wholeWords(const QStringList &words, const Width &width, int room)
{
    QStringList lines;
    QString line;
    for (const QString &word : words) {
        if (!line.isEmpty() && width((line + word).trimmed()) > room)
            lines << std::exchange(line, QString()).trimmed();
        line += word;
        if (width(line.trimmed()) > room)
            return {};
    }
    lines << line.trimmed();
    return lines;
}

QStringList evenParts(const QString &text, const Width &width, int room)
{
    for (qsizetype lines = 1; lines <= text.size(); ++lines) {
        const qsizetype chunk = (text.size() + lines - 1) / lines;
        QStringList parts;
        bool fits = true;
        for (qsizetype at = 0; at < text.size() && fits; at += chunk) {
            parts << text.mid(at, chunk).trimmed();
            fits = width(parts.back()) <= room;
        }
        if (fits)
            return parts;
    }
    return {};
}

} // namespace CaptionBreak
