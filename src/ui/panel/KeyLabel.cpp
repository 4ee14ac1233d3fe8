#include "ui/panel/KeyLabel.h"

#include <QMouseEvent>

void KeyLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Q_EMIT pressed();
    QLabel::mousePressEvent(event);
}

void KeyLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Q_EMIT released();
        if (rect().contains(event->position().toPoint()))
            Q_EMIT clicked();
    }
    QLabel::mouseReleaseEvent(event);
}
