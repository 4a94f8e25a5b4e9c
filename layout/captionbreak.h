#pragma once

#include <QStringList>

#include <functional>

// Where a button's caption may break, for the window's caption layout and for
// the web edition's page alike: the same lines wherever the caption is set.
// How wide a text is comes from whoever sets it (a font's metrics, or a
// face's usual advances).
namespace CaptionBreak {

using Width = std::function<int(const QString &text)>;

bool isKana(QChar c);

// Where a caption may break: after its spaces, and before a kanji that follows
// kana, so that a word keeps its kana ending ("人との|関わり", "生きる|喜び").
// Each word keeps the spaces after it.
QStringList wordsOf(const QString &caption);

// Whole words, as many to a line as fit; nothing if a word alone is too wide.
QStringList wholeWords(const QStringList &words, const Width &width, int room);

// The fewest lines of equal length that fit, so that a narrow button reads
// "自分" over "自身" rather than "自分自" over "身"; nothing if even one
// character per line is too wide.
QStringList evenParts(const QString &text, const Width &width, int room);

} // namespace CaptionBreak
