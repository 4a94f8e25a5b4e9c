#include "fonts.h"

#include "layout.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

// Naming a Japanese face explicitly keeps the kanji in their Japanese forms
// even where the desktop's locale would pick a Chinese fallback for them. Only
// the first installed face is handed to Qt: every missing one would cost a
// fallback search at each font size, which doubles the program's start-up.
struct Choice
{
    QStringList families;
    bool installed = false;
};

const Choice &choice()
{
    static const Choice chosen = [] {
        const QStringList wanted = Layout::japaneseFaces();
        // families() lists what is installed; hasFamily() would run
        // fontconfig's alias substitution for every name asked.
        const QStringList installed = QFontDatabase::families();
        for (const QString &family : wanted) {
            if (installed.contains(family))
                return Choice{ QStringList(family), true };
        }
        return Choice{ wanted, false };
    }();
    return chosen;
}

// With one of the faces above installed, every character the program shows is
// in it: looking for other faces (font merging) is only cost, and so is the
// OpenType shaper, which kanji, kana and ASCII do not need (it would only
// kern a few pairs, such as "Ta", by a pixel or less). Without any of these
// faces Qt must find the glyphs wherever they are.
void onlyTheChosenFace(QFont &font)
{
    if (choice().installed)
        font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferNoShaping));
}

} // namespace

namespace Fonts {

QFont japanese(int pixelSize)
{
    QFont font = editable(pixelSize);
    onlyTheChosenFace(font);
    return font;
}

QFont editable(int pixelSize)
{
    QFont font;
    font.setFamilies(choice().families);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont window(const QFont &desktopDefault, double scale)
{
    QFont font = desktopDefault;
    if (scale != 1 && font.pixelSize() > 0)
        font.setPixelSize(qMax(1, qRound(font.pixelSize() * scale)));
    else if (scale != 1)
        font.setPointSizeF(font.pointSizeF() * scale);
    font.setFamilies(choice().families + QStringList(desktopDefault.family()));
    onlyTheChosenFace(font);
    return font;
}

} // namespace Fonts
