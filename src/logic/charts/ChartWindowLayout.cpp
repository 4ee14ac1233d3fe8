#include "logic/charts/ChartWindowLayout.h"

namespace {

constexpr quint32 Red = 0x0000FF;
constexpr quint32 Green = 0x00FF00;
constexpr quint32 Black = 0x000000;
constexpr quint32 White = 0xFFFFFF;
constexpr quint32 SystemHighlightedText = 0x8000000E;

constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignTop;
constexpr Qt::Alignment Centre = Qt::AlignHCenter | Qt::AlignTop;
constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignTop;

QList<ChartFrameLine> humidityLines() {
    return {
        {1000, 1000, 5000, 1000, Red, Qt::DashLine, 1},    // top limit
        {1000, 2500, 5000, 2500, Green, Qt::DotLine, 1},   // mid value
        {1000, 4000, 5000, 4000, Black, Qt::SolidLine, 2}, // time axis
        {1000, 900, 1000, 4000, Black, Qt::SolidLine, 2},  // value axis
        {3000, 900, 3000, 4000, Green, Qt::DotLine, 1},    // mid time
    };
}

QList<ChartFrameLine> temperatureLines(Qt::PenStyle lowerMidStyle) {
    return {
        {1000, 1000, 5000, 1000, Red, Qt::DashLine, 1},    // top limit
        {1000, 2500, 5000, 2500, Green, Qt::DotLine, 1},   // upper mid
        {1000, 4000, 5000, 4000, Black, Qt::SolidLine, 2}, // zero / time axis
        {1000, 5500, 5000, 5500, Green, lowerMidStyle, 1}, // lower mid
        {1000, 7000, 5000, 7000, Red, Qt::DashLine, 1},    // lower limit
        {1000, 900, 1000, 7100, Black, Qt::SolidLine, 2},  // value axis
        {3000, 900, 3000, 7100, Green, Qt::DotLine, 1},    // mid time
    };
}

using LabelMember = ChartLabel* ChartLabels::*;

ChartLabelSpec small(LabelMember member, const char* name, double x, double top,
                     Qt::Alignment alignment) {
    return {member, QLatin1String(name), QString(), x, top, alignment, ChartLabelFace::Small};
}

ChartLabelSpec title(LabelMember member, const char* name, const QString& text, double x,
                     double top) {
    return {member, QLatin1String(name), text, x, top, Centre, ChartLabelFace::Title};
}

// The live reading's box, given by its left edge, top and size.
ChartLabelSpec reading(double left, double top) {
    constexpr double Width = 1215;
    constexpr double Height = 495;
    return {&ChartLabels::lblvalue,
            QStringLiteral("lblvalue"),
            QString(),
            left + Width / 2,
            top,
            Centre,
            ChartLabelFace::Reading,
            Width,
            Height};
}

// "TIME" sits just above the right end of the time axis; the unit above the value axis. The
// sign marks stand either side of the zero line.
ChartLabelSpec timeTitle() {
    return title(nullptr, "TimeTitle", QStringLiteral("TIME"), 5040, 3600);
}

QList<ChartLabelSpec> signMarks(double x) {
    return {{nullptr, QStringLiteral("PlusMark"), QStringLiteral("+"), x, 3600, Left,
             ChartLabelFace::Title},
            {nullptr, QStringLiteral("MinusMark"), QStringLiteral("-"), x, 3840, Left,
             ChartLabelFace::Title}};
}

// The live and the recorded humidity chart differ only in where the top value and the last
// time stand.
QList<ChartLabelSpec> humidityLabels(double topValueX, double lastTimeX) {
    return {small(&ChartLabels::LBLVALTOP, "LBLVALTOP", topValueX, 960, Right),
            small(&ChartLabels::LBLVALMID, "LBLVALMID", 930, 2400, Right),
            small(&ChartLabels::LBL0, "LBL0", 930, 3840, Right),
            small(&ChartLabels::LBLT1, "LBLT1", 960, 4080, Left),
            small(&ChartLabels::LBLT2, "LBLT2", 2970, 4080, Centre),
            small(&ChartLabels::LBLT3, "LBLT3", lastTimeX, 4080, Right),
            timeTitle(),
            title(nullptr, "UnitTitle", QStringLiteral("%RH"), 1000, 480)};
}

ChartWindowLayout graph1() {
    ChartWindowLayout layout{ChartWindowType::Graph1,
                             ChartKind::Humidity,
                             true,
                             QStringLiteral("GRAPH1"),
                             QStringLiteral("GRAPH-----HUMIDITY"),
                             6225,
                             4965,
                             SystemHighlightedText,
                             QStringLiteral("MNULIMIT"),
                             QStringLiteral("MNUPRINT"),
                             humidityLines(),
                             humidityLabels(930, 5250)};
    layout.labels.append(reading(3120, 120));
    return layout;
}

ChartWindowLayout recGraph() {
    return {ChartWindowType::RecGraph,
            ChartKind::Humidity,
            false,
            QStringLiteral("REC_GRAPH"),
            QStringLiteral("REC_GRAPH-----HUMIDITY"),
            6225,
            4680,
            White,
            QStringLiteral("LIMIT"),
            QStringLiteral("PRINT"),
            humidityLines(),
            humidityLabels(915, 4995)};
}

QList<ChartLabelSpec> temperatureLabels(double topLabelX, double topLabelTop, double signX) {
    QList<ChartLabelSpec> labels{
        small(&ChartLabels::LBLVALTOP, "LBLVALTOP", 930, 960, Right),
        small(&ChartLabels::LBLVALMID, "LBLVALMID", 930, 2400, Right),
        small(&ChartLabels::LBL0, "LBL0", 930, 3960, Right),
        small(&ChartLabels::MIDLBL, "MIDLBL", 930, 5400, Right),
        small(&ChartLabels::TOPLBL, "TOPLBL", topLabelX, topLabelTop, Right),
        small(&ChartLabels::LBLT1, "LBLT1", 1080, 4080, Left),
        small(&ChartLabels::LBLT2, "LBLT2", 2970, 4080, Centre),
        small(&ChartLabels::LBLT3, "LBLT3", 5010, 4080, Right),
        timeTitle(),
        title(&ChartLabels::LBLUNIT, "LBLUNIT", QString(), 1000, 480)};
    labels.append(signMarks(signX));
    return labels;
}

ChartWindowLayout graph2() {
    // The caption-text system colour has no counterpart among Qt's palette roles; it is white in
    // the standard scheme.
    ChartWindowLayout layout{ChartWindowType::Graph2,
                             ChartKind::Temperature,
                             true,
                             QStringLiteral("GRAPH2"),
                             QStringLiteral("GRAPH-----TEMPERATURE"),
                             6180,
                             8220,
                             White,
                             QStringLiteral("MNULIMIT"),
                             QStringLiteral("MNUPRINT"),
                             temperatureLines(Qt::SolidLine),
                             temperatureLabels(915, 6960, 360)};
    layout.labels.append(reading(3480, 0));
    return layout;
}

ChartWindowLayout recGraph2() {
    return {ChartWindowType::RecGraph2,
            ChartKind::Temperature,
            false,
            QStringLiteral("REC_GRAPH2"),
            QStringLiteral("REC_GRAPH-----TEMPERATURE"),
            6690,
            7905,
            SystemHighlightedText,
            QStringLiteral("LIMIT"),
            QStringLiteral("PRINT"),
            temperatureLines(Qt::DotLine),
            temperatureLabels(930, 6840, 120)};
}

} // namespace

const ChartWindowLayout& chartWindowLayout(ChartWindowType type) {
    static const ChartWindowLayout layouts[] = {graph1(), graph2(), recGraph(), recGraph2()};
    return layouts[static_cast<int>(type)];
}
