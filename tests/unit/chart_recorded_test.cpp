#include "logic/charts/RangeDialogLogic.h"
#include "logic/charts/RecordedChart.h"
#include "logic/state/ChartState.h"
#include "logic/text/RecordCells.h"

#include <QTest>

namespace {

// A record list of `records` rows below the heading: record k at time "T<k>", humidity and
// temperature k unless given.
struct Records {
    QList<QStringList> rows{{"", "Date", "Time", " %RH ", "TEMP", "C/F", "BAT"}};
    explicit Records(int records, const QStringList& values = {}) {
        for (int k = 1; k <= records; ++k) {
            const QString value = values.value(k - 1, QString::number(k));
            const QString time = "T" + QString::number(k);
            rows.append({QString::number(k), "01-02-2003", time, value, value, "C", ""});
        }
    }
    RecordCells cells() const {
        return {static_cast<int>(rows.size()),
                [this](int row, int column) { return rows.at(row).at(column); }};
    }
};

// What one chart keeps, space-separated: count, top label, mid value and the three times.
QString kept(const RecordedChartValues& v) {
    const QStringList texts{
        QString::number(v.Count), v.TopNow, QString::number(v.MidNow), v.Time1, v.Time2, v.Time3};
    return texts.join(' ').trimmed();
}

} // namespace

class ChartRecordedTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Both charts: the whole set up to the records present, on the default limits.
    void prepare() {
        const Records list(7);
        RecordedChartValues values;
        values.TopNow = "80";
        values.MidNow = 40;
        values.lowerHalf = RecordedLowerHalf{40, 20};
        prepareRecordedChart(" 7", list.cells(), values);
        QCOMPARE(kept(values), QStringLiteral("7 100 50 T1 T3 T7"));
        QCOMPARE((QList<double>{values.lowerHalf->NegTop, values.lowerHalf->NegMid}),
                 (QList<double>{-100, -50}));
    }

    // 50 records whose values equal their numbers, on 100 / 0 limits: y = 4000 - 30 k.
    void traces_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<double>("count");
        QTest::addColumn<double>("start");
        QTest::addColumn<int>("segments");
        QTest::addColumn<QLineF>("first");
        const ChartKind rh = ChartKind::Humidity;
        QTest::newRow("humidity: FROM equal to the count") << rh << 5.0 << 5.0 << 0 << QLineF();
        QTest::newRow("temperature: FROM equal to the count")
            << ChartKind::Temperature << 5.0 << 5.0 << 4 << QLineF(1000, 3850, 2000, 3820);
        QTest::newRow("range past the rows stops at the last")
            << rh << 50.0 << 45.0 << 5 << QLineF(1000, 2650, 1000 + 4000.0 / 49, 2620);
        QTest::newRow("FROM below 0 starts at the heading")
            << rh << 10.0 << -5.0 << 4
            << QLineF(1000 + 5 * 4000.0 / 9, 4000, 1000 + 6 * 4000.0 / 9, 3970);
    }
    void traces() {
        QFETCH(ChartKind, kind);
        QFETCH(double, count);
        QFETCH(double, start);
        QFETCH(int, segments);
        QFETCH(QLineF, first);
        const Records list(50);
        const QList<QLineF> trace =
            recordedChartSegments(kind, count, start, "100", "0", list.cells());
        QCOMPARE(trace.size(), segments);
        QCOMPARE(trace.value(0), first);
        for (qsizetype i = 1; i < trace.size(); ++i)
            QCOMPARE(trace[i].p1(), trace[i - 1].p2());
    }

    // One segment between two records: where each cell's text lands.
    void cellHeights() {
        const auto segment = [](ChartKind kind, const QStringList& texts) {
            const Records list(2, texts.mid(2)); // top, bottom, first cell, second cell
            return recordedChartSegments(kind, 2, 1, texts[0], texts[1], list.cells()).value(0);
        };
        const ChartKind rh = ChartKind::Humidity;
        QCOMPARE(segment(rh, {"100", "0", "OL", "50"}), QLineF(1000, 900, 5000, 2500));
        QCOMPARE(segment(ChartKind::Temperature, {"100", "0", "-OL", "OL"}),
                 QLineF(1000, 7100, 5000, 900));
        // -OL is no number on the humidity chart; the limits are the labels' leading numbers.
        QCOMPARE(segment(rh, {"80 ", "20abc", "-OL", "95"}), QLineF(1000, 4000, 5000, 900));
    }

    // What the boxes leave stored, accepted or not; the time labels only when accepted.
    void rangeConfirm_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QString>("boxes"); // FROM, TO, MIN, MAX
        QTest::addColumn<int>("verdict");   // accepted, negative, invalid
        QTest::addColumn<QString>("stored");
        const ChartKind rh = ChartKind::Humidity;
        const ChartKind tem = ChartKind::Temperature;
        QTest::newRow("whole set") << tem << "1 50 20 80" << 0 << "50 80 50 T1 T25 T50";
        QTest::newRow("from 0") << rh << "0 10 0 100" << 0 << "10 100 50 Time T5 T10";
        QTest::newRow("negative") << rh << "1 10 -5 100" << 1 << "10 100 47.5";
        QTest::newRow("MIN above MAX") << rh << "1 10 20 10" << 2 << "10 10 15";
        QTest::newRow("TO before FROM") << tem << "20 10 0 100" << 2 << "-9 100 50";
        QTest::newRow("one record, MIN at MAX") << rh << "7 7 30 30" << 0 << "1 30 30 T7 T7 T7";
        QTest::newRow("MAX 120") << rh << "1 10 0 120" << 2 << "10 120 60";
        QTest::newRow("longer than the set") << rh << "1 51 0 100" << 2 << "51 100 50";
        QTest::newRow("TO past the last row") << rh << "40 60 0 100" << 2 << "21 100 50";
        QTest::newRow("TO on the last row") << tem << "40 50 0 100" << 0 << "11 100 50 T40 T45 T50";
        QTest::newRow("too large to be a number") << rh << "1e999 1e999 0 100" << 2 << "nan 100 50";
    }
    void rangeConfirm() {
        QFETCH(ChartKind, kind);
        QFETCH(QString, boxes);
        QFETCH(int, verdict);
        QFETCH(QString, stored);
        const QStringList messages{"", "Input No.s must be >=0, please try again !",
                                   " Invalid No.s,  please try again !"};
        const Records list(50);
        RecordedChartValues values = chartStatesAtStart()[kind].recorded;
        const QStringList box = boxes.split(' ');
        const RangeOutcome outcome =
            confirmRange({box[0], box[1], box[2], box[3]}, "50", list.cells(), values);
        QCOMPARE(outcome.accepted, verdict == 0);
        QCOMPARE(outcome.message, messages[verdict]);
        QCOMPARE(kept(values), stored);
        if (kind == ChartKind::Temperature)
            QCOMPARE((QList<double>{values.lowerHalf->NegTop, values.lowerHalf->NegMid}),
                     (QList<double>{-box[3].toDouble(), -values.MidNow}));
    }
};

QTEST_GUILESS_MAIN(ChartRecordedTest)
#include "chart_recorded_test.moc"
