#include "fonts.h"

#include <QStringList>

namespace {

// Naming a Japanese face explicitly keeps the kanji in their Japanese forms
// even where the desktop's locale would pick a Chinese fallback for them.
const QStringList families = {
    QStringLiteral("MS UI Gothic"),
    QStringLiteral("Noto Sans CJK JP"),
    QStringLiteral("Noto Sans JP"),
    QStringLiteral("IPAGothic"),
    QStringLiteral("TakaoGothic"),
};

} // namespace

namespace Fonts {

QFont japanese(int pixelSize)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont window(const QFont &desktopDefault)
{
    QFont font = desktopDefault;
    font.setFamilies(families + QStringList(desktopDefault.family()));
    return font;
}

} // namespace Fonts
