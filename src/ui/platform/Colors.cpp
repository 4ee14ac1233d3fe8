#include "ui/platform/Colors.h"

#include <QWidget>

namespace Colors {

QColor toQColor(quint32 value, const QPalette& palette) {
    if ((value & 0x80000000u) != 0) {
        switch (value & 0xFFu) {
        case 0x12:
            return palette.color(QPalette::ButtonText);
        case 0x0E:
            return palette.color(QPalette::HighlightedText);
        default:
            return palette.color(QPalette::WindowText);
        }
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

void setBackground(QWidget* widget, quint32 value) {
    // Frames set the same colours once a second; an unchanged colour must not cost a repaint.
    if (widget->autoFillBackground() &&
        widget->palette().color(QPalette::Window) == toQColor(value, widget->palette()))
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, toQColor(value, palette));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setForeground(QWidget* widget, quint32 value) {
    if (widget->palette().color(QPalette::WindowText) == toQColor(value, widget->palette()))
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, toQColor(value, palette));
    widget->setPalette(palette);
}

QColor background(const QWidget* widget) {
    return widget->palette().color(QPalette::Window);
}

QColor foreground(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText);
}

} // namespace Colors
