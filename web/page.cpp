#include "page.h"

#include "captionlines.h"
#include "layout.h"
#include "twips.h"

#include <QMap>

namespace {

// The desktop takes the size of the desktop's own font for the controls that
// have none of their own (the explanation buttons, the new set's titles);
// 9 pt, 12 px, is the usual one, and the one the layout was made for.
constexpr int windowFontPixels = 12;

// After the desktop's faces, the Japanese UI faces the devices bring with them:
// macOS and iPadOS, then Windows, then whatever the system calls its own.
const char *const deviceFaces[] = { "Hiragino Sans", "Hiragino Kaku Gothic ProN", "Yu Gothic UI", "Meiryo UI" };

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString px(int pixels)
{
    return pixels ? QStringLiteral("%1px").arg(pixels) : QStringLiteral("0");
}

// A place in pixels, as Twips::rect rounds it for the desktop, as CSS.
QString box(const QRect &place)
{
    return QStringLiteral("left:%1;top:%2;width:%3;height:%4")
            .arg(px(place.x()), px(place.y()), px(place.width()), px(place.height()));
}

QString css(Colour colour)
{
    if (colour.isSystem())
        return QStringLiteral("Canvas"); // the window (text field) background
    return QStringLiteral("#%1%2%3")
            .arg(colour.red(), 2, 16, QChar(u'0'))
            .arg(colour.green(), 2, 16, QChar(u'0'))
            .arg(colour.blue(), 2, 16, QChar(u'0'));
}

QString fontFamilies()
{
    QStringList families;
    for (const QString &face : Layout::japaneseFaces())
        families << u'"' + face + u'"';
    for (const char *face : deviceFaces)
        families << u'"' + QString::fromLatin1(face) + u'"';
    families << QStringLiteral("system-ui") << QStringLiteral("sans-serif");
    return families.join(u',');
}

int fontOf(const ButtonBinding &binding)
{
    const int pixels = Layout::buttonFontPixels(binding);
    return pixels ? pixels : windowFontPixels;
}

// A class for each column of each set (place across, height and font) and
// one for each face colour, so that a button's own rule holds only its row.
QString columnClass(const ButtonBinding &binding)
{
    return QStringLiteral("k%1%2").arg(int(binding.kind)).arg(Layout::tabOf(binding.curriculum));
}

struct Faces
{
    QMap<quint32, int> classOf; // colour → class number, in order of first use
    int of(Colour colour)
    {
        auto found = classOf.find(colour.value());
        if (found == classOf.end())
            found = classOf.insert(colour.value(), int(classOf.size()));
        return *found;
    }
};

// The class that draws a run of spaces after the character before it, and
// what it draws.
QString gapClass(const QString &gap)
{
    return QStringLiteral("g%1").arg(gap.size()) + (gap.at(0) == u' ' ? u'a' : u'w');
}

// A caption as the page sets it: what it shows, and, as text, only what a
// screen reader says of the button. The spaces that set a caption's
// characters apart ("人 間 愛", "礼　　儀") and are not heard ("人間愛",
// "礼儀") are drawn by the stylesheet after the character before them, and
// the desktop's lines end at <wbr> in a box no wider than its widest line,
// so that the text a reader finds in the button is the name it hears.
QString captionMarkup(const ButtonBinding &binding, QMap<QString, QString> *gaps = nullptr)
{
    const QString heard = binding.spokenName();
    QStringList shown;
    for (const QString &line : CaptionLines::of(binding.caption(), fontOf(binding),
                                                Twips::rect(Layout::button(binding)).width())) {
        QString html;
        for (int i = 0, end; i < line.size(); i = end) {
            for (end = i + 1; end < line.size() && line.at(end).isSpace(); ++end) {}
            const QString gap = line.mid(i + 1, end - i - 1);
            if (gap.isEmpty() || end == line.size() || heard.contains(line.mid(i, end - i + 1))) {
                html += escaped(line.mid(i, end - i));
                continue;
            }
            html += QStringLiteral("<span class=\"%1\">%2</span>").arg(gapClass(gap), escaped(line.at(i)));
            if (gaps)
                gaps->insert(gapClass(gap), gap);
        }
        shown << html;
    }
    return shown.size() == 1 ? shown.first()
                             : QStringLiteral("<span class=\"w\">%1</span>").arg(shown.join(QStringLiteral("<wbr>")));
}

QString button(int number, Faces &faces)
{
    const ButtonBinding binding = *Binding::forButton(number);
    QString classes = columnClass(binding);
    if (const std::optional<Colour> face = Layout::faceColour(binding))
        classes += QStringLiteral(" f c%1").arg(faces.of(*face));
    // The row whose correspondence a click shows; 0 for a title, which
    // blanks its pane; none for the subject's button, which leaves both.
    QString row;
    if (binding.isItem())
        row = QStringLiteral(" data-r=\"%1\"").arg(binding.row);
    else if (binding.kind == ButtonKind::ViewpointTitle)
        row = QStringLiteral(" data-r=\"0\"");
    return QStringLiteral("<button type=\"button\" id=\"Command%1\" class=\"%2\"%3 aria-label=\"%4\" "
                          "aria-description=\"%5\">%6</button>\n")
            .arg(number)
            .arg(classes, row, escaped(binding.spokenName()), escaped(binding.copyText()),
                 captionMarkup(binding));
}

QString pane(const QString &name, Curriculum set)
{
    return QStringLiteral("<input type=\"text\" id=\"%1\" aria-label=\"%2\" autocomplete=\"off\" spellcheck=\"false\">\n")
            .arg(name, escaped(Catalogue::paneName(set)));
}

QString credit(const QString &name)
{
    return QStringLiteral("<div id=\"%1\" class=\"cr\">%2</div>\n").arg(name, escaped(Catalogue::creditLine()));
}

QString tab(int index, bool selected)
{
    const Curriculum set = index == 0 ? Curriculum::Old : Curriculum::New;
    // The caption is drawn with its leading space, and heard without it.
    const QString caption = Catalogue::tabCaption(set);
    return QStringLiteral("<button type=\"button\" role=\"tab\" id=\"tab%1\" aria-controls=\"panel%1\" "
                          "aria-selected=\"%2\" tabindex=\"%3\" aria-label=\"%4\"><img src=\"tab%1.png\" alt=\"\">"
                          "<span>%5</span></button>\n")
            .arg(index)
            .arg(selected ? QStringLiteral("true") : QStringLiteral("false"),
                 selected ? QStringLiteral("0") : QStringLiteral("-1"), escaped(caption.trimmed()),
                 escaped(caption));
}

} // namespace

