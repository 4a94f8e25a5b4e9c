#include "binding.h"

namespace {

// The buttons are numbered in runs that follow the catalogue order: a run's
// first button serves row 1, the next row 2, and so on.
struct Run
{
    int first;
    ButtonKind kind;
    Curriculum curriculum;
    int count;
};

constexpr Run runs[] = {
    { 1, ButtonKind::Code, Curriculum::Old, 24 },
    { 25, ButtonKind::Keyword, Curriculum::Old, 24 },
    { 49, ButtonKind::CodeKeyword, Curriculum::Old, 24 },
    { 73, ButtonKind::Explanation, Curriculum::Old, 24 },
    { 97, ButtonKind::ViewpointTitle, Curriculum::Old, 4 },
    { 101, ButtonKind::Code, Curriculum::New, 22 },
    { 123, ButtonKind::Keyword, Curriculum::New, 22 },
    { 145, ButtonKind::CodeKeyword, Curriculum::New, 22 },
    { 167, ButtonKind::Explanation, Curriculum::New, 22 },
    { 189, ButtonKind::ViewpointTitle, Curriculum::New, 4 },
    { 193, ButtonKind::SubjectTitle, Curriculum::New, 1 },
};

QString explanationCaption()
{
    return QStringLiteral(u"説明文");
}

// The keyword captions are spaced to the width of four characters for the
// eye ("人 間 愛", "感　　謝"); a screen reader would read the gaps aloud.
QString unspaced(const QString &caption)
{
    QString text = caption;
    return text.remove(u' ').remove(QChar(0x3000));
}

} // namespace

const Viewpoint &ButtonBinding::viewpoint() const
{
    return kind == ButtonKind::ViewpointTitle ? Catalogue::viewpoint(curriculum, row)
                                              : Catalogue::viewpointOf(item());
}

QString ButtonBinding::caption() const
{
    switch (kind) {
    case ButtonKind::Code:
        return item().codeCaption;
    case ButtonKind::Keyword:
        return item().keywordCaption;
    case ButtonKind::CodeKeyword:
        return item().code + u' ' + item().keywordCaption;
    case ButtonKind::Explanation:
        return explanationCaption();
    case ButtonKind::ViewpointTitle:
        return viewpoint().titleCaption;
    case ButtonKind::SubjectTitle:
        return Catalogue::subjectTitle();
    }
    return {};
}

// A listener meets the buttons one at a time, without the grid around them:
// each name carries what the eye takes from the row or the column, the item's
// code for an explanation and the viewpoint's label for a title.
QString ButtonBinding::spokenName() const
{
    switch (kind) {
    case ButtonKind::Code:
        return item().code; // not the caption, which has a trailing space once
    case ButtonKind::Keyword:
        return unspaced(item().keywordCaption);
    case ButtonKind::CodeKeyword:
        return item().code + u' ' + unspaced(item().keywordCaption);
    case ButtonKind::Explanation:
        return item().code + u' ' + explanationCaption();
    case ButtonKind::ViewpointTitle:
        return QString(viewpoint().label) + u' ' + viewpoint().titleCaption;
    case ButtonKind::SubjectTitle:
        return Catalogue::subjectTitle();
    }
    return {};
}

QString ButtonBinding::copyText() const
{
    switch (kind) {
    case ButtonKind::Code:
        return item().code;
    case ButtonKind::Keyword:
        return item().heading;
    case ButtonKind::CodeKeyword:
        return item().codeKeyword;
    case ButtonKind::Explanation:
        return item().explanation;
    case ButtonKind::ViewpointTitle:
        return viewpoint().titleText;
    case ButtonKind::SubjectTitle:
        return Catalogue::subjectTitle();
    }
    return {};
}

namespace Binding {

std::optional<ButtonBinding> forButton(int number)
{
    for (const Run &run : runs) {
        if (number >= run.first && number < run.first + run.count) {
            const int row = run.kind == ButtonKind::SubjectTitle ? 0 : number - run.first + 1;
            return ButtonBinding{ run.kind, run.curriculum, row };
        }
    }
    return std::nullopt;
}

} // namespace Binding
