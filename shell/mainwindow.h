#pragma once

#include "buttongrid.h"
#include "linepane.h"

#include <QWidget>

#include <functional>

class FailureNote;
class QLineEdit;
class TabStrip;

// The program's one window ("Form1"): a tab strip with the old set's buttons
// and pane on its first tab and the new set's on its second. Every button runs
// its copy action; the credit lines and the tabs blank the panes.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // The scale the window is drawn at (1 as designed, less where the screen
    // is too small for it): places, sizes, fonts and pictures alike.
    using ScaleFor = std::function<double(QWidget *window)>;

    // scaleFor, where given, is asked once the window has its designed place
    // and size, and before anything in it is built: the window is built once,
    // at the scale it says.
    explicit MainWindow(Clipboard &clipboard, const ScaleFor &scaleFor = {}, QWidget *parent = nullptr);

    TabStrip *tabStrip() const { return m_strip; }

    // Draws the whole window again at another scale, where the one it was
    // built at proved wrong once it showed. Meant for the start, before the
    // teacher has used the window.
    void setScale(double scale);

private:
    void build();
    void buildPanes();
    void addButtons(Curriculum set);
    void buildTabOrder();
    void press(const ButtonGrid::Button &button);
    void reportFailure(QWidget *where);

    Clipboard &m_clipboard;
    double m_scale = 1;
    TabStrip *m_strip = nullptr;
    QLineEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    FailureNote *m_note = nullptr;
    LinePane m_pane1{ nullptr };
    LinePane m_pane2{ nullptr };
    QList<ButtonGrid::Button> m_buttons;
};
