#include "charts/RangeDialogLogic.h"
#include "charts/RecordCells.h"
#include "charts/RecordedChart.h"
#include "state/SharedState.h"

#include <QTest>
#include <cmath>

namespace {

// A record list of `records` rows below the heading: record k at time "T<k>", humidity and
// temperature k unless given.
struct Records {
    QList<QStringList> rows;
    explicit Records(int records, const QStringList& values = {}) {
        rows.append({"", "Date", "Time", " %RH ", "TEMP", "C/F", "BAT"});
        for (int k = 1; k <= records; ++k) {
            const QString value = k <= values.size() ? values[k - 1] : QString::number(k);
            rows.append({QString::number(k), "01-02-2003", "T" + QString::number(k), value, value,
                         "C", ""});
        }
    }
    RecordCells cells() const {
        return {static_cast<int>(rows.size()),
                [this](int row, int column) { return rows.at(row).at(column); }};
    }
};

} // namespace

class ChartRecordedTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void prepare_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("setCount");
        QTest::addColumn<double>("count");
        QTest::addColumn<QStringList>("times");
        QTest::newRow("7 records") << 7 << " 7" << 7.0 << QStringList{"T1", "T3", "T7"};
        QTest::newRow("more than present") << 10 << "200" << 10.0 << QStringList{"T1", "T5", "T10"};
        QTest::newRow("no number") << 5 << "none" << 0.0 << QStringList{"T1", "Time", "Time"};
    }
    void prepare() {
        QFETCH(int, records);
        QFETCH(QString, setCount);
        QFETCH(double, count);
        QFETCH(QStringList, times);
        const Records list(records);
        RecordedChartValues values;
        values.RecHumTopNow = "80";
        values.RecHumMidNow = 40;
        prepareRecordedChart(ChartKind::Humidity, setCount, list.cells(), values);
        QCOMPARE(values.RecHumCount, count);
        QCOMPARE((QStringList{values.RecHumTime1, values.RecHumTime2, values.RecHumTime3}), times);
        QCOMPARE(values.RecHumTopNow, QStringLiteral("100"));
        QCOMPARE(values.RecHumMidNow, 50.0);
        QCOMPARE(values.RecTemCount, 0.0);

        values.RecTemTopNow = "80";
        values.RecTemNegTop = -80;
        prepareRecordedChart(ChartKind::Temperature, setCount, list.cells(), values);
        QCOMPARE(values.RecTemCount, count);
        QCOMPARE((QStringList{values.RecTemTime1, values.RecTemTime2, values.RecTemTime3}), times);
        QCOMPARE(values.RecTemTopNow, QStringLiteral("100"));
        QCOMPARE(values.RecTemNegTop, -100.0);
        QCOMPARE(values.RecTemNegMid, -50.0);
    }

    void traces_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<int>("records");
        QTest::addColumn<double>("count");
        QTest::addColumn<double>("start");
        QTest::addColumn<int>("segments");
        QTest::addColumn<QLineF>("first");
        QTest::addColumn<double>("lastX");
        const ChartKind rh = ChartKind::Humidity;
        const ChartKind tem = ChartKind::Temperature;
        // With the records' values equal to their numbers, 100 / 0 limits: y = 4000 - 30 k.
        QTest::newRow("humidity: FROM equal to the count")
            << rh << 50 << 5.0 << 5.0 << 0 << QLineF() << 0.0;
        QTest::newRow("temperature: FROM equal to the count")
            << tem << 50 << 5.0 << 5.0 << 4 << QLineF(1000, 3850, 2000, 3820) << 5000.0;
        QTest::newRow("range past the rows stops at the last")
            << rh << 50 << 50.0 << 45.0 << 5 << QLineF(1000, 2650, 1000 + 4000.0 / 49, 2620)
            << 1000 + 5 * 4000.0 / 49;
        QTest::newRow("FROM below 0 starts at the heading")
            << rh << 50 << 10.0 << -5.0 << 4
            << QLineF(1000 + 5 * 4000.0 / 9, 4000, 1000 + 6 * 4000.0 / 9, 3970) << 5000.0;
        QTest::newRow("FROM beyond the rows") << tem << 50 << 10.0 << 60.0 << 0 << QLineF() << 0.0;
        QTest::newRow("huge count reads only the rows present")
            << rh << 10 << 1e300 << 1.0 << 9 << QLineF(1000, 3970, 1000 + 4000 / (1e12 - 1), 3940)
            << 1000 + 9 * 4000 / (1e12 - 1);
    }
    void traces() {
        QFETCH(ChartKind, kind);
        QFETCH(int, records);
        QFETCH(double, count);
        QFETCH(double, start);
        QFETCH(int, segments);
        QFETCH(QLineF, first);
        QFETCH(double, lastX);
        const Records list(records);
        const QList<QLineF> trace =
            recordedChartSegments(kind, count, start, "100", "0", list.cells());
        QCOMPARE(trace.size(), segments);
        if (trace.isEmpty())
            return;
        QCOMPARE(trace.first(), first);
        QCOMPARE(trace.last().x2(), lastX);
        for (qsizetype i = 1; i < trace.size(); ++i)
            QCOMPARE(trace[i].p1(), trace[i - 1].p2());
    }

    // One segment between two records: where each cell's text lands.
    void cellHeights_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QStringList>("texts"); // top, bottom, first cell, second cell
        QTest::addColumn<double>("y1");
        QTest::addColumn<double>("y2");
        const ChartKind rh = ChartKind::Humidity;
        const ChartKind tem = ChartKind::Temperature;
        QTest::newRow("OL above the top")
            << rh << QStringList{"100", "0", "OL", "50"} << 900.0 << 2500.0;
        QTest::newRow("-OL below the lower limit")
            << tem << QStringList{"100", "0", "-OL", "OL"} << 7100.0 << 900.0;
        QTest::newRow("-OL is no number on the humidity chart")
            << rh << QStringList{"100", "0", "-OL", "abc"} << 4000.0 << 4000.0;
        QTest::newRow("limits from the labels' numbers")
            << rh << QStringList{"80 ", "20abc", "20", "95"} << 4000.0 << 900.0;
        QTest::newRow("huge values stay finite")
            << tem << QStringList{"1e999", "-1e999", "1e999", "-1e999"} << 4000.0 << 4000.0;
    }
    void cellHeights() {
        QFETCH(ChartKind, kind);
        QFETCH(QStringList, texts);
        QFETCH(double, y1);
        QFETCH(double, y2);
        const Records list(2, texts.mid(2));
        QCOMPARE(recordedChartSegments(kind, 2, 1, texts[0], texts[1], list.cells()),
                 QList<QLineF>{QLineF(1000, y1, 5000, y2)});
    }

    void chartStartAndRangeDialogOpening() {
        QCOMPARE(recordedChartStart(true, " 11"), 11.0);
        QCOMPARE(recordedChartStart(false, "11"), 1.0);
        RecordedChartValues values;
        values.RecTemCount = 50;
        const RangeEntries entries = rangeDialogEntries(ChartKind::Temperature, values, "-5", "80");
        QCOMPARE((QStringList{entries.from, entries.to, entries.min, entries.max}),
                 (QStringList{"1", "50", "-5", "80"}));
    }

    void rangeConfirm_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QStringList>("boxes"); // FROM, TO, MIN, MAX
        QTest::addColumn<QString>("message");
        QTest::addColumn<double>("count");
        QTest::addColumn<double>("mid");
        QTest::addColumn<QStringList>("times");
        const ChartKind rh = ChartKind::Humidity;
        const ChartKind tem = ChartKind::Temperature;
        const QString negative = "Input No.s must be >=0, please try again !";
        const QString invalid = " Invalid No.s,  please try again !";
        QTest::newRow("whole set") << tem << QStringList{"1", "50", "20", "80"} << "" << 50.0
                                   << 50.0 << QStringList{"T1", "T25", "T50"};
        QTest::newRow("from 0") << rh << QStringList{"0", "10", "0", "100"} << "" << 10.0 << 50.0
                                << QStringList{"Time", "T5", "T10"};
        QTest::newRow("negative") << rh << QStringList{"1", "10", "-5", "100"} << negative << 10.0
                                  << 47.5 << QStringList{};
        QTest::newRow("MIN above MAX")
            << rh << QStringList{"1", "10", "20", "10"} << invalid << 10.0 << 15.0 << QStringList{};
        QTest::newRow("TO before FROM") << tem << QStringList{"20", "10", "0", "100"} << invalid
                                        << -9.0 << 50.0 << QStringList{};
        QTest::newRow("MAX 120") << rh << QStringList{"1", "10", "0", "120"} << invalid << 10.0
                                 << 60.0 << QStringList{};
        QTest::newRow("longer than the set")
            << rh << QStringList{"1", "51", "0", "100"} << invalid << 51.0 << 50.0 << QStringList{};
        QTest::newRow("past the rows: labels from the last row")
            << rh << QStringList{"45", "60", "0", "100"} << "" << 16.0 << 50.0
            << QStringList{"T45", "T50", "T50"};
        QTest::newRow("too large to be a number")
            << rh << QStringList{"1e999", "1e999", "0", "100"} << invalid << std::nan("") << 50.0
            << QStringList{};
    }
    void rangeConfirm() {
        QFETCH(ChartKind, kind);
        QFETCH(QStringList, boxes);
        QFETCH(QString, message);
        QFETCH(double, count);
        QFETCH(double, mid);
        QFETCH(QStringList, times);
        const Records list(50);
        RecordedChartValues values;
        const RangeOutcome outcome = confirmRange(kind, {boxes[0], boxes[1], boxes[2], boxes[3]},
                                                  "50", list.cells(), values);
        QCOMPARE(outcome.accepted, message.isEmpty());
        QCOMPARE(outcome.message, message);
        const bool humidity = kind == ChartKind::Humidity;
        // Stored whether accepted or not.
        const double storedCount = humidity ? values.RecHumCount : values.RecTemCount;
        QVERIFY(storedCount == count || (std::isnan(count) && std::isnan(storedCount)));
        QCOMPARE(humidity ? values.RecHumMidNow : values.RecTemMidNow, mid);
        if (!humidity)
            QCOMPARE(values.RecTemNegMid, -mid);
        const QStringList got =
            humidity ? QStringList{values.RecHumTime1, values.RecHumTime2, values.RecHumTime3}
                     : QStringList{values.RecTemTime1, values.RecTemTime2, values.RecTemTime3};
        QCOMPARE(got, outcome.accepted ? times : QStringList(3, QString()));
    }
};

QTEST_GUILESS_MAIN(ChartRecordedTest)
#include "chart_recorded_test.moc"
