#include "charts/LimitDialogLogic.h"
#include "state/SharedState.h"

#include <QTest>

using LimitTest = std::optional<LimitBox>;

class ChartLimitDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void testedBox_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<LimitBox>("changed");
        QTest::addColumn<LimitTest>("tested");
        QTest::newRow("RHRANGE MAX")
            << ChartKind::Humidity << LimitBox::Max << LimitTest(LimitBox::Max);
        QTest::newRow("RHRANGE count tests MIN")
            << ChartKind::Humidity << LimitBox::Points << LimitTest(LimitBox::Min);
        QTest::newRow("RHRANGE MIN tests nothing")
            << ChartKind::Humidity << LimitBox::Min << LimitTest();
        QTest::newRow("TEMRANGE MIN")
            << ChartKind::Temperature << LimitBox::Min << LimitTest(LimitBox::Min);
        QTest::newRow("TEMRANGE MAX")
            << ChartKind::Temperature << LimitBox::Max << LimitTest(LimitBox::Max);
        QTest::newRow("TEMRANGE count tests nothing")
            << ChartKind::Temperature << LimitBox::Points << LimitTest();
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
        QTest::newRow("150") << "150" << true;
        QTest::newRow("100.5") << "100.5" << true;
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow("100") << "100" << false;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("letters") << "abc" << false;
        QTest::newRow("lone minus while typing") << "-" << false;
    }
    void outOfRangeTexts() {
        QFETCH(QString, text);
        QFETCH(bool, cleared);
        QCOMPARE(limitTextOutOfRange(text), cleared);
    }

    void openingShowsTheStoredSet() {
        ChartLimits limits;
        limits.TemPoints = 300;
        limits.TemTop = 80.5;
        limits.TemBottom = -10;
        const LimitEntries entries = limitDialogEntries(ChartKind::Temperature, limits);
        QCOMPARE(entries.points, QStringLiteral("300"));
        QCOMPARE(entries.min, QStringLiteral("-10"));
        QCOMPARE(entries.max, QStringLiteral("80.5"));
    }

    void confirm_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QList<double>>("stored"); // points, top, mid, bottom
        QTest::newRow("80/20 accepted") << ChartKind::Humidity << "300"
                                        << "20"
                                        << "80" << true << QList<double>{301, 80, 50, 20};
        QTest::newRow("temperature 80/20") << ChartKind::Temperature << "299"
                                           << "20"
                                           << "80" << true << QList<double>{300, 80, 50, 20};
        QTest::newRow("top below bottom") << ChartKind::Humidity << "300"
                                          << "80"
                                          << "20" << false << QList<double>{301, 20, 50, 80};
        QTest::newRow("top 0") << ChartKind::Temperature << "300"
                               << "0"
                               << "0" << false << QList<double>{301, 0, 0, 0};
        QTest::newRow("mid 0") << ChartKind::Humidity << "300"
                               << "-50"
                               << "50" << false << QList<double>{301, 50, 0, -50};
        QTest::newRow("no points") << ChartKind::Humidity << "0"
                                   << "0"
                                   << "100" << false << QList<double>{1, 100, 50, 0};
        QTest::newRow("two points") << ChartKind::Humidity << "1"
                                    << "0"
                                    << "100" << true << QList<double>{2, 100, 50, 0};
        QTest::newRow("10000 points") << ChartKind::Temperature << "9999"
                                      << "0"
                                      << "100" << true << QList<double>{10000, 100, 50, 0};
        QTest::newRow("10001 points") << ChartKind::Temperature << "10000"
                                      << "0"
                                      << "100" << false << QList<double>{10001, 100, 50, 0};
        QTest::newRow("fractions") << ChartKind::Humidity << "9.5 pts"
                                   << "0.5"
                                   << "99.5" << true << QList<double>{10.5, 99.5, 50, 0.5};
        QTest::newRow("letters") << ChartKind::Humidity << "abc"
                                 << "x"
                                 << "y" << false << QList<double>{1, 0, 0, 0};
    }
    void confirm() {
        QFETCH(ChartKind, kind);
        QFETCH(QString, count);
        QFETCH(QString, min);
        QFETCH(QString, max);
        QFETCH(bool, accepted);
        QFETCH(QList<double>, stored);
        ChartLimits limits{300, 100, 50, 0, 300, 100, 50, 0};
        const ChartLimits before = limits;
        LiveChartProgress progress{1, 7, 1100, 2000, 1, 9, 1200, 3000};
        const LimitVerdict verdict = confirmLimits(kind, {count, min, max}, limits, progress);
        QCOMPARE(verdict, accepted ? LimitVerdict::Accepted : LimitVerdict::Rejected);
        const bool humidity = kind == ChartKind::Humidity;
        const QList<double> got =
            humidity
                ? QList<double>{limits.HumPoints, limits.HumTop, limits.HumMid, limits.HumBottom}
                : QList<double>{limits.TemPoints, limits.TemTop, limits.TemMid, limits.TemBottom};
        QCOMPARE(got, stored);
        QCOMPARE(humidity ? limits.TemPoints : limits.HumPoints, 300.0);
        QCOMPARE(humidity ? limits.TemBottom : limits.HumBottom, before.HumBottom);
        // Acceptance sends only this chart back to waiting for its first point.
        QCOMPARE(humidity ? progress.HumStarted : progress.TemStarted, accepted ? 0 : 1);
        QCOMPARE(humidity ? progress.HumIndex : progress.TemIndex, accepted ? 0 : humidity ? 7 : 9);
        QCOMPARE(humidity ? progress.TemStarted : progress.HumStarted, 1);
    }

    void valuesTooLargeAreRejected() {
        ChartLimits limits;
        LiveChartProgress progress;
        QCOMPARE(confirmLimits(ChartKind::Temperature, {"300", "1e999", "1e999"}, limits, progress),
                 LimitVerdict::Rejected);
        QCOMPARE(confirmLimits(ChartKind::Humidity, {"300", "-1e999", "1e999"}, limits, progress),
                 LimitVerdict::Rejected);
        QCOMPARE(invalidLimitsMessage(), QStringLiteral(" INVALID, TRY AGAIN!"));
    }
};

QTEST_GUILESS_MAIN(ChartLimitDialogTest)
#include "chart_limit_dialog_test.moc"
