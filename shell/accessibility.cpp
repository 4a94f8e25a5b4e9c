#include "accessibility.h"

#include "failurenote.h"
#include "tabbar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

namespace {

// One tab of the tab row. Qt's own tab row also lists its two scroll
// buttons, hidden for good here since both tabs always fit, and reads the
// captions with the space that sets them off the pictures.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    TabAccessible(TabBar *bar, int index) : m_bar(bar), m_index(index) {}

    bool isValid() const override { return m_bar && m_index < m_bar->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_bar ? m_bar->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_bar.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QString text(QAccessible::Text t) const override
    {
        return isValid() && t == QAccessible::Name ? m_bar->tabText(m_index).trimmed() : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s = parent()->state();
        s.selectable = true;
        s.selected = m_bar->currentIndex() == m_index;
        s.focused = s.focused && s.selected;
        return s;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect tab = m_bar->tabRect(m_index);
        return QRect(m_bar->mapToGlobal(tab.topLeft()), tab.size());
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QStringList actionNames() const override { return { pressAction() }; }
    void doAction(const QString &action) override
    {
        if (isValid() && action == pressAction())
            m_bar->setCurrentIndex(m_index);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    int index() const { return m_index; }

private:
    QPointer<TabBar> m_bar;
    int m_index;
};

class TabRowAccessible : public QAccessibleWidget
{
public:
    explicit TabRowAccessible(TabBar *bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~TabRowAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_tabs))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return bar()->count(); }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= bar()->count())
            return nullptr;
        while (m_tabs.size() <= index) {
            auto *tab = new TabAccessible(bar(), int(m_tabs.size()));
            m_tabs.append(QAccessible::registerAccessibleInterface(tab));
        }
        return QAccessible::accessibleInterface(m_tabs.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return int(m_tabs.indexOf(QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child))));
    }

    QAccessibleInterface *focusChild() const override
    {
        return bar()->hasFocus() ? child(bar()->currentIndex()) : nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? bar()->tabText(bar()->currentIndex()).trimmed() : QString();
    }

private:
    TabBar *bar() const { return static_cast<TabBar *>(widget()); }

    mutable QList<QAccessible::Id> m_tabs;
};

// The note of a failed copy: a screen reader speaks a notification as it
// appears, but keeps quiet about a tool tip, which the note looks like.
class NoteAccessible : public QAccessibleWidget
{
public:
    explicit NoteAccessible(FailureNote *note) : QAccessibleWidget(note, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<FailureNote *>(widget())->text() : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    // A top-level window is a frame to a screen reader; a plain widget would
    // pass for a "filler", a mere grouping inside some other window.
    if (className == u"MainWindow")
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == u"TabBar")
        return new TabRowAccessible(static_cast<TabBar *>(widget));
    if (className == u"FailureNote")
        return new NoteAccessible(static_cast<FailureNote *>(widget));
    return nullptr;
}

} // namespace

namespace Accessibility {

void install()
{
    QAccessible::installFactory(interfaceFor); // once: a second install is ignored
}

} // namespace Accessibility
