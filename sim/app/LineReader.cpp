#include "LineReader.h"

#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

LineReader::LineReader(int fd, QObject* parent)
    : QObject(parent), fd_(fd), notifier_(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
    connect(notifier_, &QSocketNotifier::activated, this, &LineReader::readAvailable);
}

LineReader::~LineReader() {
    notifier_->setEnabled(false);
    if (ownsFd_)
        ::close(fd_);
    if (!createdFifo_.isEmpty())
        ::unlink(QFile::encodeName(createdFifo_).constData());
}

LineReader* LineReader::openFifo(const QString& path, QObject* parent, QString* errorText) {
    const QByteArray name = QFile::encodeName(path);
    bool created = false;
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        if (::mkfifo(name.constData(), 0600) != 0) {
            *errorText = path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
            return nullptr;
        }
        created = true;
    } else if (!S_ISFIFO(info.st_mode)) {
        *errorText = path + QStringLiteral(" exists and is not a FIFO");
        return nullptr;
    }
    // Read and write: with a writer of our own the FIFO never reaches its end when a client
    // closes it, which would otherwise leave the notifier firing without pause.
    const int fd = ::open(name.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *errorText = path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
        if (created)
            ::unlink(name.constData());
        return nullptr;
    }
    auto* reader = new LineReader(fd, parent);
    reader->ownsFd_ = true;
    if (created)
        reader->createdFifo_ = path;
    return reader;
}

void LineReader::readAvailable() {
    char chunk[4096];
    const ssize_t count = ::read(fd_, chunk, sizeof chunk);
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (count <= 0) {
        // The end of the input: a last line without its newline still counts.
        notifier_->setEnabled(false);
        if (!partial_.isEmpty())
            Q_EMIT lineReceived(QString::fromUtf8(partial_).trimmed());
        partial_.clear();
        Q_EMIT finished();
        return;
    }
    partial_.append(chunk, static_cast<qsizetype>(count));
    for (qsizetype end = partial_.indexOf('\n'); end >= 0; end = partial_.indexOf('\n')) {
        const QString line = QString::fromUtf8(partial_.left(end)).trimmed();
        partial_.remove(0, end + 1);
        Q_EMIT lineReceived(line);
    }
}
