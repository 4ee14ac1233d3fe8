#include "charts/LimitDialogLogic.h"
#include "state/SharedState.h"

#include <QTest>

class ChartLimitDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openingShowsTheStoredSet() {
        const ChartLimits limits{300, 80.5, 0, -10, 20, 60, 0, 5};
        const LimitEntries rh = limitDialogEntries(ChartKind::Humidity, limits);
        const LimitEntries tem = limitDialogEntries(ChartKind::Temperature, limits);
        QCOMPARE((QStringList{rh.points, rh.min, rh.max, tem.points, tem.min, tem.max}),
                 (QStringList{"300", "-10", "80.5", "20", "5", "60"}));
    }

    // What OK stores, accepted or not: points (one more than typed), top, mid, bottom.
    void confirm_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QString>("entries"); // count, min, max
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("stored");
        const ChartKind rh = ChartKind::Humidity;
        const ChartKind tem = ChartKind::Temperature;
        QTest::newRow("80/20 accepted") << rh << "300 20 80" << true << "301 80 50 20";
        QTest::newRow("top below bottom") << rh << "300 80 20" << false << "301 20 50 80";
        QTest::newRow("top at bottom") << tem << "300 40 40" << true << "301 40 40 40";
        QTest::newRow("top 0") << tem << "300 0 0" << false << "301 0 0 0";
        QTest::newRow("mid 0") << rh << "300 -50 50" << false << "301 50 0 -50";
        QTest::newRow("no points") << rh << "0 0 100" << false << "1 100 50 0";
        QTest::newRow("two points") << rh << "1 0 100" << true << "2 100 50 0";
        QTest::newRow("10000 points") << tem << "9999 0 100" << true << "10000 100 50 0";
        QTest::newRow("10001 points") << tem << "10000 0 100" << false << "10001 100 50 0";
        QTest::newRow("too large to be a number")
            << tem << "300 0 1e999" << false << "301 inf inf 0";
    }
    void confirm() {
        QFETCH(ChartKind, kind);
        QFETCH(QString, entries);
        QFETCH(bool, accepted);
        QFETCH(QString, stored);
        ChartLimits limits{300, 100, 50, 0, 300, 100, 50, 0};
        LiveChartProgress progress{1, 7, 1100, 2000, 1, 9, 1200, 3000};
        const QStringList typed = entries.split(' ');
        QCOMPARE(confirmLimits(kind, {typed[0], typed[1], typed[2]}, limits, progress),
                 accepted ? LimitVerdict::Accepted : LimitVerdict::Rejected);
        const bool rh = kind == ChartKind::Humidity;
        QStringList got;
        for (double value :
             {rh ? limits.HumPoints : limits.TemPoints, rh ? limits.HumTop : limits.TemTop,
              rh ? limits.HumMid : limits.TemMid, rh ? limits.HumBottom : limits.TemBottom})
            got.append(QString::number(value));
        QCOMPARE(got.join(' '), stored);
        QCOMPARE(rh ? limits.TemPoints : limits.HumPoints, 300.0);
        // Acceptance sends only this chart back to waiting for its first point.
        QCOMPARE(rh ? progress.HumStarted : progress.TemStarted, accepted ? 0 : 1);
        QCOMPARE(rh ? progress.HumIndex : progress.TemIndex, accepted ? 0 : rh ? 7 : 9);
        QCOMPARE(rh ? progress.TemStarted : progress.HumStarted, 1);
    }
};

QTEST_GUILESS_MAIN(ChartLimitDialogTest)
#include "chart_limit_dialog_test.moc"
