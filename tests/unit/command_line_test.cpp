#include "FakeClock.h"
#include "cli/DownloadProgress.h"
#include "cli/DurationText.h"
#include "cli/RunDeadline.h"
#include "cli/TerminalWidth.h"

#include <QSignalSpy>
#include <QTest>

// meter-logger's own rules, without a meter: durations, the end of a long run, lines that fit
// the terminal.
class CommandLineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void durations_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("seconds") << "90s" << qint64(90);
        QTest::newRow("an hour") << "1h" << qint64(3600);
        QTest::newRow("hours and minutes") << "1h30m" << qint64(5400);
        QTest::newRow("spaced") << " 1h 30m " << qint64(5400);
        QTest::newRow("days") << "2d" << qint64(172800);
        QTest::newRow("past an int of ms") << "49d17h2m52s" << qint64(4294972);
        QTest::newRow("zero") << "0s" << qint64(-1);
        QTest::newRow("no unit") << "90" << qint64(-1);
        QTest::newRow("unknown unit") << "3w" << qint64(-1);
        QTest::newRow("negative") << "-1h" << qint64(-1);
        QTest::newRow("empty") << "" << qint64(-1);
        QTest::newRow("a hundred years") << "36500d" << qint64(3153600000);
        QTest::newRow("past a hundred years") << "36499d23h59m60s1s" << qint64(-1);
        QTest::newRow("nine digits of days") << "999999999d" << qint64(-1);
        QTest::newRow("ten digits") << "1000000000s" << qint64(-1);
        QTest::newRow("parts that add up past it") << QString(" 36500d").repeated(3) << qint64(-1);
    }
    void durations() {
        QFETCH(QString, text);
        QFETCH(qint64, seconds);
        QCOMPARE(parseDuration(text).value_or(-1), seconds);
    }

    // A duration longer than a timer can hold ends at its time, not before and not never.
    void longDurationsEndAtTheirTime_data() {
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("5 s") << qint64(5);
        QTest::newRow("25 days") << qint64(25 * 86400);
        QTest::newRow("just past an int of ms") << qint64(4294972);
        QTest::newRow("50 days") << qint64(50 * 86400);
    }
    void longDurationsEndAtTheirTime() {
        QFETCH(qint64, seconds);
        FakeClock clock;
        RunDeadline deadline(nullptr, clock, seconds, std::chrono::milliseconds(5));
        QSignalSpy reached(&deadline, &RunDeadline::reached);
        deadline.start();
        QTest::qWait(40);
        QCOMPARE(reached.count(), 0);
        clock.advanceMilliseconds(seconds * 1000 - 1000);
        QTest::qWait(40);
        QCOMPARE(reached.count(), 0);
        clock.advanceMilliseconds(1000);
        QTRY_COMPARE_WITH_TIMEOUT(reached.count(), 1, 2000);
    }

    // A line as wide as the terminal or wider wraps, and every redraw in place then lands a row
    // lower than it should.
    void linesFitTheTerminal_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("shown");
        QTest::newRow("width unknown") << "COM1  45.6 %RH" << 0 << "COM1  45.6 %RH";
        QTest::newRow("fits") << "COM1  45.6 %RH" << 15 << "COM1  45.6 %RH";
        QTest::newRow("as wide") << "COM1  45.6 %RH" << 14 << "COM1  45.6 %R";
        QTest::newRow("wider") << "COM1  45.6 %RH" << 8 << "COM1  4";
    }
    void linesFitTheTerminal() {
        QFETCH(QString, line);
        QFETCH(int, columns);
        QFETCH(QString, shown);
        QCOMPARE(fitToColumns(line, columns), shown);
    }

    void downloadBarFitsTheTerminal_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("bar");
        QTest::newRow("width unknown")
            << 0 << "[###############               ] 50 of 100 records, 0:05 left";
        QTest::newRow("wide") << 80
                              << "[###############               ] 50 of 100 records, 0:05 left";
        QTest::newRow("40 columns") << 40 << "[####    ] 50 of 100 records, 0:05 left";
        QTest::newRow("no room for a bar") << 30 << "50 of 100 records, 0:05 left";
        QTest::newRow("not even the counts") << 20 << "50 of 100 records, ";
    }
    void downloadBarFitsTheTerminal() {
        QFETCH(int, columns);
        QFETCH(QString, bar);
        QCOMPARE(DownloadProgress::barText(50, 100, 4.2, columns), bar);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
