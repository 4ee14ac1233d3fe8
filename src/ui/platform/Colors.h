#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

// Colours are given as the window system's 24-bit values with red in the low byte (0xFF red,
// 0xFF0000 blue); values 0x800000nn name the system colours of the user's theme.
namespace Colors {
constexpr quint32 Red = 0x0000FF;
constexpr quint32 White = 0xFFFFFF;
constexpr quint32 Blue = 0xFF0000;
constexpr quint32 Grey = 0x808080;
constexpr quint32 Yellow = 0x00FFFF;
constexpr quint32 DarkBlue = 0x800000;
constexpr quint32 ButtonText = 0x80000012;
constexpr quint32 HighlightedText = 0x8000000E;

QColor toQColor(quint32 value, const QPalette& palette = QPalette());

// Background and text colours of a label or any plain widget.
void setBackground(QWidget* widget, quint32 value);
void setForeground(QWidget* widget, quint32 value);
QColor background(const QWidget* widget);
QColor foreground(const QWidget* widget);
} // namespace Colors
