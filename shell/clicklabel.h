#pragma once

#include <QLabel>

// A label that reports a click: a press and release of the left button on it.
class ClickLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
