#pragma once

#include <QList>
#include <QWidget>

class TabBar;

// A tab strip whose pages share one area: every control is a direct child of
// the strip, placed from the strip's own top-left corner (the row of tabs
// included), and only the controls of the selected tab are shown. The row of
// tabs is the strip's focus proxy: focusing the strip focuses the row.
class TabStrip : public QWidget
{
    Q_OBJECT

public:
    explicit TabStrip(int tabRowHeight, QWidget *parent = nullptr);

    void addTab(const QString &caption, const QPixmap &picture);
    void setTabFont(const QFont &font);
    void place(QWidget *control, int tab);
    void setCurrentTab(int tab);
    int currentTab() const;

Q_SIGNALS:
    // Raised whenever another tab is selected, by the user or the program,
    // once the controls of the new tab are shown.
    void currentChanged(int tab);
    // Raised after the user has selected another tab, once the controls of the
    // new tab are shown; carries the tab that was selected before.
    void clicked(int previousTab);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showControlsOf(int tab);

    TabBar *m_tabBar;
    int m_tabRowHeight;
    int m_current = -1;
    bool m_selectingByProgram = false;
    QList<QList<QWidget *>> m_controls;
};
