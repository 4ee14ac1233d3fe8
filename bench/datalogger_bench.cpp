// Figures of the datalogger download against meter-sim on a pseudo-terminal paced at 9600
// baud, through the real serial port and waits: a full memory's download against the line's own
// time plus the 2 s of silence that ends it, the record list's filling against its 0.01 s a
// record, and the cost of one record list row early and late in a long list.
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "SimProcess.h"
#include "app/RecordListOpener.h"
#include "device/link/MeterLink.h"
#include "device/platform/Clock.h"
#include "device/platform/QtSerialPort.h"
#include "device/waits/QtWaiter.h"
#include "logic/state/SharedState.h"
#include "ui/datalogger/LoggerWindow.h"
#include "ui/datalogger/MeterSettingsCommands.h"
#include "ui/lists/Grid.h"
#include "ui/lists/RecordListWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cstdio>

namespace {

// Microseconds a row for a run of rows appended to a fresh list after `before` rows.
double rowMicroseconds(RecordListWindow& list, int before, int rows) {
    const QString row = QStringLiteral("24-01-31\t23:58:30\t81.0\t-1.6\tC\t");
    for (int i = 0; i < before; ++i)
        list.appendRecordRow(row);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rows; ++i)
        list.appendRecordRow(row);
    QCoreApplication::processEvents();
    return timer.nsecsElapsed() / 1000.0 / rows;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("METER_SIM", METER_SIM_PATH);
    QApplication app(argc, argv);

    SimProcess sim;
    if (!sim.start()) {
        std::fprintf(stderr, "meter-sim did not start\n");
        return 1;
    }
    qputenv("METER_COM1", sim.devicePath().toLocal8Bit());
    sim.control(QStringLiteral("erase"));
    sim.control(QStringLiteral("fill"));
    sim.control(QStringLiteral("pace on"));

    SharedState state;
    state.ComPortNumber = 1;
    QWidget panel;
    auto* serial = new QtSerialPort(&panel);
    if (!serial->open(1)) {
        std::fprintf(stderr, "the port did not open\n");
        return 1;
    }
    FakeDialogs dialogs;
    FakePrinter printer;
    SystemClock clock;
    QtWaiter waiter;
    const Platform platform{*serial, dialogs, printer, clock, waiter};
    MeterLink link(&panel, *serial, waiter, state.reading);
    QElapsedTimer timer;
    qint64 downloadEnded = 0;
    QPointer<RecordListWindow> list;
    RecordListOpener recordLists(&panel, platform);
    QObject::connect(&recordLists, &RecordListOpener::opened, &panel,
                     [&](RecordListWindow* opened) {
                         downloadEnded = timer.nsecsElapsed();
                         list = opened;
                     });
    MeterSettingsCommands commands(
        &panel, link, state.logger, [&state] { return state.ComPortNumber; }, platform,
        recordLists);

    commands.CMDMEMORY_Click();
    LoggerWindow* logger = commands.logger();
    const auto text = [logger](const char* name) {
        return logger->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    if (!QTest::qWaitFor([&] { return text("LBLSET") == QLatin1String("1"); }, 10000) ||
        !QTest::qWaitFor([&] { return !logger->exchangeRunning(); }, 10000)) {
        std::fprintf(stderr, "no status from the meter\n");
        return 1;
    }
    logger->findChild<QPushButton*>(QStringLiteral("SSCommand2"))->click();
    logger->findChild<Grid*>(QStringLiteral("Grid1"))->setCurrentRow(1);
    logger->Grid1_Click();
    const int records = text("LBLRECORDS").toInt();

    timer.start();
    logger->findChild<QPushButton*>(QStringLiteral("SSCommand3"))->click();
    // The list fills on its own once the download has ended; its last caption names the set.
    const bool filled = QTest::qWaitFor(
        [&] {
            return list && list->findChild<QLabel*>(QStringLiteral("Label1"))
                               ->text()
                               .endsWith(QLatin1String("SET"));
        },
        600000);
    if (!filled) {
        std::fprintf(stderr, "the record list did not fill\n");
        return 1;
    }
    const double total = timer.nsecsElapsed() / 1e9;
    const double download = downloadEnded / 1e9;
    const double fill = total - download;
    const int rows = list ? list->grid().rowCount() - 1 : 0;

    const double lineSeconds = (10.0 + 4.0 * records) * 10.0 / 9600.0;
    const double downloadGoal = lineSeconds + 2.0;
    const double fillGoal = records * 0.01;
    std::printf("records in the set:                %d (listed %d)\n", records, rows);
    std::printf("download:                          %.2f s against %.2f s (line %.2f s + 2 s "
                "silence): %+.1f %%\n",
                download, downloadGoal, lineSeconds, 100.0 * (download / downloadGoal - 1.0));
    std::printf("record list filled:                %.2f s against %.2f s (0.01 s a record): "
                "%+.1f %%\n",
                fill, fillGoal, 100.0 * (fill / fillGoal - 1.0));

    RecordListWindow early(nullptr, platform);
    RecordListWindow late(nullptr, platform);
    std::printf("record list row, first 1000:       %.1f us\n", rowMicroseconds(early, 0, 1000));
    std::printf("record list row, 1000 after 8000:  %.1f us\n", rowMicroseconds(late, 8000, 1000));
    sim.control(QStringLiteral("quit"));
    return 0;
}
