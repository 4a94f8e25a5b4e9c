#include "layout.h"

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

} // namespace

namespace Layout {

QRect pane(Curriculum set)
{
    return QRect(120, set == Curriculum::Old ? 10320 : 9600, 5775, 735);
}

Line line(Curriculum set)
{
    return { 120, 5880, set == Curriculum::Old ? 10200 : 9480 };
}

QRect button(const ButtonBinding &binding)
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

// 12 px is 9 pt, 13 px 9.75 pt. The old tab sets its keywords and titles a
// size smaller than the new one, whose titles use the window's font.
int buttonFontPixels(const ButtonBinding &binding)
{
    const bool old = binding.curriculum == Curriculum::Old;
    switch (binding.kind) {
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

std::optional<Colour> faceColour(const ButtonBinding &binding)
{
    switch (binding.kind) {
    case ButtonKind::Code:
    case ButtonKind::Keyword:
        return binding.viewpoint().paneColour;
    case ButtonKind::CodeKeyword:
        return binding.viewpoint().strongColour;
    case ButtonKind::ViewpointTitle:
        return Colour(0xC0C0C0);
    case ButtonKind::SubjectTitle:
        return Colour(0xE0E0E0);
    case ButtonKind::Explanation:
        break;
    }
    return std::nullopt;
}

QStringList japaneseFaces()
{
    return {
        QStringLiteral("MS UI Gothic"),
        QStringLiteral("Noto Sans CJK JP"),
        QStringLiteral("Noto Sans JP"),
        QStringLiteral("IPAGothic"),
        QStringLiteral("TakaoGothic"),
    };
}

} // namespace Layout
