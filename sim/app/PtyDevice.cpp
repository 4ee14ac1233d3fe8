#include "PtyDevice.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PtyDevice::PtyDevice(QString linkPath, QObject* parent)
    : QObject(parent), linkPath_(std::move(linkPath)) {}

PtyDevice::~PtyDevice() {
    close();
}

bool PtyDevice::fail(const QString& what) {
    errorText_ = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    close();
    return false;
}

bool PtyDevice::open() {
    close();
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0)
        return fail(QStringLiteral("posix_openpt"));
    if (grantpt(master_) != 0 || unlockpt(master_) != 0)
        return fail(QStringLiteral("grantpt/unlockpt"));
    const char* name = ptsname(master_);
    if (name == nullptr)
        return fail(QStringLiteral("ptsname"));
    slavePath_ = QString::fromLocal8Bit(name);

    slaveKeeper_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slaveKeeper_ < 0)
        return fail(QStringLiteral("open ") + slavePath_);
    // Raw from the start: no echo, no line editing, no CR/LF translation of the meter's bytes,
    // even for a client that does not set the line up itself.
    termios settings{};
    if (tcgetattr(slaveKeeper_, &settings) != 0)
        return fail(QStringLiteral("tcgetattr"));
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    if (tcsetattr(slaveKeeper_, TCSANOW, &settings) != 0)
        return fail(QStringLiteral("tcsetattr"));

    if (!placeLink())
        return false;
    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PtyDevice::readMaster);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &PtyDevice::writePending);
    errorText_.clear();
    return true;
}

void PtyDevice::close() {
    for (QSocketNotifier** notifier : {&readNotifier_, &writeNotifier_}) {
        if (*notifier == nullptr)
            continue;
        (*notifier)->setEnabled(false);
        (*notifier)->deleteLater();
        *notifier = nullptr;
    }
    pending_.clear();
    if (slaveKeeper_ >= 0)
        ::close(slaveKeeper_);
    if (master_ >= 0)
        ::close(master_);
    slaveKeeper_ = -1;
    master_ = -1;
    removeLink();
}

bool PtyDevice::placeLink() {
    if (linkPath_.isEmpty())
        return true;
    const QFileInfo existing(linkPath_);
    if (existing.exists() && !existing.isSymLink()) {
        errno = EEXIST;
        return fail(QStringLiteral("refusing to replace ") + linkPath_);
    }
    // A new link renamed over the old one, so a client never finds the path missing on replug.
    const QByteArray target = QFile::encodeName(slavePath_);
    const QByteArray link = QFile::encodeName(linkPath_);
    const QByteArray temporary = link + ".new";
    ::unlink(temporary.constData());
    if (::symlink(target.constData(), temporary.constData()) != 0)
        return fail(QStringLiteral("symlink ") + linkPath_);
    if (::rename(temporary.constData(), link.constData()) != 0) {
        ::unlink(temporary.constData());
        return fail(QStringLiteral("rename to ") + linkPath_);
    }
    return true;
}

void PtyDevice::removeLink() {
    if (linkPath_.isEmpty() || slavePath_.isEmpty())
        return;
    // Only our own link goes: another simulator may have taken the path over meanwhile.
    const QFileInfo link(linkPath_);
    if (link.isSymLink() && link.symLinkTarget() == slavePath_)
        ::unlink(QFile::encodeName(linkPath_).constData());
}

void PtyDevice::readMaster() {
    char chunk[4096];
    const ssize_t count = ::read(master_, chunk, sizeof chunk);
    if (count > 0) {
        Q_EMIT received(QByteArray(chunk, static_cast<int>(count)));
        return;
    }
    // A master whose slave side is gone stays readable for ever; stop listening rather than spin.
    if (count == 0 || (errno != EAGAIN && errno != EINTR))
        readNotifier_->setEnabled(false);
}

void PtyDevice::write(const QByteArray& bytes) {
    if (master_ < 0 || bytes.isEmpty())
        return;
    pending_.append(bytes);
    writePending();
}

void PtyDevice::writePending() {
    // The terminal takes a few kilobytes at a time: the rest goes out as the client reads.
    while (!pending_.isEmpty()) {
        const ssize_t written =
            ::write(master_, pending_.constData(), static_cast<size_t>(pending_.size()));
        if (written > 0) {
            pending_.remove(0, written);
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN)
            pending_.clear(); // no line to write to any more
        break;
    }
    writeNotifier_->setEnabled(!pending_.isEmpty());
}
