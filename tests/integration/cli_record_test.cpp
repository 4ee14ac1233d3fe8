#include "LoggerProcess.h"
#include "PanelRig.h"
#include "SimProcess.h"
#include "TestFiles.h"
#include "device/platform/QtSerialPort.h"
#include "engine/MeterEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

QString nameOf(const SimProcess& sim) {
    return QFileInfo(sim.devicePath()).fileName();
}

QStringList linesOf(const QString& path) {
    return QString::fromLatin1(readFile(path)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

// The rows of a CSV file as a standard reader takes them, cells joined by "|".
QStringList csvRows(const QString& path) {
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, sys\n"
                                 "for row in csv.reader(open(sys.argv[1], newline='')):\n"
                                 "    print('|'.join(row))"),
                  path});
    if (!python.waitForFinished(10000) || python.exitCode() != 0)
        return {QStringLiteral("<python3 failed>")};
    return QString::fromUtf8(python.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The rows without their time, which must lie within [from, to].
QStringList withoutTimes(const QStringList& rows, const QDateTime& from, const QDateTime& to) {
    QStringList rest;
    for (const QString& row : rows) {
        const QDateTime time =
            QDateTime::fromString(row.section(QLatin1Char('|'), 0, 0), Qt::ISODate);
        rest << (time >= from.addSecs(-1) && time <= to.addSecs(1)
                     ? row.section(QLatin1Char('|'), 1)
                     : QStringLiteral("<bad time> ") + row);
    }
    return rest;
}

QList<QDateTime> jsonTimes(const QString& path) {
    QList<QDateTime> times;
    for (const QByteArray& line : readFile(path).split('\n'))
        if (!line.isEmpty())
            times << QDateTime::fromString(
                QJsonDocument::fromJson(line).object().value(QStringLiteral("time")).toString(),
                Qt::ISODate);
    return times;
}

qint64 longestGap(const QList<QDateTime>& times) {
    qint64 longest = 0;
    for (qsizetype at = 1; at < times.size(); ++at)
        longest = std::max(longest, times[at - 1].secsTo(times[at]));
    return longest;
}

// What a traced meter-logger did to one meter's port and file, in order: "ask" for the space
// written to the port, "line" for a line written to the file, "sync" for the file forced to disk.
QStringList exchangesOf(const QString& trace, const QString& port, const QString& file) {
    static const QRegularExpression call(QStringLiteral(
        "^\\d+\\s+(write|fsync|fdatasync)\\(\\d+<([^>]*)>(, \"((?:[^\"\\\\]|\\\\.)*)\")?"));
    QStringList steps;
    for (const QString& line : trace.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = call.match(line);
        if (!match.hasMatch())
            continue;
        const QString path = match.captured(2);
        // An ask repeated because the answer was late is one question.
        if (path == port && match.captured(1) == QLatin1String("write") &&
            match.captured(4) == u" ") {
            if (steps.isEmpty() || steps.last() != QLatin1String("ask"))
                steps << QStringLiteral("ask");
        } else if (path == file)
            steps << (match.captured(1) == QLatin1String("write") ? QStringLiteral("line")
                                                                  : QStringLiteral("sync"));
    }
    return steps;
}

} // namespace

