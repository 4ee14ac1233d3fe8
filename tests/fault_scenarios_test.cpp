#include "ChartRig.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "LiveApplication.h"
#include "SimProcess.h"
#include "charts/ChartWindow.h"
#include "link/MeterLink.h"
#include "lists/Grid.h"
#include "lists/RecordListWindow.h"
#include "logger/LoggerWindow.h"
#include "logger/MeterSettingsCommands.h"
#include "platform/Clock.h"
#include "platform/QtSerialPort.h"
#include "platform/QtWaiter.h"
#include "state/SharedState.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

// The program against meter-sim on a pseudo-terminal, through the real serial port and waits,
// while the line, the device or the disk fail under it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool builtWithAddressSanitizer = true;
#else
constexpr bool builtWithAddressSanitizer = false;
#endif

namespace {

qsizetype openDescriptors() {
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::NoDotAndDotDot | QDir::System)
        .size();
}

qint64 residentKiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE) / 1024;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The numbers the data file's lines start with, in order; -1 for a line cut short.
QList<int> lineNumbers(const QByteArray& contents) {
    QList<int> numbers;
    for (const QByteArray& line : contents.split('\n')) {
        if (line.isEmpty())
            continue;
        numbers << (line.endsWith('\r') ? line.split('\t').first().trimmed().toInt() : -1);
    }
    return numbers;
}

QList<int> oneTo(int count) {
    QList<int> numbers;
    for (int n = 1; n <= count; ++n)
        numbers << n;
    return numbers;
}

int leadingCount(const QString& text) {
    return text.trimmed().section(QLatin1Char(' '), 0, 0).toInt();
}

// Files may grow to this many bytes; a longer write fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

// The whole program on meter-sim, reading 42.5 %RH and 21.3 °C, sampling once a second.
struct LiveRig {
    SimProcess sim;
    std::unique_ptr<LiveApplication> meter;
    PanelWindow* panel = nullptr;

    bool start() {
        if (!sim.start())
            return false;
        qputenv("METER_COM1", sim.devicePath().toLocal8Bit());
        for (const char* line : {"drift off", "rh 42.5", "temp 21.3"})
            sim.control(QString::fromLatin1(line));
        meter = std::make_unique<LiveApplication>();
        panel = meter->choosePort();
        panel->setSamplingCaption(QStringLiteral("1 Sec"));
        return panel != nullptr;
    }
    QString caption(const char* name) const { return meter->caption(name); }
    void trigger(const char* action) {
        panel->findChild<QAction*>(QString::fromLatin1(action))->trigger();
    }
    void record(const QString& path) {
        meter->dialogs.fileAnswers << path;
        trigger("CMDSAVE");
        trigger("CMDSTART");
    }
};

// LOGGER on its own over the real port, as the download test sets it up, with a meter that holds
// some 64 sets: the three it starts with, about 60 of one record, and a last one that fills the
// memory.
struct LoggerRig {
    SimProcess sim;
    SharedState state;
    QWidget panel;
    QtSerialPort* serial = new QtSerialPort(&panel);
    FakeDialogs dialogs;
    FakePrinter printer;
    SystemClock clock;
    QtWaiter waiter;
    const Platform platform{*serial, dialogs, printer, clock, waiter};
    QTimer poll;
    MeterLink link{&panel, *serial, waiter, state.reading, &poll};
    QPointer<RecordListWindow> list;
    MeterSettingsCommands commands{&panel, link, state, platform, [this] {
                                       list = new RecordListWindow(&panel, state, platform);
                                       return list.data();
                                   }};

    bool start() {
        if (!sim.start())
            return false;
        qputenv("METER_COM1", sim.devicePath().toLocal8Bit());
        for (const char* line : {"drift off", "rh 42.5", "temp 21.3"})
            sim.control(QString::fromLatin1(line));
        state.ComPortNumber = 1;
        if (!serial->open(1))
            return false;
        serial->write(QByteArrayLiteral("ST").repeated(60));
        QTest::qWait(300);
        sim.control(QStringLiteral("fill"));
        sim.control(QStringLiteral("pace on"));
        // Control lines and the line to the meter are two ways in: let the sim take both.
        QTest::qWait(300);
        poll.setInterval(1000);
        poll.start();
        return true;
    }
    LoggerWindow* logger() { return commands.logger(); }
    QString text(const char* name) {
        return logger()->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    Grid* directory() { return logger()->findChild<Grid*>(QStringLiteral("Grid1")); }
};

} // namespace

class FaultScenariosTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The device pulled out and put back while the program polls and records: each time it
    // comes back within two seconds, and nothing piles up. METER_UNPLUG_CYCLES sets how often
    // (scripts/faults-long runs 100).
    void unplugAndReplugWhileRecording() {
        const int cycles = qEnvironmentVariableIsSet("METER_UNPLUG_CYCLES")
                               ? qEnvironmentVariableIntValue("METER_UNPLUG_CYCLES")
                               : 8;
        LiveRig rig;
        QVERIFY2(rig.start(), "meter-sim did not start");
        QTRY_COMPARE_WITH_TIMEOUT(rig.caption("LBLVALrh"), QStringLiteral("42.5"), 5000);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cycles.dat"));
        rig.record(path);

        // Driven from the link's signals: while the device is away the poll waits in its own
        // loop, and the test's waits run inside it. The replug comes before the program has
        // noticed, just after, or while it tries again once a second.
        const QList<int> replugDelays{0, 300, 700, 1300};
        QElapsedTimer clock;
        clock.start();
        qint64 replugAt = 0;
        QList<qint64> recoveries;
        qsizetype descriptors = 0;
        qint64 memory = 0;
        std::function<void()> unplug = [&] {
            rig.sim.control(QStringLiteral("unplug"));
            QTimer::singleShot(replugDelays[recoveries.size() % replugDelays.size()], rig.panel,
                               [&] {
                                   rig.sim.control(QStringLiteral("replug"));
                                   replugAt = clock.elapsed();
                               });
        };
        QObject::connect(&rig.panel->link(), &MeterLink::noDeviceLeft, rig.panel, [&] {
            recoveries << clock.elapsed() - replugAt;
            if (recoveries.size() == 1) {
                descriptors = openDescriptors();
                memory = residentKiB();
            }
            if (recoveries.size() < cycles)
                QTimer::singleShot(400, rig.panel, unplug);
        });
        unplug();
        QTRY_COMPARE_WITH_TIMEOUT(recoveries.size(), cycles, cycles * 5000);
        QTRY_COMPARE_WITH_TIMEOUT(rig.caption("LBLVALrh"), QStringLiteral("42.5"), 5000);
        const qsizetype descriptorsAfter = openDescriptors();
        const qint64 memoryAfter = residentKiB();
        rig.trigger("CMDSTOP");

        const qint64 slowest = *std::max_element(recoveries.begin(), recoveries.end());
        qInfo("%d cycles in %.1f s: slowest recovery %lld ms, descriptors %lld -> %lld, "
              "resident %lld -> %lld KiB",
              cycles, clock.elapsed() / 1000.0, slowest, static_cast<long long>(descriptors),
              static_cast<long long>(descriptorsAfter), memory, memoryAfter);
        QVERIFY2(slowest < 2000, qPrintable(QString::number(slowest)));
        QCOMPARE(descriptorsAfter, descriptors);
        // Under AddressSanitizer freed memory waits in its quarantine, so resident size says
        // nothing about leaks there (LeakSanitizer checks those at exit instead).
        if (!builtWithAddressSanitizer)
            QVERIFY2(memoryAfter - memory < 2048,
                     qPrintable(QString::number(memoryAfter - memory)));
        const QList<int> numbers = lineNumbers(readFile(path));
        QVERIFY(numbers.size() >= cycles);
        QCOMPARE(numbers, oneTo(numbers.size()));
        QVERIFY(rig.meter->dialogs.messages.isEmpty());
    }

    // The meter pulled out or falling silent in the middle of each datalogger exchange: the
    // exchange ends by itself, the poll runs again, and LOGGER shows what arrived and no more.
    void loggerExchangeCutShort_data() {
        QTest::addColumn<QString>("exchange");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("cure");
        for (const char* exchange : {"status", "directory", "download"}) {
            QTest::addRow("%s, unplugged", exchange) << exchange << "unplug"
                                                     << "replug";
            QTest::addRow("%s, silent", exchange) << exchange << "silent on"
                                                  << "silent off";
        }
    }
    void loggerExchangeCutShort() {
        QFETCH(QString, exchange);
        QFETCH(QString, fault);
        QFETCH(QString, cure);
        LoggerRig rig;
        QVERIFY2(rig.start(), "meter-sim did not start");
        rig.commands.CMDMEMORY_Click();
        LoggerWindow* logger = rig.logger();
        QTRY_VERIFY_WITH_TIMEOUT(rig.text("LBLSET").toInt() > 50, 10000);
        QTRY_VERIFY(!logger->exchangeRunning());
        const QString sets = rig.text("LBLSET");
        const QString meterClock = rig.text("Label3");
        int records = 0;
        if (exchange == QLatin1String("download")) {
            logger->SSCommand2_Click();
            rig.directory()->setCurrentRow(sets.toInt());
            logger->Grid1_Click();
            records = rig.text("LBLRECORDS").toInt();
            QVERIFY2(records > 7000, qPrintable(rig.text("LBLRECORDS") + " of set " + sets));
        }
        QVERIFY(rig.dialogs.messages.isEmpty());

        // The fault strikes once part of a long reply has come, or, for the short status reply,
        // while the meter holds it back.
        const QString progressUnit = exchange == QLatin1String("download")
                                         ? QStringLiteral("RECORDS COMPLETED")
                                         : QStringLiteral("SETS COMPLETED");
        QTimer strike;
        strike.setInterval(5);
        QObject::connect(&strike, &QTimer::timeout, &rig.panel, [&] {
            const QString progress = rig.text("Label8");
            if (exchange == QLatin1String("status") ||
                (progress.endsWith(progressUnit) && leadingCount(progress) >= 20)) {
                strike.stop();
                rig.sim.control(fault);
            }
        });
        if (exchange == QLatin1String("status")) {
            rig.poll.stop();
            rig.sim.control(QStringLiteral("delay 600"));
            QTest::qWait(200);
            strike.setInterval(250);
        }
        strike.start();
        QElapsedTimer took;
        took.start();
        if (exchange == QLatin1String("status"))
            logger->Form_Resize();
        else if (exchange == QLatin1String("directory"))
            logger->SSCommand2_Click();
        else
            logger->SSCommand3_Click();
        const qint64 exchangeMs = took.elapsed();
        QVERIFY(!strike.isActive());
        QVERIFY2(exchangeMs < 5000, qPrintable(QString::number(exchangeMs)));
        QVERIFY(rig.poll.isActive());
        QCOMPARE(rig.text("Label1"), QString());

        if (exchange == QLatin1String("download")) {
            const int arrived = leadingCount(rig.text("Label8"));
            QVERIFY2(arrived >= 20 && arrived < records, qPrintable(rig.text("Label8")));
            QVERIFY(rig.list);
            const Grid& list = rig.list->grid();
            QCOMPARE(list.rowCount(), arrived + 1);
            for (int row = 1; row <= arrived; ++row) {
                QCOMPARE(list.cellText(row, 3), QStringLiteral("42.5"));
                QCOMPARE(list.cellText(row, 4), QStringLiteral("21.3"));
            }
            QCOMPARE(rig.dialogs.messages.size(), 1);
            QCOMPARE(rig.dialogs.messages[0].text,
                     LoggerWindow::missingRecordsMessage(records - arrived));
        } else {
            QCOMPARE(rig.dialogs.oneFailureBoxLacks({LoggerWindow::noAnswerMessage()}), QString());
            QCOMPARE(rig.text("LBLSET"), sets);
            QCOMPARE(rig.text("Label3"), meterClock);
        }
        if (exchange == QLatin1String("directory")) {
            const int listed = rig.directory()->rowCount() - 1;
            QVERIFY2(listed >= 1 && listed < sets.toInt(), qPrintable(QString::number(listed)));
            for (int row = 1; row <= listed; ++row)
                QVERIFY(!rig.directory()->cellText(row, 1).isEmpty());
        }

        // The meter back, the poll reads it again.
        rig.sim.control(QStringLiteral("delay 0"));
        rig.sim.control(cure);
        int frames = 0;
        QObject::connect(&rig.link, &MeterLink::frameDecoded, &rig.panel, [&] { ++frames; });
        QTRY_VERIFY_WITH_TIMEOUT(frames > 0, 5000);
    }

    // Noise and frames nobody asked for on the line: the poll goes on, the program neither
    // hangs nor spins, and the reading is back once the line is clean. METER_NOISE_SECONDS sets
    // how long (10 s here; a minute in scripts/faults-long).
    void noiseOnTheLine() {
        const int seconds = qEnvironmentVariableIsSet("METER_NOISE_SECONDS")
                                ? qEnvironmentVariableIntValue("METER_NOISE_SECONDS")
                                : 10;
        LiveRig rig;
        QVERIFY2(rig.start(), "meter-sim did not start");
        QTRY_COMPARE_WITH_TIMEOUT(rig.caption("LBLVALrh"), QStringLiteral("42.5"), 5000);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("noise.dat"));
        rig.record(path);
        const QByteArray frame = rig.meter->application.state().reading.LastFrame;
        QCOMPARE(frame.size(), 8);

        QRandomGenerator random(20240131);
        int bursts = 0;
        QTimer noise;
        noise.setInterval(20);
        QObject::connect(&noise, &QTimer::timeout, rig.panel, [&] {
            QByteArray bytes(64, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
            if (++bursts % 5 == 0)
                bytes = frame + bytes.left(bytes.at(0) & 7) + frame;
            rig.sim.control(QStringLiteral("raw ") + QString::fromLatin1(bytes.toHex(' ')));
        });
        int frames = 0;
        QObject::connect(&rig.panel->link(), &MeterLink::frameDecoded, rig.panel,
                         [&] { ++frames; });
        QElapsedTimer wall;
        wall.start();
        const double cpu = cpuSeconds();
        noise.start();
        QTest::qWait(seconds * 1000);
        noise.stop();
        const double share = (cpuSeconds() - cpu) / (wall.elapsed() / 1000.0);
        qInfo("%d bursts in %.1f s: %d frames decoded, CPU %.1f %% of wall time", bursts,
              wall.elapsed() / 1000.0, frames, 100 * share);
        QVERIFY2(share < 0.5, qPrintable(QString::number(share)));
        QVERIFY(bursts > seconds * 10);

        frames = 0;
        QTRY_VERIFY_WITH_TIMEOUT(frames >= 2, 5000);
        QCOMPARE(rig.caption("LBLVALrh"), QStringLiteral("42.5"));
        QCOMPARE(rig.caption("LBLVALtemp"), QStringLiteral("21.3"));
        rig.trigger("CMDSTOP");
        const QList<int> numbers = lineNumbers(readFile(path));
        QVERIFY(numbers.size() >= seconds - 1);
        QCOMPARE(numbers, oneTo(numbers.size()));
        QVERIFY(rig.meter->dialogs.messages.isEmpty());
    }

    // The disk fills up, or the data file is moved away, while the program records: a box says
    // so, the recording stops, and every line written before stays whole where it was.
    void recordingLosesItsFile_data() {
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QString>("reason");
        QTest::newRow("disk full") << true << QStringLiteral("part of the line");
        QTest::newRow("moved away") << false << QStringLiteral("moved away");
    }
    void recordingLosesItsFile() {
        QFETCH(bool, diskFull);
        QFETCH(QString, reason);
        LiveRig rig;
        QVERIFY2(rig.start(), "meter-sim did not start");
        QTRY_COMPARE_WITH_TIMEOUT(rig.caption("LBLVALrh"), QStringLiteral("42.5"), 5000);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lost.dat"));
        const QString moved = dir.filePath(QStringLiteral("moved.dat"));
        rig.record(path);
        QTRY_VERIFY_WITH_TIMEOUT(lineNumbers(readFile(path)).size() >= 2, 5000);

        std::unique_ptr<FileSizeLimit> limit;
        QByteArray before;
        if (diskFull) {
            before = readFile(path);
            limit = std::make_unique<FileSizeLimit>(before.size() + 10);
        } else {
            QVERIFY(QFile::rename(path, moved));
            before = readFile(moved);
        }
        QTRY_COMPARE_WITH_TIMEOUT(rig.meter->dialogs.messages.size(), 1, 5000);
        limit.reset();
        QVERIFY(!rig.meter->application.state().recording.RecordingOn);
        QCOMPARE(rig.meter->dialogs.oneFailureBoxLacks({"RECORDING STOPPED !!", path, reason}),
                 QString());
        const QByteArray after = readFile(diskFull ? path : moved);
        QCOMPARE(after, before);
        QCOMPARE(lineNumbers(after), oneTo(lineNumbers(after).size()));
        QCOMPARE(QFile::exists(path), diskFull);
    }

    // A chart's PRINT that fails says so, and why, as the lists' PRINT does.
    void chartPrintFailure_data() {
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no printer") << int(Printer::Failure::NoPrinter)
                                    << "There is no default printer set up on this computer.";
        QTest::newRow("refused") << int(Printer::Failure::Refused)
                                 << "The printer refused the job (queue stopped).";
        QTest::newRow("printed") << int(Printer::Failure::None) << "";
    }
    void chartPrintFailure() {
        QFETCH(int, failure);
        QFETCH(QString, reason);
        ChartRig rig;
        rig.printer.failing = Printer::Failure(failure);
        rig.printer.failingReason = QStringLiteral("queue stopped");
        ChartWindow* chart = rig.charts.openLiveChart(ChartKind::Humidity);
        chart->findChild<QAction*>(QStringLiteral("MNUPRINT"))->trigger();
        if (reason.isEmpty()) {
            QCOMPARE(rig.printer.images.size(), 1);
            QVERIFY(rig.dialogs.messages.isEmpty());
        } else {
            QCOMPARE(rig.dialogs.oneFailureBoxLacks({"NOTHING WAS PRINTED !!", reason}), QString());
        }
    }
};

QTEST_MAIN(FaultScenariosTest)
#include "fault_scenarios_test.moc"
