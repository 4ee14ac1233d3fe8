#include "logic/charts/LimitDialogLogic.h"
#include "logic/state/ChartState.h"

#include <QTest>

class ChartLimitDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openingShowsTheStoredSet() {
        const LimitEntries shown = limitDialogEntries(ChartLimits{300, 80.5, 0, -10});
        QCOMPARE((QStringList{shown.points, shown.min, shown.max}),
                 (QStringList{"300", "-10", "80.5"}));
    }

    // What OK stores, accepted or not: points (one more than typed), top, mid, bottom.
    void confirm_data() {
        QTest::addColumn<QString>("entries"); // count, min, max
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("stored");
        QTest::newRow("80/20 accepted") << "300 20 80" << true << "301 80 50 20";
        QTest::newRow("top below bottom") << "300 80 20" << false << "301 20 50 80";
        QTest::newRow("top at bottom") << "300 40 40" << true << "301 40 40 40";
        QTest::newRow("top 0") << "300 0 0" << false << "301 0 0 0";
        QTest::newRow("mid 0") << "300 -50 50" << false << "301 50 0 -50";
        QTest::newRow("no points") << "0 0 100" << false << "1 100 50 0";
        QTest::newRow("two points") << "1 0 100" << true << "2 100 50 0";
        QTest::newRow("10000 points") << "9999 0 100" << true << "10000 100 50 0";
        QTest::newRow("10001 points") << "10000 0 100" << false << "10001 100 50 0";
        QTest::newRow("too large to be a number") << "300 0 1e999" << false << "301 inf inf 0";
    }
    void confirm() {
        QFETCH(QString, entries);
        QFETCH(bool, accepted);
        QFETCH(QString, stored);
        ChartLimits limits{300, 100, 50, 0};
        LiveChartProgress progress{1, 7, 1100, 2000};
        const QStringList typed = entries.split(' ');
        QCOMPARE(confirmLimits({typed[0], typed[1], typed[2]}, limits, progress),
                 accepted ? LimitVerdict::Accepted : LimitVerdict::Rejected);
        QStringList got;
        for (double value : {limits.Points, limits.Top, limits.Mid, limits.Bottom})
            got.append(QString::number(value));
        QCOMPARE(got.join(' '), stored);
        // Acceptance sends the chart back to waiting for its first point.
        QCOMPARE((QList<int>{progress.Started, progress.Index}),
                 (accepted ? QList<int>{0, 0} : QList<int>{1, 7}));
    }
};

QTEST_GUILESS_MAIN(ChartLimitDialogTest)
#include "chart_limit_dialog_test.moc"
