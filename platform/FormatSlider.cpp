#include "platform/FormatSlider.h"

#include <QMouseEvent>

FormatSlider::FormatSlider(Qt::Orientation orientation, QWidget *parent)
    : QSlider(orientation, parent)
{
    // Movements over the slider count without a button held, too.
    setMouseTracking(true);
}

void FormatSlider::mousePressEvent(QMouseEvent *event)
{
    QSlider::mousePressEvent(event);
    m_pressed = true;
}

void FormatSlider::mouseMoveEvent(QMouseEvent *event)
{
    QSlider::mouseMoveEvent(event);
    emit MouseMove();
}

void FormatSlider::mouseReleaseEvent(QMouseEvent *event)
{
    QSlider::mouseReleaseEvent(event);
    if (m_pressed) {
        m_pressed = false;
        emit Click();
    }
}
