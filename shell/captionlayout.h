#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QSize>
#include <QStringList>

class QPainter;

// Where a button's caption goes: centred, and whole inside the bevel and the
// pixel beside it. A caption too wide is wrapped, and where even that does
// not fit (a large desktop font) it is set a size smaller. Worked out once for
// a font, a button size and a caption; drawn as often as the button is.
class CaptionLayout
{
public:
    CaptionLayout() = default;
    CaptionLayout(const QFont &font, QSize buttonSize, const QString &caption);

    const QStringList &lines() const { return m_lines; }
    const QFont &font() const { return m_font; } // the lines are set in it
    const QList<QPointF> &origins() const { return m_origins; } // baseline start of each line

    // The lines in the painter's pen, moved by `shift` (a pressed button's).
    void draw(QPainter &painter, QPoint shift = QPoint()) const;

private:
    QStringList m_lines;
    QFont m_font;
    QList<QPointF> m_origins;
};
