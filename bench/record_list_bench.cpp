// Figures for REC_LIST: a full meter memory (8,000 records) appended one at a time as SHOW DATA
// does, with the time per row for each thousand so that a cost growing with the list shows;
// then SAVE of those rows to a data file.
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "ScriptedSerialPort.h"
#include "device/platform/Clock.h"
#include "ui/lists/Grid.h"
#include "ui/lists/RecordListWindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int records = 8000;
constexpr int perBucket = 1000;
constexpr int saves = 10;

QString recordText(int i) {
    return QStringLiteral("05-02-2003\t%1:%2:%3\t45.6\t23.1\tC%4")
        .arg(i / 3600 % 24, 2, 10, QLatin1Char('0'))
        .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(i % 60, 2, 10, QLatin1Char('0'))
        .arg(i % 97 == 0 ? QStringLiteral("\tLOW") : QString());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedSerialPort serial;
    FakeDialogs dialogs;
    FakePrinter printer;
    SystemClock clock;
    FakeWaiter waiter;
    QWidget panel;
    auto* window = new RecordListWindow(&panel, Platform{serial, dialogs, printer, clock, waiter});
    window->show();
    QCoreApplication::processEvents();

    std::printf("REC_LIST, %d records appended one at a time, the events of each row handled "
                "before the next (as the download's pause per record does):\n",
                records);
    QElapsedTimer total;
    total.start();
    for (int first = 0; first < records; first += perBucket) {
        QElapsedTimer timer;
        timer.start();
        for (int i = first; i < first + perBucket; ++i) {
            window->appendRecordRow(recordText(i));
            QCoreApplication::processEvents();
        }
        std::printf("  rows %5d to %5d: %.1f us per row\n", first + 1, first + perBucket,
                    timer.nsecsElapsed() / 1000.0 / perBucket);
    }
    std::printf("  total %.0f ms (the download itself pauses %d ms, inside which the paint "
                "runs)\n",
                total.nsecsElapsed() / 1e6, records * 10);

    // The window's own share, without the paint: the rows alone, shown once at the end.
    auto* unpainted =
        new RecordListWindow(&panel, Platform{serial, dialogs, printer, clock, waiter});
    unpainted->show();
    QCoreApplication::processEvents();
    std::printf("The same rows with no event handled in between:\n");
    for (int first = 0; first < records; first += perBucket) {
        QElapsedTimer timer;
        timer.start();
        for (int i = first; i < first + perBucket; ++i)
            unpainted->appendRecordRow(recordText(i));
        std::printf("  rows %5d to %5d: %.2f us per row\n", first + 1, first + perBucket,
                    timer.nsecsElapsed() / 1000.0 / perBucket);
    }
    unpainted->close();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set.dat"));
    QList<double> times;
    for (int i = 0; i < saves; ++i) {
        dialogs.fileAnswers << path;
        QElapsedTimer timer;
        timer.start();
        window->findChild<QAction*>(QStringLiteral("MNUSAVE"))->trigger();
        times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    std::printf("SAVE of %d rows (%.0f KB): median %.1f ms, slowest %.1f ms of %d (goal: under "
                "50 ms)\n",
                window->grid().rowCount() - 1, QFile(path).size() / 1024.0, times[saves / 2],
                times.constLast(), saves);
    return dialogs.messages.isEmpty() && window->grid().rowCount() == records + 1 ? 0 : 1;
}
