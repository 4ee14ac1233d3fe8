#include "SignalWatcher.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t stopSignals() {
    sigset_t stopSet;
    sigemptyset(&stopSet);
    sigaddset(&stopSet, SIGINT);
    sigaddset(&stopSet, SIGTERM);
    return stopSet;
}

} // namespace

bool SignalWatcher::blockStopSignals() {
    const sigset_t stopSet = stopSignals();
    return pthread_sigmask(SIG_BLOCK, &stopSet, nullptr) == 0;
}

SignalWatcher::SignalWatcher(QObject* parent) : QObject(parent) {
    const sigset_t stopSet = stopSignals();
    fd_ = signalfd(-1, &stopSet, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0)
        return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalWatcher::readSignal);
}

SignalWatcher::~SignalWatcher() {
    if (notifier_ != nullptr)
        notifier_->setEnabled(false);
    if (fd_ >= 0)
        ::close(fd_);
}

void SignalWatcher::readSignal() {
    signalfd_siginfo info{};
    if (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        Q_EMIT stopRequested();
}
