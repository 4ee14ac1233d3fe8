#include "ui/panel/BatterySymbol.h"

#include <QPainter>

QPixmap batterySymbol(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    const QRectF body(unit * 1, unit * 5, unit * 12, unit * 6);
    const QRectF tip(unit * 13, unit * 6.75, unit * 1.5, unit * 2.5);
    painter.setPen(QPen(Qt::black, unit));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(body);
    painter.setBrush(Qt::black);
    painter.drawRect(tip);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::red);
    painter.drawRect(QRectF(unit * 2, unit * 6, unit * 2.5, unit * 4));
    return pixmap;
}
