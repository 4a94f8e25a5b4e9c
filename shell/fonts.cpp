#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

// Naming a Japanese face explicitly keeps the kanji in their Japanese forms
// even where the desktop's locale would pick a Chinese fallback for them. Only
// the first installed face is handed to Qt: every missing one would cost a
// fallback search at each font size, which doubles the program's start-up.
const QStringList &families()
{
    static const QStringList chosen = [] {
        const QStringList wanted = {
            QStringLiteral("MS UI Gothic"),
            QStringLiteral("Noto Sans CJK JP"),
            QStringLiteral("Noto Sans JP"),
            QStringLiteral("IPAGothic"),
            QStringLiteral("TakaoGothic"),
        };
        // families() lists what is installed; hasFamily() would run
        // fontconfig's alias substitution for every name asked.
        const QStringList installed = QFontDatabase::families();
        for (const QString &family : wanted) {
            if (installed.contains(family))
                return QStringList(family);
        }
        return wanted;
    }();
    return chosen;
}

} // namespace

namespace Fonts {

QFont japanese(int pixelSize)
{
    QFont font;
    font.setFamilies(families());
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont window(const QFont &desktopDefault)
{
    QFont font = desktopDefault;
    font.setFamilies(families() + QStringList(desktopDefault.family()));
    return font;
}

} // namespace Fonts
