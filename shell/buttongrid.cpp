#include "buttongrid.h"

#include "captionbutton.h"
#include "fonts.h"
#include "tabstrip.h"
#include "twips.h"

namespace {

struct Column
{
    int left;
    int width;
};

Column columnOf(ButtonKind kind)
{
    switch (kind) {
    case ButtonKind::ViewpointTitle:
        return { 120, 615 };
    case ButtonKind::Code:
        return { 840, 855 };
    case ButtonKind::Keyword:
        return { 1800, 1095 };
    case ButtonKind::CodeKeyword:
        return { 3000, 1815 };
    case ButtonKind::Explanation:
        return { 4920, 975 };
    case ButtonKind::SubjectTitle:
        return { 120, 1935 };
    }
    return {};
}

constexpr int firstRowTop = 960;
constexpr int rowPitch = 360;     // one pixel less than a button, so edges share a row
constexpr int viewpointGap = 120; // extra space between two viewpoints
constexpr int rowHeight = 375;

int rowTop(int position, int viewpointPlace)
{
    return firstRowTop + rowPitch * (position - 1) + viewpointGap * (viewpointPlace - 1);
}

// 12 px is 9 pt, 13 px 9.75 pt. The old tab sets its keywords and titles a
// size smaller than the new one, whose titles use the window's font.
int fontPixels(ButtonKind kind, Curriculum curriculum)
{
    const bool old = curriculum == Curriculum::Old;
    switch (kind) {
    case ButtonKind::ViewpointTitle:
        return old ? 12 : 0;
    case ButtonKind::Keyword:
        return old ? 12 : 13;
    case ButtonKind::Code:
    case ButtonKind::CodeKeyword:
    case ButtonKind::SubjectTitle:
        return 13;
    case ButtonKind::Explanation:
        return 0;
    }
    return 0;
}

} // namespace

namespace ButtonGrid {

QRect placeInTwips(const ButtonBinding &binding)
{
    const Column column = columnOf(binding.kind);
    switch (binding.kind) {
    case ButtonKind::ViewpointTitle: {
        const Viewpoint &vp = binding.viewpoint();
        return QRect(column.left, rowTop(vp.firstPosition, vp.place), column.width,
                     rowPitch * (vp.itemCount - 1) + rowHeight);
    }
    case ButtonKind::SubjectTitle:
        return QRect(column.left, 10440, column.width, 975);
    default:
        return QRect(column.left, rowTop(binding.row, binding.item().viewpointPlace), column.width,
                     rowHeight);
    }
}

QFont fontOf(const ButtonBinding &binding, const QFont &windowFont, double scale)
{
    const int pixels = fontPixels(binding.kind, binding.curriculum);
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

        switch (binding.kind) {
        case ButtonKind::Code:
        case ButtonKind::Keyword:
            widget->setFaceColour(binding.viewpoint().paneColour);
            break;
        case ButtonKind::CodeKeyword:
            widget->setFaceColour(binding.viewpoint().strongColour);
            break;
        case ButtonKind::ViewpointTitle:
            widget->setFaceColour(Colour(0xC0C0C0));
            break;
        case ButtonKind::SubjectTitle:
            widget->setFaceColour(Colour(0xE0E0E0));
            break;
        case ButtonKind::Explanation:
            break; // the platform's own button face
        }

        // Sized before it is shown, or showing it would lay out its caption
        // for a size hint nobody uses.
        widget->setGeometry(Twips::rect(placeInTwips(binding), scale));
        strip->place(widget, set == Curriculum::Old ? 0 : 1);
        buttons.append({ binding, widget });
    }
    return buttons;
}

} // namespace ButtonGrid
