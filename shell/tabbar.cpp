#include "tabbar.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>

TabBar::TabBar(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
}

void TabBar::addTab(const QIcon &picture, const QString &caption)
{
    m_tabs.append({ picture, caption });
    update();
    if (m_current < 0)
        setCurrentIndex(0);
}

void TabBar::setCurrentIndex(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    m_current = index;
    update();
    if (QAccessible::isActive()) {
        if (hasFocus()) {
            QAccessibleEvent focus(this, QAccessible::Focus);
            focus.setChild(index);
            QAccessible::updateAccessibility(&focus);
        }
        QAccessibleEvent selection(this, QAccessible::Selection);
        selection.setChild(index);
        QAccessible::updateAccessibility(&selection);
    }
    Q_EMIT currentChanged(index);
}

QString TabBar::tabText(int index) const
{
    return index >= 0 && index < count() ? m_tabs[index].caption : QString();
}

void TabBar::setIconSize(const QSize &size)
{
    m_iconSize = size;
    update();
}

// Equal shares of the row's width, the first tab taking the odd pixel, from
// the left, or from the right in a right-to-left layout. The tabs are as tall
// as the taller of caption and picture, with the style's margins; a row lower
// than that cuts off their bottoms, where the page's frame runs. Painting,
// clicks, the strip's frame and a screen reader all take the tabs' places
// from here.
QRect TabBar::tabRect(int index) const
{
    if (index < 0 || index >= count())
        return {};
    const int left = (index * width() + count() - 1) / count();
    const int right = ((index + 1) * width() + count() - 1) / count();
    QStyleOptionTab tab;
    tab.initFrom(this);
    tab.shape = QTabBar::RoundedNorth;
    const QSize contents(right - left, qMax(fontMetrics().height(), m_iconSize.height())
                                 + style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &tab, this));
    const QRect place(left, 0, right - left, style()->sizeFromContents(QStyle::CT_TabBarTab, &tab, contents, this).height());
    return QStyle::visualRect(layoutDirection(), rect(), place);
}

QStyleOptionTab TabBar::option(int index) const
{
    QStyleOptionTab tab;
    tab.initFrom(this);
    tab.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    if (index == m_current) {
        tab.state |= QStyle::State_Selected;
        if (hasFocus())
            tab.state |= QStyle::State_HasFocus;
    }
    if (isActiveWindow())
        tab.state |= QStyle::State_Active;
    tab.shape = QTabBar::RoundedNorth;
    tab.rect = tabRect(index);
    tab.text = m_tabs[index].caption;
    tab.icon = m_tabs[index].picture;
    tab.iconSize = m_iconSize;
    tab.tabIndex = index;
    if (count() == 1)
        tab.position = QStyleOptionTab::OnlyOneTab;
    else if (index == 0)
        tab.position = QStyleOptionTab::Beginning;
    else if (index + 1 == count())
        tab.position = QStyleOptionTab::End;
    else
        tab.position = QStyleOptionTab::Middle;
    if (m_current >= 0 && index == m_current + 1)
        tab.selectedPosition = QStyleOptionTab::PreviousIsSelected;
    else if (index + 1 == m_current)
        tab.selectedPosition = QStyleOptionTab::NextIsSelected;
    else
        tab.selectedPosition = QStyleOptionTab::NotAdjacent;
    return tab;
}

void TabBar::focusInEvent(QFocusEvent *event)
{
    // The style draws the focus rectangle only once the focus has been moved
    // by keyboard; the tabs show it whenever they have the focus, at start too.
    window()->setAttribute(Qt::WA_KeyboardFocusChange);
    QWidget::focusInEvent(event);
}

// The arrow keys select the next tab on their side as the tabs are drawn:
// in a right-to-left layout the first tab is the rightmost.
void TabBar::keyPressEvent(QKeyEvent *event)
{
    const Qt::Key back = isRightToLeft() ? Qt::Key_Right : Qt::Key_Left;
    const Qt::Key forward = isRightToLeft() ? Qt::Key_Left : Qt::Key_Right;
    if (event->key() == back)
        setCurrentIndex(m_current - 1);
    else if (event->key() == forward)
        setCurrentIndex(m_current + 1);
    else
        event->ignore();
}

void TabBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    for (int i = 0; i < count(); ++i) {
        if (tabRect(i).contains(event->position().toPoint()))
            setCurrentIndex(i);
    }
}

// The other tabs first, then the selected one over them, as tab bars are drawn.
void TabBar::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        if (i != m_current)
            painter.drawControl(QStyle::CE_TabBarTab, option(i));
    }
    if (m_current < 0)
        return;
    painter.drawControl(QStyle::CE_TabBarTab, option(m_current));
    constexpr int band = 3;
    const QRect tab = tabRect(m_current).adjusted(1, 1, -1, 0);
    painter.fillRect(tab.x(), tab.y(), tab.width(), band, palette().color(QPalette::Highlight));
}
