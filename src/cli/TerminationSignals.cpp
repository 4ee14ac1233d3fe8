#include "cli/TerminationSignals.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The write end the handler uses; a handler can reach nothing but a plain variable.
volatile sig_atomic_t writeEnd = -1;
int readEnd = -1;

void onSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    readEnd = ends[0];
    writeEnd = ends[1];
    notifier_ = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    if (!notifier_)
        return;
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
    delete notifier_;
    ::close(readEnd);
    ::close(writeEnd);
    readEnd = -1;
    writeEnd = -1;
}

void TerminationSignals::readSignal() {
    char bytes[16];
    bool terminate = false;
    bool reopen = false;
    ssize_t count = 0;
    while ((count = ::read(readEnd, bytes, sizeof bytes)) > 0)
        for (ssize_t index = 0; index < count; ++index)
            (bytes[index] == SIGHUP ? reopen : terminate) = true;
    if (reopen)
        Q_EMIT reopenRequested();
    if (terminate)
        Q_EMIT terminationRequested();
}
