#include "charts/LimitDialogLogic.h"
#include "state/SharedState.h"

#include <QTest>
#include <limits>

using LimitTest = std::optional<LimitBox>;

class ChartLimitDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void testedBox_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<LimitBox>("changed");
        QTest::addColumn<LimitTest>("tested");
        const ChartKind rh = ChartKind::Humidity;
        const ChartKind tem = ChartKind::Temperature;
        QTest::newRow("RHRANGE MAX") << rh << LimitBox::Max << LimitTest(LimitBox::Max);
        QTest::newRow("RHRANGE count tests MIN")
            << rh << LimitBox::Points << LimitTest(LimitBox::Min);
        QTest::newRow("RHRANGE MIN tests nothing") << rh << LimitBox::Min << LimitTest();
        QTest::newRow("TEMRANGE MIN") << tem << LimitBox::Min << LimitTest(LimitBox::Min);
        QTest::newRow("TEMRANGE MAX") << tem << LimitBox::Max << LimitTest(LimitBox::Max);
        QTest::newRow("TEMRANGE count tests nothing") << tem << LimitBox::Points << LimitTest();
    }
    void testedBox() {
        QFETCH(ChartKind, kind);
        QFETCH(LimitBox, changed);
        QFETCH(LimitTest, tested);
        QCOMPARE(limitBoxTestedOnChange(kind, changed), tested);
    }

    void outOfRangeTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("100.5") << "100.5" << true;
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow("100") << "100" << false;
        QTest::newRow("0") << "0" << false;
    }
    void outOfRangeTexts() {
        QFETCH(QString, text);
        QFETCH(bool, cleared);
        QCOMPARE(limitTextOutOfRange(text), cleared);
    }

    void openingShowsTheStoredSet() {
        const ChartLimits limits{300, 80.5, 0, -10, 20, 60, 0, 5};
        const auto texts = [&](ChartKind kind) {
            const LimitEntries entries = limitDialogEntries(kind, limits);
            return QStringList{entries.points, entries.min, entries.max};
        };
        QCOMPARE(texts(ChartKind::Humidity), (QStringList{"300", "-10", "80.5"}));
        QCOMPARE(texts(ChartKind::Temperature), (QStringList{"20", "5", "60"}));
    }

    void confirm_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QStringList>("entries"); // count, min, max
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QList<double>>("stored"); // points, top, mid, bottom
        const ChartKind rh = ChartKind::Humidity;
        const ChartKind tem = ChartKind::Temperature;
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("80/20 accepted")
            << rh << QStringList{"300", "20", "80"} << true << QList<double>{301, 80, 50, 20};
        QTest::newRow("top below bottom")
            << rh << QStringList{"300", "80", "20"} << false << QList<double>{301, 20, 50, 80};
        QTest::newRow("top 0") << tem << QStringList{"300", "0", "0"} << false
                               << QList<double>{301, 0, 0, 0};
        QTest::newRow("mid 0") << rh << QStringList{"300", "-50", "50"} << false
                               << QList<double>{301, 50, 0, -50};
        QTest::newRow("no points")
            << rh << QStringList{"0", "0", "100"} << false << QList<double>{1, 100, 50, 0};
        QTest::newRow("two points")
            << rh << QStringList{"1", "0", "100"} << true << QList<double>{2, 100, 50, 0};
        QTest::newRow("10000 points")
            << tem << QStringList{"9999", "0", "100"} << true << QList<double>{10000, 100, 50, 0};
        QTest::newRow("10001 points")
            << tem << QStringList{"10000", "0", "100"} << false << QList<double>{10001, 100, 50, 0};
        QTest::newRow("too large to be a number")
            << tem << QStringList{"300", "0", "1e999"} << false << QList<double>{301, inf, inf, 0};
    }
    void confirm() {
        QFETCH(ChartKind, kind);
        QFETCH(QStringList, entries);
        QFETCH(bool, accepted);
        QFETCH(QList<double>, stored);
        ChartLimits limits{300, 100, 50, 0, 300, 100, 50, 0};
        LiveChartProgress progress{1, 7, 1100, 2000, 1, 9, 1200, 3000};
        QCOMPARE(confirmLimits(kind, {entries[0], entries[1], entries[2]}, limits, progress),
                 accepted ? LimitVerdict::Accepted : LimitVerdict::Rejected);
        const bool humidity = kind == ChartKind::Humidity;
        const QList<double> got =
            humidity
                ? QList<double>{limits.HumPoints, limits.HumTop, limits.HumMid, limits.HumBottom}
                : QList<double>{limits.TemPoints, limits.TemTop, limits.TemMid, limits.TemBottom};
        QCOMPARE(got, stored);
        QCOMPARE(humidity ? limits.TemPoints : limits.HumPoints, 300.0);
        // Acceptance sends only this chart back to waiting for its first point.
        QCOMPARE(humidity ? progress.HumStarted : progress.TemStarted, accepted ? 0 : 1);
        QCOMPARE(humidity ? progress.HumIndex : progress.TemIndex, accepted ? 0 : humidity ? 7 : 9);
        QCOMPARE(humidity ? progress.TemStarted : progress.HumStarted, 1);
    }
};

QTEST_GUILESS_MAIN(ChartLimitDialogTest)
#include "chart_limit_dialog_test.moc"
