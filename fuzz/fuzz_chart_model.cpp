// The chart model from arbitrary record cells, limits, point counts and texts: the scale's
// heights and positions for any double, a run of live chart ticks after a limit dialog's OK, a
// recorded chart prepared from a record count and redrawn after a range dialog's OK. Every
// coordinate drawn is finite, lies between the heights 900 and 7100 and from x = 1000 to one
// step past x = 5000; a recorded trace joins rows present only; no cell is read past the rows.
#include "FuzzCheck.h"
#include "logic/charts/ChartScale.h"
#include "logic/charts/LimitDialogLogic.h"
#include "logic/charts/LiveChartTick.h"
#include "logic/charts/RangeDialogLogic.h"
#include "logic/charts/RecordedChart.h"
#include "logic/state/ChartState.h"
#include "logic/text/RecordCells.h"

#include <QStringList>
#include <cmath>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

namespace {

constexpr int MostRows = 300;
constexpr int MostTicks = 1500;
constexpr int Columns = 6;

QString text(FuzzedDataProvider& input, std::size_t length = 12) {
    return QString::fromLatin1(input.ConsumeRandomLengthString(length));
}

bool within(double value, double low, double high) {
    return std::isfinite(value) && value >= low && value <= high;
}

void checkScale(FuzzedDataProvider& input) {
    const double value = input.ConsumeFloatingPoint<double>();
    const double top = input.ConsumeFloatingPoint<double>();
    const double bottom = input.ConsumeFloatingPoint<double>();
    const double points = input.ConsumeFloatingPoint<double>();
    FUZZ_CHECK(std::isfinite(unclampedHeight(value, top, bottom)));
    FUZZ_CHECK(within(clampUpperHeight(unclampedHeight(value, top, bottom)), 900, 4000));
    FUZZ_CHECK(within(upperHeight(value, top, bottom), 900, 4000));
    FUZZ_CHECK(within(lowerHeight(value, top, bottom), 4000, 7100));
    FUZZ_CHECK(within(temperatureHeight(value, top, bottom), 900, 7100));
    FUZZ_CHECK(std::isfinite(pointX(value, points)));
    const int interval = liveTickIntervalMs(text(input));
    FUZZ_CHECK(interval >= 1 && interval <= 65535);
    const QString label = timeLabel(value);
    FUZZ_CHECK(label.size() >= 8 && label.count(QLatin1Char(':')) == 2);
    FUZZ_CHECK(!chartFullTimeLabel(value, points, top).isEmpty());
}

// The LIMIT dialog's OK (the chart closed first, its progress back to waiting), then a run of
// ticks of the chart it shows.
void checkLiveChart(FuzzedDataProvider& input, ChartKind kind) {
    const bool humidity = kind == ChartKind::Humidity;
    ChartLimits limits;
    LiveChartProgress progress;
    const LimitEntries shown = limitDialogEntries(limits);
    FUZZ_CHECK(!shown.points.isEmpty());
    const LimitEntries entries{text(input), text(input), text(input)};
    confirmLimits(entries, limits, progress);
    const double points = limits.Points;
    const double step = points >= 2 ? 4000 / (points - 1) : 0;
    const QString topText = text(input);
    const QString bottomText = text(input);
    const int ticks = input.ConsumeIntegralInRange<int>(0, MostTicks);
    for (int tick = 0; tick < ticks; ++tick) {
        const LiveTickStep result =
            liveChartTick(kind, progress, points, topText, bottomText, text(input, 8));
        if (result.action != LiveTickStep::Action::Segment)
            continue;
        const QLineF& line = result.segment;
        for (const QPointF end : {line.p1(), line.p2()}) {
            FUZZ_CHECK(within(end.y(), 900, humidity ? 4000 : 7100));
            FUZZ_CHECK(within(end.x(), 1000, 5000 + step));
        }
        FUZZ_CHECK(line.x2() >= line.x1());
    }
}

struct Records {
    std::vector<QStringList> rows; // row 0 the heading
    RecordCells cells() const {
        RecordCells cells;
        cells.rowCount = static_cast<int>(rows.size());
        cells.cellText = [this](int row, int column) {
            FUZZ_CHECK(row >= 0 && row < static_cast<int>(rows.size()));
            FUZZ_CHECK(column >= 0 && column < Columns);
            return rows[static_cast<std::size_t>(row)].value(column);
        };
        return cells;
    }
};

void checkTrace(const QList<QLineF>& trace, const RecordCells& cells) {
    FUZZ_CHECK(trace.size() <= std::max(cells.rowCount - 1, 0));
    for (const QLineF& line : trace)
        for (const QPointF end : {line.p1(), line.p2()}) {
            FUZZ_CHECK(within(end.y(), 900, 7100));
            FUZZ_CHECK(within(end.x(), 1000, 5000));
        }
}

void checkRecordedChart(FuzzedDataProvider& input, ChartKind kind) {
    Records records;
    const int rowCount = input.ConsumeIntegralInRange<int>(0, MostRows);
    for (int row = 0; row < rowCount; ++row) {
        QStringList rowCells;
        for (int column = 0; column < Columns; ++column)
            rowCells.append(text(input, 6));
        records.rows.push_back(rowCells);
    }
    const RecordCells cells = records.cells();
    RecordedChartValues values = chartStatesAtStart()[kind].recorded;
    const QString setRecordCount = text(input);
    prepareRecordedChart(setRecordCount, cells, values);
    FUZZ_CHECK(values.Count >= 0 && values.Count <= std::max(rowCount - 1, 0));
    const auto trace = [&](double start) {
        return recordedChartSegments(kind, values.Count, start, values.TopNow, values.BottomNow,
                                     cells);
    };
    checkTrace(trace(1.0), cells);

    // The range dialog opened on the chart, its boxes changed, OK.
    RangeEntries entries = rangeDialogEntries(values, text(input), text(input));
    for (QString* box : {&entries.from, &entries.to, &entries.min, &entries.max})
        if (input.ConsumeBool())
            *box = text(input);
    const RangeOutcome outcome = confirmRange(entries, setRecordCount, cells, values);
    if (outcome.accepted) {
        FUZZ_CHECK(outcome.message.isEmpty());
        for (long long row : {outcome.fromRow, outcome.middleRow, outcome.toRow})
            FUZZ_CHECK(row >= 0 && row <= cells.lastRow());
    } else {
        FUZZ_CHECK(!outcome.message.isEmpty());
    }
    checkTrace(trace(recordedChartStart(true, entries.from)), cells);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const ChartKind kind = input.ConsumeBool() ? ChartKind::Humidity : ChartKind::Temperature;
    switch (input.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
        checkScale(input);
        break;
    case 1:
        checkLiveChart(input, kind);
        break;
    default:
        checkRecordedChart(input, kind);
        break;
    }
    return 0;
}
