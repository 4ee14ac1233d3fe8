// Figures for many meters in one meter-logger: that many meter-sims on pseudo-terminals, one
// meter-logger recording them all into JSON Lines for the given time, then stopped by SIGTERM.
// Prints, per meter, the readings expected (one a second) against those written, the longest gap
// between two of them and the readings written twice (the same second twice in a row), and for
// the logger its processor time as a share of one core and its resident memory, in total and per
// meter. With a number of unplugs, the first meter is pulled out (2 s) and put back (3 s) that
// many times instead of the measured time, and the figures say how often it came back and the
// longest gap of the others.
//
//   cli_fleet_bench [seconds, default 60] [meters, default 32] [unplugs, default 0]
#include "ResidentMemory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

using Stopwatch = std::chrono::steady_clock;

// utime + stime of a process, in seconds.
double cpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    // The command name may hold spaces; the fields counted here come after its closing bracket.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double residentMegabytes(qint64 pid) {
    return residentMegabytesIn(QStringLiteral("/proc/%1/status").arg(pid));
}

bool waitUntil(const std::function<bool()>& done, int seconds) {
    const auto end = Stopwatch::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (Stopwatch::now() > end)
            return false;
        QThread::msleep(50);
    }
    return true;
}

struct FileFigures {
    qsizetype rows = 0;
    qint64 longestGap = 0;
    int twice = 0;
};

FileFigures figuresOf(const QString& path) {
    QFile file(path);
    FileFigures figures;
    if (!file.open(QIODevice::ReadOnly))
        return figures;
    QDateTime previous;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        const QDateTime time = QDateTime::fromString(
            QJsonDocument::fromJson(line).object().value(QStringLiteral("time")).toString(),
            Qt::ISODate);
        if (previous.isValid()) {
            const qint64 gap = previous.secsTo(time);
            figures.longestGap = std::max(figures.longestGap, gap);
            figures.twice += gap == 0 ? 1 : 0;
        }
        previous = time;
        ++figures.rows;
    }
    return figures;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int seconds = arguments.size() > 1 ? arguments[1].toInt() : 60;
    const int meters = arguments.size() > 2 ? arguments[2].toInt() : 32;
    const int unplugs = arguments.size() > 3 ? arguments[3].toInt() : 0;
    const QString logger = QStringLiteral(METER_LOGGER_PATH);
    QTemporaryDir dir;
    if (seconds <= 0 || meters <= 0 || unplugs < 0 || !dir.isValid()) {
        std::fputs("usage: cli_fleet_bench [seconds] [meters] [unplugs]\n", stderr);
        return 64;
    }

    std::vector<std::unique_ptr<QProcess>> sims;
    QStringList recordArguments{QStringLiteral("record")};
    QStringList names;
    for (int meter = 0; meter < meters; ++meter) {
        // Serial ports are locked by their base name: names of this run's own.
        const QString name =
            QStringLiteral("fleet-%1-%2").arg(QCoreApplication::applicationPid()).arg(meter);
        const QString link = dir.filePath(name);
        auto sim = std::make_unique<QProcess>();
        sim->setProgram(QStringLiteral(METER_SIM_PATH));
        sim->setArguments({QStringLiteral("--link"), link});
        sim->setStandardOutputFile(QProcess::nullDevice());
        sim->start();
        if (!sim->waitForStarted(5000) ||
            !waitUntil([&link] { return QFileInfo::exists(link); }, 5)) {
            std::fprintf(stderr, "meter-sim %d did not start\n", meter);
            return 69;
        }
        sims.push_back(std::move(sim));
        recordArguments << QStringLiteral("--port") << link;
        names << name;
    }
    recordArguments << QStringLiteral("-o") << dir.filePath(QStringLiteral("{port}.jsonl"));

    QProcess run;
    run.setStandardErrorFile(dir.filePath(QStringLiteral("logger.log")));
    run.start(logger, recordArguments);
    if (!run.waitForStarted(5000)) {
        std::fputs("meter-logger did not start\n", stderr);
        return 69;
    }
    const qint64 pid = run.processId();
    const auto started = Stopwatch::now();
    // The first second opens the ports and files; the figures start after it.
    QThread::sleep(2);
    const double cpuBefore = cpuSeconds(pid);
    const auto measured = Stopwatch::now();
    if (unplugs == 0)
        QThread::sleep(static_cast<unsigned long>(seconds));
    for (int unplug = 0; unplug < unplugs; ++unplug) {
        // Nothing here runs an event loop: each control line is sent before the wait.
        sims.front()->write("unplug\n");
        sims.front()->waitForBytesWritten(1000);
        QThread::sleep(2);
        sims.front()->write("replug\n");
        sims.front()->waitForBytesWritten(1000);
        QThread::sleep(3);
    }
    const double cpuUsed = cpuSeconds(pid) - cpuBefore;
    const double wall = std::chrono::duration<double>(Stopwatch::now() - measured).count();
    const double resident = residentMegabytes(pid);
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    run.waitForFinished(30000);
    const double recorded = std::chrono::duration<double>(Stopwatch::now() - started).count();

    std::printf("%d meters, %.0f s measured, %.0f s recorded in all, exit status %d\n", meters,
                wall, recorded, run.exitCode());
    std::printf("meter-logger: %.2f %% of one core, %.1f MB resident (%.2f MB a meter)\n",
                100.0 * cpuUsed / wall, resident, resident / meters);
    qsizetype fewest = -1;
    qsizetype most = 0;
    qint64 longestGap = 0;
    int twice = 0;
    for (const QString& name : names) {
        const FileFigures figures = figuresOf(dir.filePath(name + QStringLiteral(".jsonl")));
        if (unplugs > 0 && name == names.front())
            continue;
        fewest = fewest < 0 ? figures.rows : std::min(fewest, figures.rows);
        most = std::max(most, figures.rows);
        longestGap = std::max(longestGap, figures.longestGap);
        twice += figures.twice;
    }
    std::printf("readings a meter: %lld to %lld of about %.0f; longest gap %lld s; "
                "the same second twice: %d\n",
                static_cast<long long>(fewest), static_cast<long long>(most), recorded,
                static_cast<long long>(longestGap), twice);
    if (unplugs > 0) {
        QFile log(dir.filePath(QStringLiteral("logger.log")));
        const QByteArray states = log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
        const QByteArray back = names.front().toUtf8() + ": link back";
        std::printf("%s: unplugged %d times, back %lld times, %lld readings; the figures above "
                    "are the other meters'\n",
                    qPrintable(names.front()), unplugs, static_cast<long long>(states.count(back)),
                    static_cast<long long>(
                        figuresOf(dir.filePath(names.front() + QStringLiteral(".jsonl"))).rows));
    }
    for (const std::unique_ptr<QProcess>& sim : sims) {
        sim->write("quit\n");
        sim->waitForFinished(3000);
    }
    return 0;
}
