// meter-logger download --all of a full datalogger memory from meter-sim at the line's true
// speed, plain and with --verify, against the time the bytes alone take on a 9600-baud line.
#include "SimProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// One set filling the memory: 32768 bytes hold a 10-byte header and 8189 4-byte records.
constexpr int fullMemoryRecords = 8189;
constexpr double lineBytesPerSecond = 960.0;

} // namespace

int main(int argc, char** argv) {
    qputenv("METER_SIM", METER_SIM_PATH);
    QCoreApplication app(argc, argv);
    SimProcess sim;
    if (!sim.start({QStringLiteral("erase"), QStringLiteral("fill"), QStringLiteral("pace on")})) {
        std::fprintf(stderr, "meter-sim did not start\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.dat"));
    // The set's own bytes, and the status, clock and directory replies before it; --verify asks
    // for the set twice.
    const double setSeconds = (10.0 + 4.0 * fullMemoryRecords) / lineBytesPerSecond;
    const double replySeconds = (9 + 6 + 11) / lineBytesPerSecond;
    std::printf("line time:          %.2f s a copy of the set (9600 baud, 8N1)\n", setSeconds);
    for (const bool verify : {false, true}) {
        QStringList arguments{QStringLiteral("download"), QStringLiteral("--port"),
                              sim.devicePath(),           QStringLiteral("--all"),
                              QStringLiteral("-o"),       path};
        if (verify)
            arguments << QStringLiteral("--verify");
        QProcess logger;
        logger.setProcessChannelMode(QProcess::ForwardedChannels);
        QElapsedTimer timer;
        timer.start();
        logger.start(QStringLiteral(METER_LOGGER_PATH), arguments);
        if (!logger.waitForFinished(300000) || logger.exitCode() != 0) {
            std::fprintf(stderr, "the download failed\n");
            return 1;
        }
        const double seconds = timer.elapsed() / 1000.0;
        QFile file(path);
        const int lines = file.open(QIODevice::ReadOnly) ? int(file.readAll().count("\r\n")) : 0;
        const double goal = replySeconds + (verify ? 2 : 1) * setSeconds;
        const char* name = verify ? "download --verify:" : "download --all:   ";
        std::printf(
            "%s  %d of %d records, %.2f s, %.1f %% over its line time (goal: within 5 %%)\n", name,
            lines, fullMemoryRecords, seconds, 100.0 * (seconds - goal) / goal);
    }
    return 0;
}
