#pragma once

#include "logic/state/ChartKind.h"

#include <QList>
#include <QString>
#include <Qt>

class ChartLabel;

// The four chart windows as laid out: everything that tells one from another, as plain data. All
// positions are in twips on the window's client area.
enum class ChartWindowType { Graph1, Graph2, RecGraph, RecGraph2 };

struct ChartFrameLine {
    double x1, y1, x2, y2;
    quint32 colour; // 24-bit, red in the low byte
    Qt::PenStyle style;
    int width; // pixels at 96 dpi
};

enum class ChartLabelFace {
    Small,   // the value and time labels
    Title,   // "TIME", the unit and the sign marks: bold serif
    Reading, // the live reading
};

// The labels a chart writes, each made from its row of the layout. A label the window does not
// have is null.
struct ChartLabels {
    ChartLabel* LBLVALTOP = nullptr;
    ChartLabel* LBLVALMID = nullptr;
    ChartLabel* LBL0 = nullptr;
    ChartLabel* LBLT1 = nullptr;
    ChartLabel* LBLT2 = nullptr;
    ChartLabel* LBLT3 = nullptr;
    // The live charts' reading.
    ChartLabel* lblvalue = nullptr;
    // The temperature charts': the lower half's top and mid values, and the unit.
    ChartLabel* TOPLBL = nullptr;
    ChartLabel* MIDLBL = nullptr;
    ChartLabel* LBLUNIT = nullptr;
};

struct ChartLabelSpec {
    // Where the chart keeps the label; null for a title or mark whose caption never changes.
    ChartLabel* ChartLabels::*member;
    QString name;
    QString text; // the caption before the chart writes its own
    // The anchor: the left edge of a left-aligned label, the centre of a centred one, the right
    // edge of a right-aligned one. The label sizes itself to its text around it.
    double x;
    double top;
    Qt::Alignment alignment;
    ChartLabelFace face;
    // A box the label keeps at least (lblvalue has one); 0 when it is just as wide as its text.
    double minWidth = 0;
    double minHeight = 0;
};

struct ChartWindowLayout {
    ChartWindowType type;
    ChartKind kind;
    bool live;
    QString objectName;
    QString caption;
    double clientWidth;
    double clientHeight;
    quint32 background; // 24-bit, or 0x800000nn for a system colour
    QString limitMenuName;
    QString printMenuName;
    QList<ChartFrameLine> lines;
    QList<ChartLabelSpec> labels;
};

const ChartWindowLayout& chartWindowLayout(ChartWindowType type);
