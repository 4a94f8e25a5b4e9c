#pragma once

#include "catalogue.h"

#include <optional>

// What each of the buttons Command1 … Command193 stands for.

enum class ButtonKind { Code, Keyword, CodeKeyword, Explanation, ViewpointTitle, SubjectTitle };

struct ButtonBinding
{
    ButtonKind kind = ButtonKind::SubjectTitle;
    Curriculum curriculum = Curriculum::New;
    // Item position for the four item kinds, viewpoint place for ViewpointTitle,
    // 0 for SubjectTitle.
    int row = 0;

    bool isItem() const { return kind != ButtonKind::ViewpointTitle && kind != ButtonKind::SubjectTitle; }
    const ContentItem &item() const { return Catalogue::item(curriculum, row); }
    const Viewpoint &viewpoint() const;

    QString caption() const;    // what the button shows
    QString copyText() const;   // what the button puts on the clipboard
    QString spokenName() const; // what a screen reader says the button is
};

namespace Binding {

constexpr int buttonCount = 193;

// The binding of button number 1 … 193; nothing for any other number.
std::optional<ButtonBinding> forButton(int number);

} // namespace Binding
