#include "colour.h"

#include <QColor>
#include <QPalette>

QColor Colour::toQColor(const QPalette &palette) const
{
    if (!isSystem())
        return QColor(red(), green(), blue());
    // Index 5 is the background of text fields; the program uses no other
    // system colour, so anything else falls back to the window face.
    return palette.color(systemIndex() == 5 ? QPalette::Base : QPalette::Window);
}
