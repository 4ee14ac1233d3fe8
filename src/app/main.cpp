#include "app/Application.h"
#include "device/platform/Clock.h"
#include "device/platform/QtSerialPort.h"
#include "device/waits/QtWaiter.h"
#include "ui/platform/QtDialogs.h"
#include "ui/platform/QtPrinter.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    // Answered before the window system is reached, so that it works without a display too.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Meter %s\n", METER_VERSION);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Humidity_Temperature"));
    QApplication::setApplicationVersion(QStringLiteral(METER_VERSION));
    // The program ends when the panel closes, not when its last window happens to go.
    QApplication::setQuitOnLastWindowClosed(false);

    QObject services;
    auto* serial = new QtSerialPort(&services);
    QtDialogs dialogs;
    QtPrinter printer;
    SystemClock clock;
    QtWaiter waiter;
    const Platform platform{*serial, dialogs, printer, clock, waiter};

    Application meter(platform);
    QObject::connect(&meter, &Application::finished, &application,
                     [](int exitCode) { QCoreApplication::exit(exitCode); });
    meter.start();
    return QApplication::exec();
}
