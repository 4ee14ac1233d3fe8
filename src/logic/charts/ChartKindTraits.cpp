#include "logic/charts/ChartKindTraits.h"

#include "logic/charts/ChartScale.h"
#include "logic/text/RecordCells.h"

namespace {

ChartKindTraits humidity() {
    // The live point keeps its height unclamped; both ends of a segment are clamped as drawn.
    return {ChartWindowType::Graph1,
            ChartWindowType::RecGraph,
            unclampedHeight,
            clampUpperHeight,
            humidityCellHeight,
            RecordCells::HumidityColumn,
            true,
            QStringLiteral("RHRANGE"),
            QStringLiteral("RANGE-----HUMIDITY"),
            {LimitBox::Min, std::nullopt, LimitBox::Max},
            QStringLiteral("RANGEFORM"),
            QStringLiteral("RANGE"),
            QStringLiteral("NO OF RECORDS")};
}

ChartKindTraits temperature() {
    // Each point is clamped as it is placed, on the half its sign chooses.
    return {ChartWindowType::Graph2,
            ChartWindowType::RecGraph2,
            temperatureHeight,
            [](double placed) { return placed; },
            temperatureCellHeight,
            RecordCells::TemperatureColumn,
            false,
            QStringLiteral("TEMRANGE"),
            QStringLiteral("RANGE-----TEMPERATURE"),
            {std::nullopt, LimitBox::Min, LimitBox::Max},
            QStringLiteral("RANGEFORM2"),
            QStringLiteral("RANGE-----TEMPERATURE"),
            QStringLiteral("RECORDS OF SET")};
}

} // namespace

const ChartKindTraits& chartKindTraits(ChartKind kind) {
    static const PerKind<ChartKindTraits> traits{{humidity(), temperature()}};
    return traits[kind];
}