// meter-logger record against meter-sims on pseudo-terminals: what each simulated meter sends
// is what its file holds.
class LoggerRecordTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoMetersIntoCsvAppendedRunAfterRun() {
        SimProcess a(QStringLiteral("meter-a"));
        SimProcess b(QStringLiteral("meter-b"));
        QVERIFY(a.start({"drift off", "rh 40", "temp 21.5"}));
        QVERIFY(b.start({"drift off", "rh 75", "temp -3.2", "battery on"}));
        QTemporaryDir dir;
        const QDateTime from = QDateTime::currentDateTime();
        for (int run = 0; run < 2; ++run) {
            Logger logger({QStringLiteral("--port"), a.devicePath(), QStringLiteral("--port"),
                           b.devicePath(), QStringLiteral("-o"), dir.path() + QStringLiteral("/"),
                           QStringLiteral("--format"), QStringLiteral("csv"),
                           QStringLiteral("--samples"), QStringLiteral("2")});
            QCOMPARE(logger.exitStatus(), 0);
            QVERIFY2(logger.says(QStringLiteral("%1: stopped, 2 readings written").arg(nameOf(b))),
                     qPrintable(logger.errors));
            QVERIFY(logger.says(
                QStringLiteral("%1: started, recording to %2/%1.csv").arg(nameOf(a), dir.path())));
        }
        const QDateTime to = QDateTime::currentDateTime();
        const QString header =
            QStringLiteral("time|relative_humidity_percent|humidity_status|temperature|temperature_"
                           "unit|temperature_status|battery_low");
        QStringList rowsA = csvRows(dir.filePath(nameOf(a) + QStringLiteral(".csv")));
        QStringList rowsB = csvRows(dir.filePath(nameOf(b) + QStringLiteral(".csv")));
        QCOMPARE(rowsA.takeFirst(), header);
        QCOMPARE(rowsB.takeFirst(), header);
        QCOMPARE(withoutTimes(rowsA, from, to),
                 QStringList(4, QStringLiteral("40.0|ok|21.5|C|ok|0")));
        QCOMPARE(withoutTimes(rowsB, from, to),
                 QStringList(4, QStringLiteral("75.0|ok|-3.2|C|ok|1")));
    }

    // Each reading's line is on the disk before its meter is asked for the next one.
    void eachLineIsOnTheDiskBeforeTheNextQuestion() {
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty())
            QSKIP("strace is not installed");
        SimProcess a(QStringLiteral("meter-a"));
        SimProcess b(QStringLiteral("meter-b"));
        QVERIFY(a.start());
        QVERIFY(b.start());
        QTemporaryDir dir;
        const QString traceFile = dir.filePath(QStringLiteral("trace"));
        QProcess traced;
        // LeakSanitizer cannot look for leaks in a traced process, and fails it at its end.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
                           environment.value(QStringLiteral("ASAN_OPTIONS")) +
                               QStringLiteral(":detect_leaks=0"));
        traced.setProcessEnvironment(environment);
        traced.start(strace,
                     {QStringLiteral("-f"), QStringLiteral("-y"), QStringLiteral("-o"), traceFile,
                      QStringLiteral("-e"), QStringLiteral("trace=write,fsync,fdatasync"),
                      qEnvironmentVariable("METER_LOGGER"), QStringLiteral("record"),
                      QStringLiteral("--port"), a.devicePath(), QStringLiteral("--port"),
                      b.devicePath(), QStringLiteral("-o"),
                      dir.filePath(QStringLiteral("{port}.csv")), QStringLiteral("--format"),
                      QStringLiteral("csv"), QStringLiteral("--samples"), QStringLiteral("3")});
        QVERIFY(traced.waitForFinished(30000));
        QCOMPARE(traced.exitCode(), 0);
        const QString trace = QString::fromUtf8(readFile(traceFile));
        for (const SimProcess* sim : {&a, &b}) {
            const QString file =
                QFileInfo(dir.filePath(nameOf(*sim) + QStringLiteral(".csv"))).canonicalFilePath();
            QStringList steps =
                exchangesOf(trace, QFileInfo(sim->devicePath()).canonicalFilePath(), file);
            // The header is written when the file opens, before the first question.
            QCOMPARE(steps.takeFirst(), QStringLiteral("line"));
            QCOMPARE(steps.join(QLatin1Char(' ')),
                     QStringLiteral("ask line sync ask line sync ask line sync"));
        }
    }

    // A °C meter recorded in °F with the dew point: its column ends each line, after the header
    // that names it.
    void dewPointInFahrenheit() {
        SimProcess sim;
        QVERIFY(sim.start({"drift off", "rh 40", "temp 21.5"}));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hall.csv"));
        const QDateTime from = QDateTime::currentDateTime();
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), path,
                       QStringLiteral("--dew-point"), QStringLiteral("--temperature-unit"),
                       QStringLiteral("F"), QStringLiteral("--samples"), QStringLiteral("2")});
        QVERIFY2(logger.exitStatus() == 0, qPrintable(logger.errors));
        QStringList rows = csvRows(path);
        QCOMPARE(rows.takeFirst(),
                 QStringLiteral("time|relative_humidity_percent|humidity_status|temperature|"
                                "temperature_unit|temperature_status|battery_low|dew_point"));
        QCOMPARE(withoutTimes(rows, from, QDateTime::currentDateTime()),
                 QStringList(2, QStringLiteral("40.0|ok|70.7|F|ok|0|45.2")));
    }

    // One meter falls silent, then is pulled out and put back; the other one goes on meanwhile.
    void aMeterAwayResumesWhileTheOtherNeverMisses() {
        SimProcess a(QStringLiteral("meter-a"));
        SimProcess b(QStringLiteral("meter-b"));
        QVERIFY(a.start({"silent on"}));
        QVERIFY(b.start());
        QTemporaryDir dir;
        const QString fileA = dir.filePath(nameOf(a) + QStringLiteral(".jsonl"));
        const QString fileB = dir.filePath(nameOf(b) + QStringLiteral(".jsonl"));
        Logger logger({QStringLiteral("--port"), a.devicePath(), QStringLiteral("--port"),
                       b.devicePath(), QStringLiteral("-o"),
                       dir.filePath(QStringLiteral("{port}.jsonl"))});
        const auto waitFor = [&logger](const QString& line) {
            return QTest::qWaitFor([&] { return logger.says(line); }, 15000);
        };
        QVERIFY(
            waitFor(QStringLiteral("%1: the meter does not answer, still trying").arg(nameOf(a))));
        QVERIFY(!QFileInfo::exists(fileA) || QFileInfo(fileA).size() == 0);
        a.control(QStringLiteral("silent off"));
        QVERIFY(waitFor(QStringLiteral("%1: link back").arg(nameOf(a))));
        QVERIFY(QTest::qWaitFor([&] { return jsonTimes(fileA).size() >= 2; }, 10000));

        a.control(QStringLiteral("unplug"));
        QVERIFY(waitFor(QStringLiteral("%1: link lost").arg(nameOf(a))));
        const qsizetype rowsWhileAway = jsonTimes(fileA).size();
        QVERIFY(QTest::qWaitFor([&] { return jsonTimes(fileB).size() >= 12; }, 20000));
        QCOMPARE(jsonTimes(fileA).size(), rowsWhileAway);
        a.control(QStringLiteral("replug"));
        QVERIFY(
            QTest::qWaitFor([&] { return jsonTimes(fileA).size() >= rowsWhileAway + 2; }, 15000));
        logger.process.terminate();
        QCOMPARE(logger.exitStatus(), 0);

        QCOMPARE(logger.errors.count(QStringLiteral("%1: link back").arg(nameOf(a))), 2);
        QVERIFY(!logger.errors.contains(QStringLiteral("%1: link").arg(nameOf(b))));
        QVERIFY(longestGap(jsonTimes(fileA)) >= 3);
        QVERIFY(longestGap(jsonTimes(fileB)) <= 2);
    }

    // On a terminal, each meter's line is redrawn with its last reading and the rows written.
    void onATerminalEachMeterShowsItsLastReading() {
        SimProcess sim;
        QVERIFY(sim.start({"drift off", "rh 45.6", "temp 21.5"}));
        QTemporaryDir dir;
        const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(terminal >= 0 && ::grantpt(terminal) == 0 && ::unlockpt(terminal) == 0);
        const winsize size{24, 132, 0, 0};
        QVERIFY(::ioctl(terminal, TIOCSWINSZ, &size) == 0);
        QProcess logger;
        logger.setStandardErrorFile(QString::fromLocal8Bit(::ptsname(terminal)));
        logger.start(qEnvironmentVariable("METER_LOGGER"),
                     {QStringLiteral("record"), QStringLiteral("--port"), sim.devicePath(),
                      QStringLiteral("-o"), dir.filePath(QStringLiteral("m.csv")),
                      QStringLiteral("--samples"), QStringLiteral("3")});
        QVERIFY(logger.waitForFinished(20000));
        QCOMPARE(logger.exitCode(), 0);
        QByteArray shown(65536, '\0');
        const ssize_t got = ::read(terminal, shown.data(), static_cast<size_t>(shown.size()));
        ::close(terminal);
        shown.resize(std::max<ssize_t>(got, 0));
        QVERIFY2(shown.contains(QStringLiteral("%1  45.6 %RH  21.5 C  3 written  stopped, 3 "
                                               "readings written")
                                    .arg(nameOf(sim))
                                    .toUtf8()),
                 shown.constData());
    }

    // A log rotation renames the file and creates an empty one in its place while the meter is
    // away; SIGHUP moves the recording to the new file, which gets its header.
    void sighupReopensTheFileByItsName() {
        SimProcess sim;
        QVERIFY(sim.start());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("m.csv"));
        const QString rotated = path + QStringLiteral(".1");
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), path});
        QVERIFY(QTest::qWaitFor([&] { return linesOf(path).size() >= 3; }, 15000));
        sim.control(QStringLiteral("unplug"));
        QVERIFY(QTest::qWaitFor(
            [&] { return logger.says(QStringLiteral("%1: link lost").arg(nameOf(sim))); }, 15000));
        QVERIFY(QFile::rename(path, rotated));
        QVERIFY(writeFile(path, QByteArray()));
        QVERIFY(::kill(static_cast<pid_t>(logger.process.processId()), SIGHUP) == 0);
        QVERIFY(QTest::qWaitFor([&] { return !linesOf(path).isEmpty(); }, 10000));
        sim.control(QStringLiteral("replug"));
        QVERIFY(QTest::qWaitFor([&] { return linesOf(path).size() >= 3; }, 15000));
        logger.process.terminate();
        QCOMPARE(logger.exitStatus(), 0);

        const QStringList before = csvRows(rotated);
        const QStringList after = csvRows(path);
        QCOMPARE(before.first(), after.first());
        QVERIFY(after.first().startsWith(QStringLiteral("time|")));
        QCOMPARE(before.filter(QStringLiteral("time|")).size(), 1);
        QCOMPARE(after.filter(QStringLiteral("time|")).size(), 1);
        QVERIFY2(logger.says(QStringLiteral("%1: stopped, %2 readings written")
                                 .arg(nameOf(sim))
                                 .arg(before.size() + after.size() - 2)),
                 qPrintable(logger.errors));
    }

    // The name leads to a folder when SIGHUP comes: that meter fails as on a full disk, naming the
    // file.
    void aFileThatCannotBeReopenedFailsItsMeter() {
        SimProcess sim;
        QVERIFY(sim.start());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("m.csv"));
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), path});
        QVERIFY(QTest::qWaitFor([&] { return linesOf(path).size() >= 2; }, 15000));
        sim.control(QStringLiteral("unplug"));
        QVERIFY(QTest::qWaitFor(
            [&] { return logger.says(QStringLiteral("%1: link lost").arg(nameOf(sim))); }, 15000));
        QVERIFY(QFile::rename(path, path + QStringLiteral(".1")));
        QVERIFY(QDir().mkdir(path));
        QVERIFY(::kill(static_cast<pid_t>(logger.process.processId()), SIGHUP) == 0);
        QCOMPARE(logger.exitStatus(), 74);
        QVERIFY2(logger.errors.contains(
                     QStringLiteral("%1: failed: %2: cannot create (").arg(nameOf(sim), path)),
                 qPrintable(logger.errors));
    }

    // Stopped by SIGTERM, the file holds whole lines, the very bytes the desktop program's
    // recorder writes for the same readings at the same times.
    void aDataFileAsTheDesktopWritesIt() {
        const QStringList controls{QStringLiteral("drift off"), QStringLiteral("rh 45.6"),
                                   QStringLiteral("unit F"), QStringLiteral("temp -30"),
                                   QStringLiteral("battery on")};
        SimProcess sim;
        QVERIFY(sim.start(controls));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.dat"));
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), path});
        QVERIFY(QTest::qWaitFor([&] { return linesOf(path).size() >= 3; }, 15000));
        logger.process.terminate();
        QCOMPARE(logger.exitStatus(), 0);
        const QStringList lines = linesOf(path);
        QVERIFY(logger.says(
            QStringLiteral("%1: stopped, %2 readings written").arg(nameOf(sim)).arg(lines.size())));

        MeterEngine engine([] { return QDateTime::currentDateTime(); });
        for (const QString& control : controls)
            engine.control(control);
        PanelRig rig;
        rig.meterAnswers(engine.receive(" "));
        rig.dialogs.fileAnswers << dir.filePath(QStringLiteral("desktop.dat"));
        rig.trigger("CMDSAVE");
        rig.trigger("CMDSTART");
        for (const QString& line : lines) {
            rig.clock.set(QDateTime::fromString(line.section(QLatin1Char('\t'), 1, 2),
                                                QStringLiteral("MM-dd-yyyy\tHH:mm:ss")));
            rig.poll();
            rig.tick();
        }
        rig.trigger("CMDSTOP");
        QCOMPARE(readFile(path), readFile(dir.filePath(QStringLiteral("desktop.dat"))));
        QVERIFY(lines.first().endsWith(QStringLiteral("\t45.6\t-22.0\tF\tLOW")));
    }

    void refusedAtTheStart_data() {
        QTest::addColumn<bool>("held");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("port in use")
            << true << "SIM"
            << "out.csv" << 69 << "meter-logger record: SIM: in use by another program";
        QTest::newRow("no such port")
            << false << "/dev/nonexistent"
            << "out.csv" << 66 << "meter-logger record: /dev/nonexistent: no such port";
        QTest::newRow("no such folder")
            << false << "SIM"
            << "none/out.csv" << 73
            << "meter-logger record: DIR/none/out.csv: cannot create (No such file or directory)";
        QTest::newRow("two ports, one file")
            << false << "SIM,SIM2"
            << "out.csv" << 64
            << "meter-logger record: several ports need {port} or a folder in --output";
    }
    void refusedAtTheStart() {
        QFETCH(bool, held);
        QFETCH(QString, port);
        QFETCH(QString, output);
        QFETCH(int, status);
        QFETCH(QString, message);
        SimProcess sim;
        QVERIFY(sim.start());
        QtSerialPort holder(nullptr);
        if (held)
            QVERIFY(holder.openDevice(sim.devicePath()));
        QTemporaryDir dir;
        QStringList arguments{QStringLiteral("-o"), dir.filePath(output)};
        for (const QString& each : port.split(QLatin1Char(',')))
            arguments << QStringLiteral("--port")
                      << QString(each).replace(QStringLiteral("SIM"), sim.devicePath());
        Logger logger(arguments);
        QVERIFY2(logger.exitStatus() == status, qPrintable(logger.errors));
        QCOMPARE(logger.errors.section(QLatin1Char('\n'), 0, 0),
                 QString(message)
                     .replace(QStringLiteral("SIM"), sim.devicePath())
                     .replace(QStringLiteral("DIR"), dir.path()));
        QVERIFY(!QFileInfo::exists(dir.filePath(output)));
    }

    // The ports and files opened, but what the meters say ends the run: not a wrong call.
    void endedByWhatTheMetersSay_data() {
        QTest::addColumn<QString>("secondMeter");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::newRow("one ID code for two")
            << "" << QStringList{QStringLiteral("--mqtt"), QStringLiteral("mqtt://127.0.0.1:1")}
            << "meter-logger record: the meters on {a} and {b} both have the ID code 1234: give "
               "each its own (meter-logger set-id) or name them with --id";
        QTest::newRow("never answered")
            << "silent on" << QStringList{QStringLiteral("--duration"), QStringLiteral("3s")}
            << "{name-b}: stopped, the meter never answered";
    }
    void endedByWhatTheMetersSay() {
        QFETCH(QString, secondMeter);
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        SimProcess a(QStringLiteral("meter-a"));
        SimProcess b(QStringLiteral("meter-b"));
        QVERIFY(a.start());
        QVERIFY(b.start(secondMeter.isEmpty() ? QStringList() : QStringList{secondMeter}));
        QTemporaryDir dir;
        Logger logger(QStringList{QStringLiteral("--port"), a.devicePath(),
                                  QStringLiteral("--port"), b.devicePath(), QStringLiteral("-o"),
                                  dir.filePath(QStringLiteral("{port}.csv"))} +
                      options);
        QCOMPARE(logger.exitStatus(), 69);
        QVERIFY2(logger.says(QString(message)
                                 .replace(QStringLiteral("{a}"), a.devicePath())
                                 .replace(QStringLiteral("{b}"), b.devicePath())
                                 .replace(QStringLiteral("{name-b}"), nameOf(b))),
                 qPrintable(logger.errors));
    }

    // The meters are asked their ID codes one after the other: the first that does not answer
    // ends the run, and the others are neither waited for nor said to be silent.
    void aSilentMeterEndsTheReadingOfIdCodes() {
        std::vector<std::unique_ptr<SimProcess>> sims;
        QStringList arguments;
        for (int meter = 0; meter < 3; ++meter) {
            sims.push_back(std::make_unique<SimProcess>(QStringLiteral("meter-%1").arg(meter)));
            QVERIFY(sims.back()->start({"silent on"}));
            arguments << QStringLiteral("--port") << sims.back()->devicePath();
        }
        QTemporaryDir dir;
        QElapsedTimer elapsed;
        elapsed.start();
        Logger logger(arguments +
                      QStringList{QStringLiteral("-o"), dir.filePath(QStringLiteral("{port}.csv")),
                                  QStringLiteral("--mqtt"), QStringLiteral("mqtt://127.0.0.1:1")});
        QCOMPARE(logger.exitStatus(), 69);
        QVERIFY2(elapsed.elapsed() < 6000, qPrintable(QString::number(elapsed.elapsed())));
        QCOMPARE(logger.errors.count(QStringLiteral("does not answer")), 1);
        QVERIFY2(
            logger.says(QStringLiteral("meter-logger record: %1: the meter does not answer, so "
                                       "its ID code cannot name it (give --id to name it "
                                       "yourself)")
                            .arg(sims.front()->devicePath())),
            qPrintable(logger.errors));
    }

    // The disk of one meter's file is full: that meter stops, the other records on, and the run
    // still ends as it was told to.
    void aFileThatFailsStopsItsMeterAlone_data() {
        QTest::addColumn<QStringList>("limit");
        QTest::addColumn<bool>("signalled");
        QTest::newRow("samples") << QStringList{QStringLiteral("--samples"), QStringLiteral("3")}
                                 << false;
        QTest::newRow("duration") << QStringList{QStringLiteral("--duration"), QStringLiteral("4s")}
                                  << false;
        QTest::newRow("SIGTERM") << QStringList() << true;
    }

    // A file of another shape, as download --all writes it, is left as it is.
    void refusesToAppendToAFileOfAnotherShape() {
        SimProcess sim;
        QVERIFY(sim.start());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("all.csv"));
        const QByteArray download =
            "set,time,relative_humidity_percent,humidity_status,"
            "temperature,temperature_unit,temperature_status,battery_low\r\n"
            "1,2026-12-06T09:45:07+01:00,45.6,ok,23.1,C,ok,0\r\n";
        QVERIFY(writeFile(path, download));
        Logger logger({QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), path,
                       QStringLiteral("--samples"), QStringLiteral("1")});
        QVERIFY2(logger.exitStatus() == 73, qPrintable(logger.errors));
        QCOMPARE(logger.errors.section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("meter-logger record: %1: cannot append (its first line is not the "
                                "CSV header record writes)")
                     .arg(path));
        QCOMPARE(readFile(path), download);
    }

    // The disk of one meter's file is full: that meter stops, the other records on.
    void aFileThatFailsStopsItsMeterAlone() {
        QFETCH(QStringList, limit);
        QFETCH(bool, signalled);
        SimProcess a(QStringLiteral("meter-a"));
        SimProcess b(QStringLiteral("meter-b"));
        QVERIFY(a.start());
        QVERIFY(b.start());
        QTemporaryDir dir;
        const QString full = dir.filePath(nameOf(a) + QStringLiteral(".dat"));
        const QString fileB = dir.filePath(nameOf(b) + QStringLiteral(".dat"));
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), full));
        Logger logger(QStringList{QStringLiteral("--port"), a.devicePath(),
                                  QStringLiteral("--port"), b.devicePath(), QStringLiteral("-o"),
                                  dir.filePath(QStringLiteral("{port}.dat"))} +
                      limit);
        const QString failed =
            QStringLiteral("%1: failed: %2: cannot write (No space left on device)")
                .arg(nameOf(a), full);
        if (signalled) {
            QVERIFY(QTest::qWaitFor(
                [&] { return logger.says(failed) && linesOf(fileB).size() >= 3; }, 15000));
            logger.process.terminate();
        }
        QCOMPARE(logger.exitStatus(), 74);
        QVERIFY2(logger.says(failed), qPrintable(logger.errors));
        QVERIFY2(!logger.errors.contains(nameOf(a) + QStringLiteral(": stopped")),
                 qPrintable(logger.errors));
        const qsizetype rows = linesOf(fileB).size();
        QVERIFY2(logger.says(
                     QStringLiteral("%1: stopped, %2 readings written").arg(nameOf(b)).arg(rows)),
                 qPrintable(logger.errors));
        if (!signalled)
            QVERIFY2(rows >= 3 && rows <= 6, qPrintable(QString::number(rows)));
    }
};

QTEST_MAIN(LoggerRecordTest)
#include "cli_record_test.moc"
