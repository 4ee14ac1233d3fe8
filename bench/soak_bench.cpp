// Figures for a long run: the program as main() sets it up, with the meter simulated in the same
// process and the clock and waits faked, sampling once a second while it records to a data file
// with the live list, GRAPH1, GRAPH2 and DEW open. The timers are driven by hand, so a simulated
// week takes minutes. Prints the resident memory after the first simulated hour and at the end
// against what the list's rows account for, and the processor time of a tick through each
// simulated day.
//
//   soak_bench [seconds to simulate, default 604800 = 7 days] [folder for the data file]
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "ResidentMemory.h"
#include "SimSerialPort.h"
#include "app/Application.h"
#include "device/link/MeterLink.h"
#include "logic/state/SharedState.h"
#include "ui/charts/ChartWindow.h"
#include "ui/dew/DewWindow.h"
#include "ui/lists/Grid.h"
#include "ui/lists/GridModel.h"
#include "ui/lists/ListWindow.h"
#include "ui/panel/PanelMenus.h"
#include "ui/panel/PanelWindow.h"
#include "ui/startup/SelectionWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <vector>

namespace {

using Stopwatch = std::chrono::steady_clock;
constexpr qint64 SecondsPerDay = 86'400;
constexpr qint64 SecondsPerHour = 3'600;

// Resident memory once freed heap pages are handed back, so that only what is held counts.
double residentMegabytes() {
    malloc_trim(0);
    return residentMegabytesIn(QStringLiteral("/proc/self/status"));
}

// The processor time this thread has used: a tick's cost then reads the same on a loaded machine,
// where the time on the wall would count whatever else ran meanwhile.
double threadCpuMicros() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

int openDescriptors() {
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).count()) - 2;
}

template <typename Window> Window* shownWindow(QWidget* parent, const char* name) {
    for (Window* window : parent->findChildren<Window*>(QString::fromLatin1(name)))
        if (window->isVisible())
            return window;
    return nullptr;
}

// Keeps the open window of a name at hand; a window closed and replaced is looked up again.
template <typename Window> struct ShownWindow {
    QWidget* parent;
    const char* name;
    QPointer<Window> window;
    Window* get() {
        if (!window || !window->isVisible())
            window = shownWindow<Window>(parent, name);
        return window;
    }
};

struct Segment {
    qint64 firstSecond;
    qint64 lastSecond;
    double meanMicros;
    double medianMicros;
    double p99Micros;
    double residentMb;
    double rowMb;
};

