// Figures of the meter link against meter-sim on a pseudo-terminal, through the real serial
// port and waits: start-up time to the port dialog, the poll's round trip, the idle CPU of a
// polling program and its resident memory.
#include "LiveApplication.h"
#include "SimProcess.h"
#include "device/link/MeterLink.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long statusKilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<int>(qstrlen(field)))
                .trimmed()
                .split(' ')
                .value(0)
                .toLong();
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    const auto processStart = std::chrono::steady_clock::now();
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    if (qEnvironmentVariableIsEmpty("METER_SIM"))
        qputenv("METER_SIM", METER_SIM_PATH);
    QApplication application(argc, argv);
    const int idleSeconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;

    LiveApplication meter;
    QCoreApplication::processEvents();
    const double startupMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - processStart)
            .count();
    std::printf("start-up to the port dialog: %.1f ms (dialog visible: %s)\n", startupMs,
                meter.application.selection()->isVisible() ? "yes" : "no");

    SimProcess sim;
    if (!sim.start()) {
        std::fprintf(stderr, "meter-sim did not start\n");
        return 1;
    }
    qputenv("METER_COM1", sim.devicePath().toLocal8Bit());
    PanelWindow* panel = meter.choosePort();
    QTest::qWait(2500);
    std::printf("panel shows %s %%RH, %s %s\n", qPrintable(panel->humidityCaption()),
                qPrintable(panel->temperatureCaption()), qPrintable(panel->unitCaption()));
    std::printf("resident memory after start: %ld kB (peak %ld kB)\n", statusKilobytes("VmRSS:"),
                statusKilobytes("VmHWM:"));

    // Round trip: from sending the space to the panel updated. The poll's own 10 ms wait is
    // the floor; what lies above it is the program's and the line's share.
    panel->link().stopPolling();
    QList<double> trips;
    int updates = 0;
    QObject::connect(&panel->link(), &MeterLink::frameDecoded, panel, [&] { ++updates; });
    for (int i = 0; i < 100; ++i) {
        QElapsedTimer timer;
        timer.start();
        panel->link().Timer1_Timer();
        trips << timer.nsecsElapsed() / 1e6;
        QTest::qWait(20);
    }
    std::sort(trips.begin(), trips.end());
    std::printf("poll round trip over %lld polls (%d updates): median %.2f ms, 95th %.2f ms, "
                "max %.2f ms (wait 10 ms)\n",
                static_cast<long long>(trips.size()), updates, trips[trips.size() / 2],
                trips[trips.size() * 95 / 100], trips.last());
    panel->link().startPolling();

    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    // A plain event loop, as the program's own: QTest::qWait would wake every few milliseconds.
    QEventLoop idle;
    QTimer::singleShot(idleSeconds * 1000, &idle, &QEventLoop::quit);
    idle.exec();
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("idle CPU while polling once a second for %d s: %.3f s = %.2f %% of one core\n",
                idleSeconds, cpu, 100.0 * cpu / (wall.elapsed() / 1000.0));
    std::printf("resident memory after %d s: %ld kB\n", idleSeconds, statusKilobytes("VmRSS:"));
    panel->close();
    return 0;
}
