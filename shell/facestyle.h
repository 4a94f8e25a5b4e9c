#pragma once

#include <QProxyStyle>

// The program's style: Fusion, which paints the panes in the colours the
// program gives them on every desktop, and flat faces for the push buttons
// given a face colour (their dynamic property "backColor", 0xBBGGRR). Such a
// face is its colour exactly, inside a one-pixel bevel, whatever the desktop
// theme; pressed, the bevel turns over and the caption moves a pixel down and
// to the right.
class FaceStyle : public QProxyStyle
{
public:
    FaceStyle();

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
};
