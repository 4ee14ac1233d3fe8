#include "ChartRig.h"
#include "LiveApplication.h"
#include "SimProcess.h"
#include "app/RecordListOpener.h"
#include "device/link/MeterLink.h"
#include "ui/datalogger/LoggerWindow.h"
#include "ui/datalogger/MeterSettingsCommands.h"
#include "ui/lists/RecordListWindow.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <ctime>
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

const QStringList MeterReadings{"drift off", "rh 42.5", "temp 21.3"};

int environmentOr(const char* name, int fallback) {
    bool set = false;
    const int value = qEnvironmentVariableIntValue(name, &set);
    return set ? value : fallback;
}

// Open descriptors and resident memory in KiB.
std::pair<qsizetype, qint64> processUse() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    const qint64 pages =
        statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ').value(1).toLongLong() : 0;
    return {
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size(),
        pages * sysconf(_SC_PAGESIZE) / 1024};
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// How many lines a data file holds when each is whole and they are numbered 1, 2, 3... without
// a gap; -1 otherwise.
int gaplessLines(const QByteArray& contents) {
    int count = 0;
    for (const QByteArray& line : contents.split('\n')) {
        if (line.isEmpty())
            continue;
        if (!line.endsWith('\r') || line.split('\t').first().trimmed().toInt() != ++count)
            return -1;
    }
    return count;
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
    Q_DISABLE_COPY_MOVE(FileSizeLimit)

private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

// The whole program on meter-sim, sampling once a second, showing the reading and recording it
// into a file of its own folder.
struct LiveRig {
    SimProcess sim;
    std::unique_ptr<LiveApplication> meter;
    PanelWindow* panel = nullptr;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.dat"));

    bool startRecording() {
        if (!sim.start(MeterReadings))
            return false;
        meter = std::make_unique<LiveApplication>();
        panel = meter->choosePort();
        panel->setSamplingCaption(QStringLiteral("1 Sec"));
        if (!QTest::qWaitFor([this] { return caption("LBLVALrh") == QLatin1String("42.5"); }, 5000))
            return false;
        meter->dialogs.fileAnswers << path;
        trigger("CMDSAVE");
        trigger("CMDSTART");
        return true;
    }
    QString caption(const char* name) const { return meter->caption(name); }
    void trigger(const char* action) {
        panel->findChild<QAction*>(QString::fromLatin1(action))->trigger();
    }
    int savedLines() const { return gaplessLines(readFile(path)); }
    const QList<FakeDialogs::Message>& messages() const { return meter->dialogs.messages; }
};

// LOGGER on its own over the real port, downloading at the pace of a 9600-baud line.
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
    MeterLink link{&panel, *serial, waiter, state.reading};
    RecordListOpener recordLists{&panel, platform};
    MeterSettingsCommands commands{
        &panel, link, state.logger, [this] { return state.ComPortNumber; }, platform, recordLists};

    // A filled meter holds some 64 sets; otherwise it has the three it starts with.
    bool start(bool filled = true) {
        state.ComPortNumber = 1;
        if (!sim.start(MeterReadings) || !serial->open(1))
            return false;
        if (filled) {
            serial->write(QByteArrayLiteral("ST").repeated(60));
            QTest::qWait(300);
            sim.control(QStringLiteral("fill"));
        }
        sim.control(QStringLiteral("pace on"));
        // Control lines and the line to the meter are two ways in: let the sim take both.
        QTest::qWait(300);
        link.startPolling();
        return true;
    }
    bool polling() const { return link.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive(); }
    // LOGGER opened and its status read: true once it lists more than the given number of sets.
    bool openLogger(int setsAbove) {
        commands.CMDMEMORY_Click();
        return QTest::qWaitFor([&] { return text("LBLSET").toInt() > setsAbove; }, 10000) &&
               QTest::qWaitFor([&] { return !logger()->exchangeRunning(); });
    }
    void chooseSet(int set) {
        logger()->SSCommand2_Click();
        directory()->setCurrentRow(set);
        logger()->Grid1_Click();
    }
    LoggerWindow* logger() { return commands.logger(); }
    QString text(const char* name) {
        return logger()->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    Grid* directory() { return logger()->findChild<Grid*>(QStringLiteral("Grid1")); }
    // What LOGGER showed, and the set chosen, before the fault.
    QString sets, meterClock;
    int records = 0;
    QString fault;
    // LOGGER on a filled meter runs the exchange ("status", "directory" or the last set's
    // "download") with the fault ("unplug", "silent on") striking once part of a long reply has
    // come, or, for the short status reply, while the meter holds it back. The exchange ends by
    // itself, soon, with the poll running again.
    void cutShort(const QString& exchange, const QString& strikes) {
        fault = strikes;
        const bool status = exchange == QLatin1String("status");
        const bool download = exchange == QLatin1String("download");
        QVERIFY2(start(), "meter-sim did not start");
        QVERIFY(openLogger(50));
        sets = text("LBLSET");
        meterClock = text("Label3");
        if (download) {
            chooseSet(sets.toInt());
            records = text("LBLRECORDS").toInt();
            QVERIFY2(records > 7000, qPrintable(text("LBLRECORDS") + " of set " + sets));
        }
        QVERIFY(dialogs.messages.isEmpty());
        const QString progressUnit =
            download ? QStringLiteral("RECORDS COMPLETED") : QStringLiteral("SETS COMPLETED");
        QTimer strike;
        strike.setInterval(status ? 250 : 5);
        QObject::connect(&strike, &QTimer::timeout, &panel, [&] {
            const QString progress = text("Label8");
            if (status || (progress.endsWith(progressUnit) && leadingCount(progress) >= 20)) {
                strike.stop();
                sim.control(fault);
            }
        });
        if (status) {
            link.stopPolling();
            sim.control(QStringLiteral("delay 600"));
            QTest::qWait(200);
        }
        strike.start();
        QElapsedTimer took;
        took.start();
        if (status)
            logger()->Form_Resize();
        else if (download)
            logger()->SSCommand3_Click();
        else
            logger()->SSCommand2_Click();
        QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));
        QVERIFY(!strike.isActive());
        QVERIFY(polling());
        QCOMPARE(text("Label1"), QString());
    }
    // The meter back, the poll reads it again.
    void meterBack() {
        sim.control(QStringLiteral("delay 0"));
        sim.control(fault == QLatin1String("unplug") ? QStringLiteral("replug")
                                                     : QStringLiteral("silent off"));
        QSignalSpy frames(&link, &MeterLink::frameDecoded);
        QTRY_VERIFY_WITH_TIMEOUT(!frames.isEmpty(), 5000);
    }
    RecordListWindow* list() const { return recordLists.window(); }
    QString listCaption() const {
        return list() ? list()->findChild<QLabel*>(QStringLiteral("Label1"))->text() : QString();
    }
};

} // namespace

class FaultScenariosTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The device pulled out and put back while the program polls and records: each time it
    // comes back within two seconds, and nothing piles up. METER_UNPLUG_CYCLES sets how often
    // (scripts/faults-long runs 100).
    void unplugAndReplugWhileRecording() {
        const int cycles = environmentOr("METER_UNPLUG_CYCLES", 8);
        LiveRig rig;
        QVERIFY2(rig.startRecording(), "meter-sim did not start");

        // Driven from the link's signals: while the device is away the poll waits in its own
        // loop, and the test's waits run inside it. The replug comes before the program has
        // noticed, just after, or while it tries again once a second.
        const QList<int> replugDelays{0, 300, 700, 1300};
        QElapsedTimer clock;
        clock.start();
        qint64 replugAt = 0;
        QList<qint64> recoveries;
        std::pair<qsizetype, qint64> use;
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
            if (recoveries.size() == 1)
                use = processUse();
            if (recoveries.size() < cycles)
                QTimer::singleShot(400, rig.panel, unplug);
        });
        unplug();
        QTRY_COMPARE_WITH_TIMEOUT(recoveries.size(), cycles, cycles * 5000);
        QTRY_COMPARE_WITH_TIMEOUT(rig.caption("LBLVALrh"), QStringLiteral("42.5"), 5000);
        const auto [descriptorsAfter, memoryAfter] = processUse();
        const auto [descriptors, memory] = use;
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
        QVERIFY2(rig.savedLines() >= cycles, qPrintable(QString::number(rig.savedLines())));
        QVERIFY(rig.messages().isEmpty());
    }

    // A set downloaded whole: every record, the last one's time, and the list's count.
    void loggerDownloadsASet() {
        LoggerRig rig;
        QVERIFY2(rig.start(false), "meter-sim did not start");
        QVERIFY(rig.openLogger(2));
        QCOMPARE(rig.text("LBLSET"), QStringLiteral("3"));
        rig.chooseSet(3);
        rig.logger()->SSCommand3_Click();
        QVERIFY(rig.list());
        QCOMPARE(rig.text("Label8"), QStringLiteral("30 RECORDS COMPLETED"));
        QTRY_COMPARE(rig.listCaption(), QStringLiteral(" 30  RECORDS IN NO.  3  SET"));
        QCOMPARE(rig.list()->grid().rowCount(), 31);
        QCOMPARE(rig.list()->grid().cellText(30, 2), QStringLiteral("09:34:50"));
        QVERIFY(rig.dialogs.messages.isEmpty());
        QVERIFY(rig.polling());
    }

    // The meter pulled out or falling silent in the middle of a status or directory read: the
    // exchange ends by itself, the poll runs again, and LOGGER says the meter did not answer,
    // keeps the status it showed and lists the directory entries that arrived.
    void loggerStatusOrDirectoryCutShort_data() {
        QTest::addColumn<QString>("exchange");
        QTest::addColumn<QString>("fault");
        for (const char* exchange : {"status", "directory"}) {
            for (const char* fault : {"unplug", "silent on"})
                QTest::addRow("%s, %s", exchange, fault) << exchange << fault;
        }
    }
    void loggerStatusOrDirectoryCutShort() {
        QFETCH(QString, exchange);
        QFETCH(QString, fault);
        LoggerRig rig;
        rig.cutShort(exchange, fault);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(rig.dialogs.oneFailureBoxLacks({"THE METER DOES NOT ANSWER, TRY AGAIN!"}),
                 QString());
        QCOMPARE(rig.text("LBLSET"), rig.sets);
        QCOMPARE(rig.text("Label3"), rig.meterClock);
        if (exchange == QLatin1String("directory")) {
            const int listed = rig.directory()->rowCount() - 1;
            QVERIFY2(listed >= 1 && listed < rig.sets.toInt(), qPrintable(QString::number(listed)));
            for (int row = 1; row <= listed; ++row)
                QVERIFY(!rig.directory()->cellText(row, 1).isEmpty());
        }
        rig.meterBack();
    }

    // The meter pulled out or falling silent in the middle of a download: the exchange ends by
    // itself, the poll runs again, and REC_LIST lists the records that arrived and says how many
    // did not.
    void loggerDownloadCutShort_data() {
        QTest::addColumn<QString>("fault");
        QTest::newRow("unplug") << "unplug";
        QTest::newRow("silent") << "silent on";
    }
    void loggerDownloadCutShort() {
        QFETCH(QString, fault);
        LoggerRig rig;
        rig.cutShort(QStringLiteral("download"), fault);
        if (QTest::currentTestFailed())
            return;
        const int arrived = leadingCount(rig.text("Label8"));
        const int records = rig.records;
        QVERIFY2(arrived >= 20 && arrived < records, qPrintable(rig.text("Label8")));
        QVERIFY(rig.list());
        // Cut off inside a record, the set cannot be told from one that lost bytes.
        const QString cutShort = QStringLiteral(" %1  OF  %2  RECORDS IN NO.  %3  SET")
                                     .arg(arrived)
                                     .arg(records)
                                     .arg(rig.sets);
        const QString damaged =
            QStringLiteral(" %1  RECORDS IN NO.  %2  SET, DAMAGED").arg(arrived).arg(rig.sets);
        QTRY_VERIFY2(rig.listCaption() == cutShort || rig.listCaption() == damaged,
                     qPrintable(rig.listCaption()));
        const Grid& list = rig.list()->grid();
        QCOMPARE(list.rowCount(), arrived + 1);
        for (int row = 1; row <= arrived; ++row) {
            QCOMPARE(list.cellText(row, 3), QStringLiteral("42.5"));
            QCOMPARE(list.cellText(row, 4), QStringLiteral("21.3"));
        }
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].text,
                 rig.listCaption() == cutShort
                     ? QStringLiteral(" %1  RECORDS DID NOT ARRIVE!").arg(records - arrived)
                     : QStringLiteral("THE SET ARRIVED DAMAGED!\n\r %1  OF  %2  RECORDS LISTED")
                           .arg(arrived)
                           .arg(records));
        rig.meterBack();
    }

    // Noise and frames nobody asked for on the line: the poll goes on, the program neither
    // hangs nor spins, and the reading is back once the line is clean. METER_NOISE_SECONDS sets
    // how long (10 s here; a minute in scripts/faults-long).
    void noiseOnTheLine() {
        const int seconds = environmentOr("METER_NOISE_SECONDS", 10);
        LiveRig rig;
        QVERIFY2(rig.startRecording(), "meter-sim did not start");
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
        QSignalSpy frames(&rig.panel->link(), &MeterLink::frameDecoded);
        QElapsedTimer wall;
        wall.start();
        const std::clock_t cpu = std::clock();
        noise.start();
        QTest::qWait(seconds * 1000);
        noise.stop();
        const double share =
            double(std::clock() - cpu) / CLOCKS_PER_SEC / (wall.elapsed() / 1000.0);
        qInfo("%d bursts in %.1f s: %lld frames decoded, CPU %.1f %% of wall time", bursts,
              wall.elapsed() / 1000.0, static_cast<long long>(frames.size()), 100 * share);
        QVERIFY2(share < 0.5, qPrintable(QString::number(share)));
        QVERIFY(bursts > seconds * 10);

        frames.clear();
        QTRY_VERIFY_WITH_TIMEOUT(frames.size() >= 2, 5000);
        QCOMPARE(rig.caption("LBLVALrh"), QStringLiteral("42.5"));
        QCOMPARE(rig.caption("LBLVALtemp"), QStringLiteral("21.3"));
        rig.trigger("CMDSTOP");
        QVERIFY2(rig.savedLines() >= seconds - 1, qPrintable(QString::number(rig.savedLines())));
        QVERIFY(rig.messages().isEmpty());
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
        QVERIFY2(rig.startRecording(), "meter-sim did not start");
        QTRY_VERIFY_WITH_TIMEOUT(rig.savedLines() >= 2, 5000);

        const QString kept = diskFull ? rig.path : rig.dir.filePath(QStringLiteral("moved.dat"));
        std::unique_ptr<FileSizeLimit> limit;
        QVERIFY(diskFull || QFile::rename(rig.path, kept));
        const QByteArray before = readFile(kept);
        if (diskFull)
            limit = std::make_unique<FileSizeLimit>(before.size() + 10);
        QTRY_COMPARE_WITH_TIMEOUT(rig.messages().size(), 1, 5000);
        limit.reset();
        QVERIFY(!rig.meter->application.state().recording.RecordingOn);
        QCOMPARE(rig.meter->dialogs.oneFailureBoxLacks({"RECORDING STOPPED !!", rig.path, reason}),
                 QString());
        QCOMPARE(readFile(kept), before);
        QVERIFY(gaplessLines(before) >= 2);
        QCOMPARE(QFile::exists(rig.path), diskFull);
    }

    // A chart's PRINT that fails says so, and why, as the lists' PRINT does.
    void chartPrintFailure() {
        ChartRig rig;
        rig.printer.failing = Printer::Failure::Refused;
        rig.printer.failingReason = QStringLiteral("queue stopped");
        rig.charts.openLiveChart(ChartKind::Humidity)
            ->findChild<QAction*>(QStringLiteral("MNUPRINT"))
            ->trigger();
        QCOMPARE(rig.dialogs.oneFailureBoxLacks(
                     {"NOTHING WAS PRINTED !!", "The printer refused the job (queue stopped)."}),
                 QString());
    }
};

QTEST_MAIN(FaultScenariosTest)
#include "fault_scenarios_test.moc"
