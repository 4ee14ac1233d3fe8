#include "logic/live/MinuteHistory.h"
#include "logic/recording/ExportRow.h"

#include <QTest>

namespace {

// 2026-12-07 10:00:00 UTC, on a minute.
constexpr qint64 Start = 1796637600000;
constexpr qint64 Minute = 60 * 1000;

ExportRow row(const char* humidity, const char* temperature) {
    ExportRow row;
    row.humidity = exportValue(humidity).value_or(ExportValue{});
    row.temperature = exportValue(temperature).value_or(ExportValue{});
    row.dewPointCelsius = exportDewPoint(row.humidity, row.temperature, 'C');
    return row;
}

HistoryPoint point(qint64 at, const char* humidity = "45.0", const char* temperature = "20.0") {
    return historyPoint(at, row(humidity, temperature));
}

QList<qint64> timesOf(const std::vector<HistoryPoint>& points) {
    QList<qint64> times;
    for (const HistoryPoint& p : points)
        times.append(p.takenAtMs);
    return times;
}

} // namespace

// A meter's day as the chart draws it: the last reading of each minute, no more than a day of
// them, and no number where the meter gave none.
class LiveHistoryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aMinuteKeepsItsLastReading() {
        MinuteHistory history;
        QVERIFY(!history.take(point(Start + 1000, "40.0"), 'C'));
        QVERIFY(!history.take(point(Start + 59999, "41.0"), 'C'));
        QCOMPARE(history.points(Start + 2 * Minute).size(), size_t(0));
        const std::optional<HistoryPoint> completed = history.take(point(Start + Minute), 'C');
        QVERIFY(completed);
        QCOMPARE(completed->takenAtMs, Start + 59999);
        QCOMPARE(completed->humidity, 41.0);
        QCOMPARE(timesOf(history.points(Start + 2 * Minute)), QList<qint64>{Start + 59999});
    }

    void theRingHoldsADayAtMost() {
        MinuteHistory history;
        const int minutes = MinuteHistory::Capacity + 60;
        for (int minute = 0; minute <= minutes; ++minute)
            (void)history.take(point(Start + minute * Minute), 'C');
        // Asked as of the start, so that only the ring's bound leaves points out.
        const std::vector<HistoryPoint> day = history.points(Start);
        QCOMPARE(day.size(), size_t(1440));
        QCOMPARE(day.front().takenAtMs, Start + 60 * Minute);
        QCOMPARE(day.back().takenAtMs, Start + (minutes - 1) * Minute);
    }

    void pointsOlderThanADayAreLeftOut() {
        MinuteHistory history;
        for (const qint64 at : {Start, Start + Minute, Start + 3 * Minute})
            (void)history.take(point(at), 'C');
        QCOMPARE(timesOf(history.points(Start + 24 * 60 * Minute + 30000)),
                 QList<qint64>{Start + Minute});
    }

    void aClockSetBackReplacesTheMinutesAfterIt() {
        MinuteHistory history;
        for (const qint64 at :
             {Start, Start + Minute, Start + 2 * Minute, Start + Minute + 5000, Start + 3 * Minute})
            (void)history.take(point(at), 'C');
        QCOMPARE(timesOf(history.points(Start + 4 * Minute)),
                 (QList<qint64>{Start, Start + Minute + 5000}));
    }

    // The day read from the files comes in after the logger has taken readings of its own: it goes
    // before them, and a minute both hold is the live one's.
    void theFilesDayGoesBeforeTheReadingsTakenMeanwhile_data() {
        QTest::addColumn<QList<qint64>>("fromFiles");
        QTest::addColumn<QList<qint64>>("taken");
        QTest::addColumn<QList<qint64>>("expected");
        QTest::newRow("readings after the files' day")
            << QList<qint64>{Start, Start + Minute, Start + 2 * Minute}
            << QList<qint64>{Start + 3 * Minute + 1000, Start + 4 * Minute + 1000}
            << QList<qint64>{Start, Start + Minute, Start + 2 * Minute, Start + 3 * Minute + 1000};
        QTest::newRow("a minute in both")
            << QList<qint64>{Start, Start + Minute + 30000}
            << QList<qint64>{Start + Minute + 50000, Start + 2 * Minute}
            << QList<qint64>{Start, Start + Minute + 50000};
        QTest::newRow("the first reading's minute still open")
            << QList<qint64>{Start, Start + Minute + 30000} << QList<qint64>{Start + Minute + 50000}
            << QList<qint64>{Start};
        QTest::newRow("no reading yet") << QList<qint64>{Start, Start + Minute} << QList<qint64>{}
                                        << QList<qint64>{Start, Start + Minute};
    }
    void theFilesDayGoesBeforeTheReadingsTakenMeanwhile() {
        QFETCH(QList<qint64>, fromFiles);
        QFETCH(QList<qint64>, taken);
        QFETCH(QList<qint64>, expected);
        MinuteHistory files;
        for (const qint64 at : fromFiles)
            (void)files.take(point(at), 'C');
        (void)files.completeMinute();
        MinuteHistory live;
        for (const qint64 at : taken)
            (void)live.take(point(at), 'C');
        live.putBefore(files);
        QCOMPARE(timesOf(live.points(Start)), expected);
    }

    void historyJson() {
        MinuteHistory history;
        (void)history.take(point(Start, "45.2", "21.5"), 'C');
        (void)history.take(point(Start + Minute, "OL", "21.5"), 'C');
        (void)history.take(point(Start + 2 * Minute, "50.0", "----"), 'F');
        (void)history.completeMinute();
        QCOMPARE(
            ::historyJson(3, history.points(Start + 3 * Minute), history.unit()),
            QByteArray("{\"dewPoint\":[9.1,null,null],\"humidity\":[45.2,null,50],\"meter\":3,"
                       "\"t\":[1796637600000,1796637660000,1796637720000],\"temperature\":[21.5,"
                       "21.5,null],\"temperatureUnit\":\"°F\"}"));
        QCOMPARE(historyPointJson(1, point(Start, "-OL", "5.0")),
                 QByteArray("{\"dewPoint\":null,\"humidity\":null,\"meter\":1,\"t\":1796637600000,"
                            "\"temperature\":5}"));
    }
};

QTEST_GUILESS_MAIN(LiveHistoryTest)
#include "live_history_test.moc"
