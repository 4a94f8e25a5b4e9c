#pragma once

#include <QBasicTimer>
#include <QLabel>

// The note of a failed copy: a small window of the main window's own, drawn
// as a tool tip (the desktop's tool-tip colours, font and frame) and shown as
// one, under the button that failed. It goes away after ten seconds, or at
// once when the teacher presses the mouse or a key, or turns to another
// window. A screen reader speaks it each time it is shown.
class FailureNote : public QLabel
{
    Q_OBJECT

public:
    explicit FailureNote(QWidget *window);

    // Shows the note under the widget, or shows it anew if it is still up.
    void showUnder(QWidget *where, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    QBasicTimer m_expiry;
};
