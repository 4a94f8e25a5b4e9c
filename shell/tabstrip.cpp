#include "tabstrip.h"

#include <QIcon>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

TabStrip::TabStrip(int tabRowHeight, QWidget *parent)
    : QWidget(parent), m_tabBar(new QTabBar(this)), m_tabRowHeight(tabRowHeight)
{
    m_tabBar->setObjectName(QStringLiteral("tabBar"));
    m_tabBar->setExpanding(true);
    m_tabBar->setDrawBase(false);
    m_tabBar->setFocusPolicy(Qt::TabFocus);
    setFocusProxy(m_tabBar);

    connect(m_tabBar, &QTabBar::currentChanged, this, [this](int tab) {
        const int previous = m_current;
        showControlsOf(tab);
        if (previous >= 0 && previous != tab)
            Q_EMIT clicked(previous);
    });
}

void TabStrip::addTab(const QString &caption, const QPixmap &picture)
{
    m_controls.append(QList<QWidget *>());
    // Pictures are drawn at their own size: the icon size is the largest of them.
    m_tabBar->setIconSize(m_tabBar->iconSize().expandedTo(picture.size()));
    m_tabBar->addTab(QIcon(picture), caption);
}

void TabStrip::setTabFont(const QFont &font)
{
    m_tabBar->setFont(font);
}

void TabStrip::place(QWidget *control, int tab)
{
    control->setParent(this);
    m_controls[tab].append(control);
    control->setVisible(tab == m_current);
}

void TabStrip::setCurrentTab(int tab)
{
    // Selecting a tab from the program is not a user's click.
    const QSignalBlocker quiet(this);
    m_tabBar->setCurrentIndex(tab);
}

int TabStrip::currentTab() const
{
    return m_current;
}

void TabStrip::showControlsOf(int tab)
{
    m_current = tab;
    for (int t = 0; t < m_controls.size(); ++t) {
        for (QWidget *control : std::as_const(m_controls[t]))
            control->setVisible(t == tab);
    }
}

void TabStrip::resizeEvent(QResizeEvent *)
{
    m_tabBar->setGeometry(0, 0, width(), m_tabRowHeight);
}

void TabStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = m_tabBar->size();
    frame.rect = rect().adjusted(0, m_tabRowHeight - 1, 0, 0);
    frame.selectedTabRect = m_tabBar->tabRect(m_tabBar->currentIndex());
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}
