#include "linepane.h"

#include <QLineEdit>
#include <QVariant>

bool LinePane::setText(const QString &text)
{
    m_edit->setText(text);
    return true;
}

bool LinePane::setBackColor(Colour colour)
{
    // A default-constructed palette resolves nothing of its own, so the line
    // edit goes on inheriting the application's.
    QPalette palette;
    if (!colour.isSystem()) {
        palette.setColor(QPalette::Base, colour.toQColor());
        palette.setColor(QPalette::Text, Qt::black);
    }
    m_edit->setPalette(palette);
    // The colour as the program set it, for accessibility tools and tests.
    m_edit->setProperty("backColor", colour.value());
    return true;
}
