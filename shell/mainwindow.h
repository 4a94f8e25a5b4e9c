#pragma once

#include "buttongrid.h"
#include "linepane.h"

#include <QWidget>

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
    explicit MainWindow(Clipboard &clipboard, QWidget *parent = nullptr);

    TabStrip *tabStrip() const { return m_strip; }

    // Draws the whole window again at a scale (1 as designed, less where the
    // screen is too small for it): places, sizes, fonts and pictures alike.
    // Meant for the start, before the teacher has used the window.
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
