#include "tabstrip.h"

#include "tabbar.h"

#include <QIcon>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

TabStrip::TabStrip(int tabRowHeight, QWidget *parent)
    : QWidget(parent), m_tabBar(new TabBar(this)), m_tabRowHeight(tabRowHeight)
{
    m_tabBar->setObjectName(QStringLiteral("tabBar"));
    setFocusProxy(m_tabBar);

    connect(m_tabBar, &TabBar::currentChanged, this, [this](int tab) {
        const int previous = m_current;
        showControlsOf(tab);
        Q_EMIT currentChanged(tab);
        if (previous >= 0 && !m_selectingByProgram)
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
    const QScopedValueRollback byProgram(m_selectingByProgram, true);
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

namespace {

// A switch of tab by keyboard, as in other tab controls: +1, -1, or 0 for none.
int tabStep(const QKeyEvent &event)
{
    if (!(event.modifiers() & Qt::ControlModifier))
        return 0;
    const bool shift = event.modifiers() & Qt::ShiftModifier;
    switch (event.key()) {
    case Qt::Key_Tab:
        return shift ? -1 : 1;
    case Qt::Key_Backtab:
        return -1;
    case Qt::Key_PageDown:
        return 1;
    case Qt::Key_PageUp:
        return -1;
    default:
        return 0;
    }
}

} // namespace

// Keys the focused control leaves unhandled come up here.
void TabStrip::keyPressEvent(QKeyEvent *event)
{
    const int count = m_tabBar->count();
    if (const int step = tabStep(*event); step != 0 && count > 1) {
        // Selected as by a click, so the switch raises clicked(). The focus
        // goes to the tabs: the focused control may have been hidden.
        m_tabBar->setCurrentIndex((m_tabBar->currentIndex() + step + count) % count);
        window()->setAttribute(Qt::WA_KeyboardFocusChange);
        m_tabBar->setFocus(Qt::TabFocusReason);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TabStrip::resizeEvent(QResizeEvent *)
{
    m_tabBar->setGeometry(0, 0, width(), m_tabRowHeight);
}

// The frame is painted in bands of fewer rows than the raster engine hands to
// its thread pool: drawn whole, each of its tall lines was split into pieces
// for other threads, and waiting for them (and, at the first paint, starting
// them) took up to a millisecond and more, many times the work itself. Each
// band is clipped to its own rows, so the pixels are the same.
void TabStrip::paintEvent(QPaintEvent *event)
{
    constexpr int bandRows = 64;
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = m_tabBar->size();
    frame.rect = rect().adjusted(0, m_tabRowHeight - 1, 0, 0);
    frame.selectedTabRect = m_tabBar->tabRect(m_tabBar->currentIndex());
    const QRect dirty = event->rect() & frame.rect;
    for (int top = dirty.top(); top <= dirty.bottom(); top += bandRows) {
        painter.setClipRect(QRect(dirty.left(), top, dirty.width(), qMin(bandRows, dirty.bottom() + 1 - top)));
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
    }
}
