// Figures for the list grid: LoadFileIntoGrid of a file of a million recorder lines, and a
// million live rows appended one per tick, each with its time per row from first to last and
// the peak memory of the process. Each case runs in a process of its own so that its peak is
// its own: "list_bench" runs both, "list_bench load" or "list_bench live" one.
#include "device/platform/Clock.h"
#include "device/waits/QtWaiter.h"
#include "logic/recording/DataFileFormat.h"
#include "logic/state/SharedState.h"
#include "logic/text/RowText.h"
#include "ui/lists/Grid.h"
#include "ui/lists/ListWindow.h"
#include "ui/lists/LoadFileIntoGrid.h"
#include "ui/platform/QtDialogs.h"
#include "ui/platform/QtPrinter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int millionRows = 1'000'000;

// Peak and current resident memory of this process, in MB.
double statusMegabytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

QString sampleBody(qint64 i) {
    const QDateTime start(QDate(2003, 5, 2), QTime(0, 0, 0));
    return rowBody(start.addSecs(i), QStringLiteral("45.6"), QStringLiteral("23.1"),
                   QStringLiteral("C"), i % 97 == 0);
}

int benchLoad() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("million.dat"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QByteArray block;
        for (qint64 i = 1; i <= millionRows; ++i) {
            block += recorderLine(i, sampleBody(i));
            if (block.size() > (1 << 16)) {
                file.write(block);
                block.clear();
            }
        }
        file.write(block);
    }
    const double fileMegabytes = QFile(path).size() / 1048576.0;

    QMainWindow window;
    auto* grid = new Grid(&window);
    window.setCentralWidget(grid);
    window.resize(400, 500);
    window.show();
    QCoreApplication::processEvents();
    const double before = statusMegabytes("VmRSS:");

    QElapsedTimer timer;
    timer.start();
    LoadFileIntoGrid(*grid, path);
    const qint64 loaded = timer.elapsed();
    // Until the view has laid out and painted the new rows.
    QCoreApplication::processEvents();
    grid->repaint();
    const qint64 shown = timer.elapsed();
    grid->setFirstVisibleRow(grid->rowCount() - 20);
    QCoreApplication::processEvents();
    grid->repaint();
    const qint64 scrolled = timer.elapsed() - shown;

    std::printf("LoadFileIntoGrid, %d lines (%.1f MB file): %lld ms to load, %lld ms until "
                "shown; scroll to the end and paint: %lld ms\n",
                grid->rowCount() - 1, fileMegabytes, static_cast<long long>(loaded),
                static_cast<long long>(shown), static_cast<long long>(scrolled));
    std::printf("  memory: %.0f MB before, %.0f MB after, peak %.0f MB (whole process)\n", before,
                statusMegabytes("VmRSS:"), statusMegabytes("VmHWM:"));
    return grid->rowCount() == millionRows + 1 ? 0 : 1;
}

int benchLive() {
    SharedState state;
    SystemClock clock;
    QtDialogs dialogs;
    QtPrinter printer;
    QtWaiter waiter;
    QMainWindow panel;
    panel.resize(300, 400);
    panel.show();
    auto* list = new ListWindow(&panel, state.recording, dialogs, printer, waiter);
    list->show();
    QCoreApplication::processEvents();
    const double before = statusMegabytes("VmRSS:");

    constexpr int buckets = 10;
    constexpr int perBucket = millionRows / buckets;
    std::printf("Live rows, %d appended one at a time as the sampling tick does "
                "(window shown, events handled every 1000 rows):\n",
                millionRows);
    // One tick as the program lives it: a row, then the event loop's pass that paints it.
    const auto paintedTick = [&](qint64 n) {
        QElapsedTimer timer;
        timer.start();
        constexpr int ticks = 50;
        for (int i = 0; i < ticks; ++i) {
            list->addLiveRow(sampleBody(n + i));
            QCoreApplication::processEvents();
            list->grid().viewport()->repaint();
        }
        return timer.nsecsElapsed() / 1000.0 / ticks;
    };
    QList<QPair<int, double>> painted;
    QElapsedTimer total;
    total.start();
    qint64 n = 0;
    for (int bucket = 0; bucket < buckets; ++bucket) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < perBucket; ++i) {
            list->addLiveRow(sampleBody(n++));
            if (i % 1000 == 999)
                QCoreApplication::processEvents();
        }
        std::printf("  rows %7d to %7d: %.2f us per row\n", bucket * perBucket + 1,
                    (bucket + 1) * perBucket, timer.nsecsElapsed() / 1000.0 / perBucket);
        if (bucket == 0 || bucket == 4 || bucket == 9)
            painted.append({list->grid().rowCount() - 1, paintedTick(n)});
    }
    for (const auto& [rows, micros] : painted)
        std::printf("  one tick with its paint, list of %d rows: %.0f us\n", rows, micros);
    std::printf("  total %.1f s; memory: %.0f MB before, %.0f MB after, peak %.0f MB (whole "
                "process)\n",
                total.elapsed() / 1000.0, before, statusMegabytes("VmRSS:"),
                statusMegabytes("VmHWM:"));
    return list->grid().rowCount() > millionRows ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        // Each case in its own process, so that the peak memory is that case's alone.
        int failed = 0;
        for (const char* which : {"load", "live"}) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QString::fromLocal8Bit(argv[0]), {QString::fromLatin1(which)});
            child.waitForFinished(-1);
            failed += child.exitCode() != 0;
        }
        return failed;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QByteArray which = argv[1];
    if (which == "load")
        return benchLoad();
    if (which == "live")
        return benchLive();
    std::fprintf(stderr, "usage: list_bench [load|live]\n");
    return 2;
}
