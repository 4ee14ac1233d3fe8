#include "ui/panel/ShapeWidget.h"

#include "ui/platform/Colors.h"

#include <QPainter>

ShapeWidget::ShapeWidget(QWidget* parent, PanelLayout::ShapeKind kind, quint32 fill)
    : QWidget(parent), kind_(kind), fill_(Colors::toQColor(fill)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::setFillColor(quint32 fill) {
    fill_ = Colors::toQColor(fill);
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill_);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    switch (kind_) {
    case PanelLayout::ShapeKind::Rectangle:
        painter.drawRect(box);
        break;
    case PanelLayout::ShapeKind::RoundedRectangle: {
        const qreal radius = std::min(box.width(), box.height()) / 8.0;
        painter.drawRoundedRect(box, radius, radius);
        break;
    }
    case PanelLayout::ShapeKind::Circle:
        painter.setBrush(Qt::white);
        painter.drawRect(box);
        painter.setBrush(fill_);
        painter.drawEllipse(box);
        break;
    }
}