Segment summarize(qint64 first, qint64 last, std::vector<double>& micros, double rowMb) {
    double total = 0;
    for (double m : micros)
        total += m;
    std::sort(micros.begin(), micros.end());
    const auto at = [&](std::size_t permille) { return micros[micros.size() * permille / 1000]; };
    return {first,   last,    total / static_cast<double>(micros.size()),
            at(500), at(990), residentMegabytes(),
            rowMb};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 seconds = argc > 1 ? QByteArray(argv[1]).toLongLong() : 7 * SecondsPerDay;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    QTemporaryDir dir(folder + QStringLiteral("/soak_bench-XXXXXX"));
    if (seconds < 2 * SecondsPerHour || !dir.isValid()) {
        std::fprintf(stderr, "usage: soak_bench [seconds >= 7200] [folder]\n");
        return 1;
    }
    const double startMb = residentMegabytes();
    const int startDescriptors = openDescriptors();

    FakeDialogs dialogs;
    FakePrinter printer;
    FakeClock clock;
    FakeWaiter waiter{&clock};
    SimSerialPort serial{&clock};
    Application application{{serial, dialogs, printer, clock, waiter}};
    application.start();
    application.selection()->findChild<QPushButton*>(QStringLiteral("CmdOK"))->click();
    PanelWindow* panel = application.panel();
    SharedState& state = application.state();
    // The ticks below stand for these timers.
    panel->link().stopPolling();
    panel->stopSampling();
    panel->setSamplingCaption(QStringLiteral("1 Sec"));

    // The panel shows a reading (and its unit, whose change would close GRAPH2) before the
    // windows are opened, as it has by the time a user reaches the menus.
    panel->link().Timer1_Timer();

    const QString dataFile = dir.filePath(QStringLiteral("soak.dat"));
    dialogs.fileAnswers = {dataFile};
    const PanelMenus& menus = panel->menus();
    for (QAction* command :
         {menus.CMDSAVE, menus.CMDSTART, menus.CMDLIST, menus.MNUHUM, menus.MNUTEM, menus.cmddew})
        command->trigger();
    ShownWindow<ChartWindow> humidity{panel, "GRAPH1", {}};
    ShownWindow<ChartWindow> temperature{panel, "GRAPH2", {}};
    ShownWindow<DewWindow> dew{panel, "DEW", {}};
    ShownWindow<ListWindow> list{panel, "LIST", {}};
    if (!state.recording.RecordingOn || !humidity.get() || !temperature.get() || !dew.get() ||
        !list.get()) {
        std::fprintf(stderr, "the windows did not open\n");
        return 1;
    }
    // The windows' own timers must not tick as well.
    for (QTimer* timer : panel->findChildren<QTimer*>())
        timer->stop();
    const auto rowMegabytes = [&] {
        return static_cast<double>(list.get()->grid().rows().storedBytes()) / (1024.0 * 1024.0);
    };

    std::printf("Soak: %lld simulated seconds at one sample a second (%.2f days), recording to "
                "%s with LIST, GRAPH1, GRAPH2 and DEW open\n",
                static_cast<long long>(seconds), static_cast<double>(seconds) / SecondsPerDay,
                qPrintable(dataFile));
    std::printf("resident memory before the program: %.1f MB\n", startMb);
    const qint64 segmentLength = seconds >= 2 * SecondsPerDay ? SecondsPerDay : 4 * SecondsPerHour;
    std::vector<Segment> segments;
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(segmentLength));
    double hourMb = 0;
    double hourRowMb = 0;
    qint64 hourRows = 0;
    const auto wallStart = Stopwatch::now();
    for (qint64 second = 1; second <= seconds; ++second) {
        const double start = threadCpuMicros();
        panel->link().Timer1_Timer(); // the poll's own waits move the clock by 10 ms
        clock.advanceMilliseconds(990);
        panel->Timer2_Timer();
        if (!humidity.get() || !temperature.get() || !dew.get() || !list.get()) {
            std::fprintf(stderr, "a window closed by itself at second %lld\n",
                         static_cast<long long>(second));
            return 1;
        }
        humidity.get()->Timer1_Timer();
        temperature.get()->Timer1_Timer();
        dew.get()->Timer1_Timer();
        // What the event loop would do between ticks: paint, place the list, delete closed
        // windows. No timer fires here.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        micros.push_back(threadCpuMicros() - start);
        // The fakes keep a log of every write and wait; the program does not.
        serial.writes.clear();
        waiter.waits.clear();

        if (second == SecondsPerHour) {
            hourMb = residentMegabytes();
            hourRowMb = rowMegabytes();
            hourRows = list.get()->grid().rows().rowCount();
            std::printf("after the first simulated hour: resident %.1f MB, list rows %lld "
                        "holding %.2f MB\n",
                        hourMb, static_cast<long long>(hourRows), hourRowMb);
        }
        if (second % segmentLength == 0 || second == seconds) {
            segments.push_back(summarize(second - static_cast<qint64>(micros.size()) + 1, second,
                                         micros, rowMegabytes()));
            micros.clear();
            const Segment& s = segments.back();
            std::printf(
                "  seconds %7lld-%7lld (day %.2f): tick CPU mean %6.0f us, median %6.0f us, "
                "99%% %6.0f us; resident %6.1f MB, rows %6.2f MB\n",
                static_cast<long long>(s.firstSecond), static_cast<long long>(s.lastSecond),
                static_cast<double>(s.lastSecond) / SecondsPerDay, s.meanMicros, s.medianMicros,
                s.p99Micros, s.residentMb, s.rowMb);
            std::fflush(stdout);
        }
    }
    const double wallSeconds = std::chrono::duration<double>(Stopwatch::now() - wallStart).count();

    const GridModel& rows = list.get()->grid().rows();
    const double endMb = residentMegabytes();
    const double endRowMb = rowMegabytes();
    const qint64 addedRows = rows.rowCount() - hourRows;
    const double bytesPerRow = static_cast<double>(rows.storedBytes()) / rows.rowCount();
    const double growthMb = endMb - hourMb;
    const double rowGrowthMb = endRowMb - hourRowMb;
    std::printf("at the end: resident %.1f MB, list rows %d holding %.2f MB (%.1f bytes a row, its "
                "text %.1f bytes)\n",
                endMb, rows.rowCount(), endRowMb, bytesPerRow,
                static_cast<double>(rows.rowBytes(rows.rowCount() - 1).size()));
    std::printf("growth since the first hour: %.1f MB resident, of which the %lld rows added "
                "account for %.1f MB; unexplained %.1f MB (%.1f bytes per simulated second)\n",
                growthMb, static_cast<long long>(addedRows), rowGrowthMb, growthMb - rowGrowthMb,
                (growthMb - rowGrowthMb) * 1024 * 1024 / static_cast<double>(seconds - 3600));
    const Segment& first = segments.front();
    const Segment& last = segments.back();
    std::printf("tick cost, first against last stretch: mean %.0f -> %.0f us, median %.0f -> "
                "%.0f us\n",
                first.meanMicros, last.meanMicros, first.medianMicros, last.medianMicros);
    std::printf("open file descriptors: %d before the program, %d at the end\n", startDescriptors,
                openDescriptors());
    std::printf("wall time %.0f s (%.0f simulated seconds a wall second); a full week would take "
                "about %.0f s\n",
                wallSeconds, static_cast<double>(seconds) / wallSeconds,
                wallSeconds * static_cast<double>(7 * SecondsPerDay) /
                    static_cast<double>(seconds));

    // Every second recorded: the file holds one numbered line per tick.
    QFile file(dataFile);
    qint64 lines = 0;
    if (file.open(QIODevice::ReadOnly))
        for (const char c : file.readAll())
            lines += c == '\n' ? 1 : 0;
    std::printf("data file: %lld lines, %.1f MB\n", static_cast<long long>(lines),
                static_cast<double>(file.size()) / (1024.0 * 1024.0));
    return lines >= seconds ? 0 : 1;
}
