#pragma once

#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>
#include <QWidget>

class QStyleOptionTab;

// The row of tabs: each tab a caption and a picture, drawn by the style as the
// tabs of a tab bar along the top of a page, the tabs sharing the row's width
// equally, the first tab at the left (at the right in a right-to-left
// layout). A press on a tab selects it, and so does the left or right arrow
// key the next tab drawn on its side, while the row has the focus; other keys
// are left to the strip. The mouse wheel changes nothing: every change of tab
// blanks both panes, which a scroll over the row should not do. The first tab
// added is selected until another is.
//
// The selected tab carries a band in the palette's highlight colour along its
// top edge: the style's own difference between selected and other tabs is a
// few shades of the face colour, which all but vanishes under dark palettes.
class TabBar : public QWidget
{
    Q_OBJECT

public:
    explicit TabBar(QWidget *parent = nullptr);

    void addTab(const QIcon &picture, const QString &caption);
    int count() const { return int(m_tabs.size()); }
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    QString tabText(int index) const;
    QRect tabRect(int index) const;
    QSize iconSize() const { return m_iconSize; }
    void setIconSize(const QSize &size);

Q_SIGNALS:
    void currentChanged(int index);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QStyleOptionTab option(int index) const;

    struct Tab
    {
        QIcon picture;
        QString caption;
    };
    QList<Tab> m_tabs;
    int m_current = -1;
    QSize m_iconSize;
};
