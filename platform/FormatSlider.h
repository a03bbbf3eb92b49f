#pragma once

#include <QSlider>

// The size slider of the formatting bar. It raises Click for a press and
// release on it, and MouseMove for every movement of the mouse pointer over
// it, with or without a button held; each after the slider has taken the
// press or the movement, so that its value is the one the thumb now shows.
class FormatSlider : public QSlider
{
    Q_OBJECT

public:
    explicit FormatSlider(Qt::Orientation orientation, QWidget *parent = nullptr);

signals:
    void Click();
    void MouseMove();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
