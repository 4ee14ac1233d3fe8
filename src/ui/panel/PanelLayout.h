#pragma once

#include "ui/panel/PanelControls.h"

#include <QString>
#include <Qt>
#include <vector>

// The front panel as designed: every shape, label and key with its place in twips inside the
// main window's client area, its caption, font and colour, and the member of PanelControls it
// becomes. Pure data; the window builds itself from it.
namespace PanelLayout {

constexpr int ClientWidth = 4560;
constexpr int ClientHeight = 6960;

enum class ShapeKind { Rectangle, RoundedRectangle, Circle };

struct Shape {
    ShapeWidget* PanelControls::*control;
    const char* name;
    ShapeKind kind;
    int left, top, width, height;
    quint32 fill;
};

struct Label {
    QLabel* PanelControls::*control;
    const char* name;
    int left, top;
    // Every label is sized to its text. The width is that of the design box whose anchor (the
    // left edge, the centre or the right edge, by the alignment) the label keeps; 0: the label
    // grows from its left edge.
    int width;
    const char* caption;
    double points;
    bool bold;
    const char* family;
    Qt::Alignment alignment;
    // 0xFFFFFFFF: the theme's text colour.
    quint32 color;
};

struct Key {
    KeyLabel* PanelControls::*control;
    const char* name;
    int left, top;
    quint32 background;
};

constexpr int KeySize = 135;
constexpr quint32 DefaultColor = 0xFFFFFFFF;

const std::vector<Shape>& shapes();
const std::vector<Label>& labels();
const std::vector<Key>& keys();

// Where the two values and their units go when one of them is shown large, and which layout
// key lights up.
struct LargeValueLayout {
    struct Placement {
        QLabel* PanelControls::*label;
        double points;
        int left, top;
        quint32 color;
    };
    KeyLabel* PanelControls::*largeKey;
    KeyLabel* PanelControls::*smallKey;
    Placement placements[4];
    Qt::Alignment humidityAlignment;
    // The temperature keeps whatever alignment it had when none is given.
    Qt::Alignment temperatureAlignment;
};

const LargeValueLayout& temperatureLarge();
const LargeValueLayout& humidityLarge();

// The battery symbol's place (a picture, 480 by 480 twips).
constexpr int BatteryLeft = 600;
constexpr int BatteryTop = 765;
constexpr int BatterySize = 480;

} // namespace PanelLayout
