// meter-sim: the simulated humidity/temperature meter on a pseudo-terminal.
#include "LineReader.h"
#include "SignalWatcher.h"
#include "SimServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <csignal>
#include <unistd.h>

int main(int argc, char* argv[]) {
    SignalWatcher::blockStopSignals();
    // Control replies go to standard output; a reader that went away must not end the meter.
    std::signal(SIGPIPE, SIG_IGN);
    // Started in the background of an interactive shell, a read of the terminal would stop the
    // simulator; ignored, the read fails instead and standard input is simply no longer read.
    std::signal(SIGTTIN, SIG_IGN);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("meter-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(METER_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated meter on a pseudo-terminal. Prints the device path as its first line, then "
        "answers control lines from standard input (and --control) on standard output."));
    // Not Qt's help option: its --help-all lists Qt's own options, which mean nothing here.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    QCommandLineOption helpAll(QStringLiteral("help-all"));
    helpAll.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, helpAll});
    parser.addVersionOption();
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Keep a symbolic link to the device at <path>."),
                                  QStringLiteral("path"));
    const QCommandLineOption control(
        QStringLiteral("control"),
        QStringLiteral("Also read control lines from the FIFO <path> (created when missing)."),
        QStringLiteral("path"));
    parser.addOption(link);
    parser.addOption(control);
    parser.process(app);
    if (parser.isSet(help) || parser.isSet(helpAll)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }

    auto* server = new SimServer(parser.value(link), &app);
    if (!server->start()) {
        std::fprintf(stderr, "meter-sim: %s\n", qPrintable(server->errorText()));
        return 1;
    }
    printLine(server->devicePath());

    QObject::connect(server, &SimServer::quitRequested, &app, &QCoreApplication::quit);
    auto* signalWatcher = new SignalWatcher(&app);
    QObject::connect(signalWatcher, &SignalWatcher::stopRequested, &app, &QCoreApplication::quit);

    // Standard input is read until its end and then left alone: a simulator started in the
    // background with its input from /dev/null keeps serving until "quit" or a signal.
    auto* input = new LineReader(STDIN_FILENO, &app);
    QObject::connect(input, &LineReader::lineReceived, server, &SimServer::handleControlLine);

    if (parser.isSet(control)) {
        QString error;
        LineReader* fifo = LineReader::openFifo(parser.value(control), &app, &error);
        if (fifo == nullptr) {
            std::fprintf(stderr, "meter-sim: %s\n", qPrintable(error));
            return 1;
        }
        QObject::connect(fifo, &LineReader::lineReceived, server, &SimServer::handleControlLine);
    }

    const int status = QCoreApplication::exec();
    // The server's destructor closes the terminal and removes the link before the process ends.
    delete server;
    return status;
}
