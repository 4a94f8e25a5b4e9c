#pragma once

#include <QRect>

// The window's layout is given in twips (1/1440 inch). At 96 dots per inch 15
// twips make one logical pixel; Qt scales logical pixels on denser screens, so
// the whole window grows as one piece there.
namespace Twips {

constexpr int toPixels(int twips)
{
    return twips / 15;
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

constexpr QRect rect(const QRect &twips)
{
    return rect(twips.x(), twips.y(), twips.width(), twips.height());
}

} // namespace Twips
