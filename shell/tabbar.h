#pragma once

#include <QTabBar>

// The row of tabs. The selected tab carries a band in the palette's highlight
// colour along its top edge: the style's own difference between selected and
// other tabs is a few shades of the face colour, which all but vanishes under
// dark palettes.
class TabBar : public QTabBar
{
    Q_OBJECT

public:
    using QTabBar::QTabBar;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
