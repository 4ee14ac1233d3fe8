#pragma once

#include <QRect>
#include <cmath>

class QWidget;

// Window geometry is laid out in twips (1/1440 inch): 15 twips a pixel at 96 dpi, scaled by the
// screen's logical resolution so that the windows keep their proportions on any display.
class Twips {
public:
    explicit Twips(const QWidget* widget);
    explicit Twips(int logicalDpi) : dpi_(logicalDpi) {}

    int toPixels(double twips) const {
        return static_cast<int>(std::lround(twips * dpi_ / 1440.0));
    }
    double toTwips(int pixels) const { return pixels * 1440.0 / dpi_; }
    QRect rect(double left, double top, double width, double height) const {
        return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
    }

private:
    int dpi_;
};
