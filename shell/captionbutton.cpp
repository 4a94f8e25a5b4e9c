#include "captionbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace {

// A caption too wide for its button is cut into the fewest lines of equal
// length that fit, so a narrow title button reads "自分" over "自身" rather
// than "自分自" over "身". Captions with spaces wrap at the spaces instead.
QString wrapped(const QString &caption, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(caption) <= width || caption.contains(u' '))
        return caption;
    for (qsizetype lines = 2; lines <= caption.size(); ++lines) {
        const qsizetype chunk = (caption.size() + lines - 1) / lines;
        QStringList parts;
        for (qsizetype at = 0; at < caption.size(); at += chunk)
            parts << caption.mid(at, chunk);
        const bool fits = std::all_of(parts.cbegin(), parts.cend(), [&](const QString &part) {
            return metrics.horizontalAdvance(part) <= width;
        });
        if (fits || chunk == 1)
            return parts.join(u'\n');
    }
    return caption;
}

} // namespace

CaptionButton::CaptionButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
}

void CaptionButton::setFaceColour(Colour colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Button, colour.toQColor());
    pal.setColor(QPalette::ButtonText, Qt::black);
    setPalette(pal);
    setProperty("backColor", colour.value());
}

void CaptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    // The style's content margins would wrap "生きる喜び" in its 73-pixel
    // button; two pixels clear the bevel.
    QRect area = rect().adjusted(2, 2, -2, -2);
    if (isDown()) {
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                     wrapped(caption, fontMetrics(), area.width()));
}