namespace Page {

// Each tab's controls in a panel of their own, the old set's first; within a
// panel the buttons in number order, then the pane, then the subject's
// button: hidden controls are skipped, so Tab walks exactly the desktop's
// keyboard order. The window opens on the new set.
QString form()
{
    Faces faces;
    // The window is the page's main part, headed by its title, heard and not seen.
    QString html = QStringLiteral("<main id=\"Form1\">\n<h1 class=\"vh\">%1</h1>\n<div id=\"SSTab1\">\n<div role=\"tablist\" id=\"tabBar\">\n")
                           .arg(escaped(Catalogue::windowTitle()));
    html += tab(0, false) + tab(1, true) + QStringLiteral("</div>\n");
    for (const Curriculum set : { Curriculum::Old, Curriculum::New }) {
        const int index = Layout::tabOf(set);
        html += QStringLiteral("<div role=\"tabpanel\" id=\"panel%1\" aria-labelledby=\"tab%1\"%2>\n")
                        .arg(index)
                        .arg(set == Curriculum::New ? QString() : QStringLiteral(" hidden"));
        int subject = 0;
        for (int number = 1; number <= Binding::buttonCount; ++number) {
            const ButtonBinding binding = *Binding::forButton(number);
            if (binding.curriculum != set)
                continue;
            if (binding.kind == ButtonKind::SubjectTitle)
                subject = number;
            else
                html += button(number, faces);
        }
        html += pane(set == Curriculum::Old ? QStringLiteral("Text1") : QStringLiteral("Text2"), set);
        if (subject)
            html += button(subject, faces);
        html += credit(set == Curriculum::Old ? QStringLiteral("Label1") : QStringLiteral("Label2"));
        html += QStringLiteral("<hr id=\"%1\">\n").arg(set == Curriculum::Old ? u"Line2" : u"Line1");
        if (set == Curriculum::New)
            html += QStringLiteral("<img id=\"Image1\" src=\"image1.png\" alt=\"\">\n");
        html += QStringLiteral("</div>\n");
    }
    html += QStringLiteral("</div>\n<div id=\"note\" role=\"alert\" hidden></div>\n</main>\n");
    return html;
}

QString placeRules()
{
    QString rules;
    const QRect window = Twips::rect(QRect(QPoint(), Layout::window.size()));
    const QRect strip = Twips::rect(Layout::strip);
    const int tabRow = Twips::toPixels(Layout::tabRowHeight);
    rules += QStringLiteral("body{font-family:%1}\n").arg(fontFamilies());
    rules += QStringLiteral("#Form1{width:%1;height:%2;font-size:%3}\n")
                     .arg(px(window.width()), px(window.height()), px(windowFontPixels));
    rules += QStringLiteral("#SSTab1{%1}\n").arg(box(strip));
    // The row of tabs, each an equal share of it, the first taking the odd
    // pixel; the strip's frame under it, its top line the row's last.
    rules += QStringLiteral("#tabBar{height:%1;font-size:%2}\n").arg(px(tabRow), px(Layout::tabFontPixels));
    for (int i = 0; i < 2; ++i) {
        const int left = (i * strip.width() + 1) / 2;
        const int right = ((i + 1) * strip.width() + 1) / 2;
        rules += QStringLiteral("#tab%1{width:%2}\n").arg(i).arg(px(right - left));
    }
    rules += QStringLiteral("#SSTab1::before{top:%1}\n").arg(px(tabRow - 1));

    QMap<QString, QRect> columns; // the first button's place in each column
    QMap<QString, int> rowTops;
    Faces faces;
    for (int number = 1; number <= Binding::buttonCount; ++number) {
        const ButtonBinding binding = *Binding::forButton(number);
        const QRect place = Twips::rect(Layout::button(binding));
        const QString column = columnClass(binding);
        if (!columns.contains(column)) {
            columns.insert(column, place);
            rules += QStringLiteral(".%1{left:%2;width:%3;height:%4;font-size:%5}\n")
                             .arg(column, px(place.x()), px(place.width()), px(place.height()),
                                  px(fontOf(binding)));
        }
        // The buttons of an item's row share their top, by the row formula;
        // a title has its own top and height. Whatever differs from the
        // column and the row goes into the button's own rule.
        const QString row = QStringLiteral("#panel%1 [data-r=\"%2\"]")
                                    .arg(Layout::tabOf(binding.curriculum))
                                    .arg(binding.row);
        const bool firstOfRow = binding.isItem() && !rowTops.contains(row);
        if (firstOfRow) {
            rowTops.insert(row, place.y());
            rules += QStringLiteral("%1{top:%2}\n").arg(row, px(place.y()));
        }
        const QRect shared = columns[column];
        QStringList own;
        if (!binding.isItem() || rowTops[row] != place.y())
            own << QStringLiteral("top:") + px(place.y());
        if (place.x() != shared.x())
            own << QStringLiteral("left:") + px(place.x());
        if (place.width() != shared.width())
            own << QStringLiteral("width:") + px(place.width());
        if (place.height() != shared.height())
            own << QStringLiteral("height:") + px(place.height());
        if (!own.isEmpty())
            rules += QStringLiteral("#Command%1{%2}\n").arg(number).arg(own.join(u';'));
        if (const std::optional<Colour> face = Layout::faceColour(binding)) {
            const bool first = !faces.classOf.contains(face->value());
            const int index = faces.of(*face);
            if (first)
                rules += QStringLiteral("[role=tabpanel] .c%1{background:%2}\n").arg(index).arg(css(*face));
        }
    }

    for (const Curriculum set : { Curriculum::Old, Curriculum::New }) {
        const bool old = set == Curriculum::Old;
        const Layout::Line line = Layout::line(set);
        const int left = Twips::toPixels(line.left);
        rules += QStringLiteral("#%1{%2;font-size:%3}\n")
                         .arg(old ? u"Text1" : u"Text2", box(Twips::rect(Layout::pane(set))),
                              px(Layout::paneFontPixels));
        rules += QStringLiteral("#%1{left:%2;top:%3;width:%4}\n")
                         .arg(old ? u"Line2" : u"Line1", px(left), px(Twips::toPixels(line.y)),
                              px(Twips::toPixels(line.right) - left + 1));
    }
    // Text1 opens white, Text2 in the window's background colour.
    rules += QStringLiteral("#Text1{background-color:%1}\n#Text2{background-color:%2}\n")
                     .arg(css(Colour(0xFFFFFF)), css(Colour::windowBackground()));
    const QRect credit = Twips::rect(Layout::credit);
    rules += QStringLiteral(".cr{%1;line-height:%2;font-size:%3}\n")
                     .arg(box(credit), px(credit.height()), px(Layout::creditFontPixels));
    rules += QStringLiteral("#Image1{%1}\n").arg(box(Twips::rect(Layout::image1)));
    QMap<QString, QString> gaps;
    for (int number = 1; number <= Binding::buttonCount; ++number)
        captionMarkup(*Binding::forButton(number), &gaps);
    for (auto gap = gaps.cbegin(); gap != gaps.cend(); ++gap) {
        QString drawn;
        for (const QChar c : gap.value())
            drawn += QStringLiteral("\\%1").arg(c.unicode(), 0, 16);
        rules += QStringLiteral(".%1::after{content:\"%2\"}\n").arg(gap.key(), drawn);
    }
    return rules;
}

QString scriptData()
{
    auto quoted = [](const QString &text) {
        QString out = text;
        out.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
        return u'"' + out + u'"';
    };
    QStringList texts[2];
    QStringList colours[2];
    for (const Curriculum set : { Curriculum::Old, Curriculum::New }) {
        const int index = Layout::tabOf(set);
        for (const ContentItem &item : Catalogue::items(set)) {
            texts[index] << quoted(item.correspondence);
            colours[index] << quoted(css(Catalogue::viewpointOf(item).paneColour));
        }
    }
    const QSize window = Twips::rect(QRect(QPoint(), Layout::window.size())).size();
    return QStringLiteral("const SIZE=[%1,%2];\n").arg(window.width()).arg(window.height())
            + QStringLiteral("const PANE=[[%1],[%2]],COLOUR=[[%3],[%4]],BLANK=%5,FAILURE=%6;\n")
                      .arg(texts[0].join(u','), texts[1].join(u','), colours[0].join(u','), colours[1].join(u','),
                           quoted(css(Colour::windowBackground())), quoted(Catalogue::failureMessage()));
}

} // namespace Page
