#pragma once

#include <QRect>
#include <QtMath>

// The window's layout is given in twips (1/1440 inch). At 96 dots per inch 15
// twips make one logical pixel; Qt scales logical pixels on denser screens, so
// the whole window grows as one piece there.
//
// Where even that does not fit the screen, the window is drawn as a whole at a
// smaller scale (1 is as designed). Each rectangle is then taken from its
// edges, so that controls that share an edge as designed still share it.
namespace Twips {

constexpr int toPixels(int twips, double scale = 1)
{
    return qRound(twips * scale / 15);
}

constexpr QRect rect(int left, int top, int width, int height, double scale = 1)
{
    return QRect(QPoint(toPixels(left, scale), toPixels(top, scale)),
                 QPoint(toPixels(left + width, scale) - 1, toPixels(top + height, scale) - 1));
}

constexpr QRect rect(const QRect &twips, double scale = 1)
{
    return rect(twips.x(), twips.y(), twips.width(), twips.height(), scale);
}

// A size in pixels of the design (a font's, a picture's) at a scale.
constexpr int scaled(int pixels, double scale)
{
    return qRound(pixels * scale);
}

} // namespace Twips
