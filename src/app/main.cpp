#include "app/Application.h"
#include "platform/Clock.h"
#include "platform/QtDialogs.h"
#include "platform/QtPrinter.h"
#include "platform/QtSerialPort.h"
#include "platform/QtWaiter.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Humidity_Temperature"));
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
