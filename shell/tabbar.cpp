#include "tabbar.h"

#include <QPainter>

void TabBar::paintEvent(QPaintEvent *event)
{
    QTabBar::paintEvent(event);
    if (currentIndex() < 0)
        return;
    constexpr int band = 3;
    const QRect tab = tabRect(currentIndex()).adjusted(1, 1, -1, 0);
    QPainter(this).fillRect(tab.x(), tab.y(), tab.width(), band, palette().color(QPalette::Highlight));
}

void TabBar::focusInEvent(QFocusEvent *event)
{
    // The style draws the focus rectangle only once the focus has been moved
    // by keyboard; the tabs show it whenever they have the focus, at start too.
    window()->setAttribute(Qt::WA_KeyboardFocusChange);
    QTabBar::focusInEvent(event);
}
