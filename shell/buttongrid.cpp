#include "buttongrid.h"

#include "captionbutton.h"
#include "fonts.h"
#include "layout.h"
#include "tabstrip.h"
#include "twips.h"

namespace ButtonGrid {

QFont fontOf(const ButtonBinding &binding, const QFont &windowFont, double scale)
{
    const int pixels = Layout::buttonFontPixels(binding);
    return pixels ? Fonts::japanese(Twips::scaled(pixels, scale)) : windowFont;
}

QList<Button> create(TabStrip *strip, const QFont &windowFont, Curriculum set, double scale)
{
    QList<Button> buttons;
    for (int number = 1; number <= Binding::buttonCount; ++number) {
        const ButtonBinding binding = *Binding::forButton(number);
        if (binding.curriculum != set)
            continue;
        auto *widget = new CaptionButton(binding.caption());
        widget->setObjectName(QStringLiteral("Command%1").arg(number));
        // Heard rather than seen: the caption without its spacing, and the
        // very text a press will paste, so that a listener can tell the 46
        // "説明文" buttons apart.
        widget->setAccessibleName(binding.spokenName());
        widget->setAccessibleDescription(binding.copyText());

        widget->setFont(fontOf(binding, windowFont, scale));

        if (const std::optional<Colour> face = Layout::faceColour(binding))
            widget->setFaceColour(*face); // else the platform's own button face

        // Sized before it is shown, or showing it would lay out its caption
        // for a size hint nobody uses.
        widget->setGeometry(Twips::rect(Layout::button(binding), scale));
        strip->place(widget, Layout::tabOf(set));
        buttons.append({ binding, widget });
    }
    return buttons;
}

} // namespace ButtonGrid
