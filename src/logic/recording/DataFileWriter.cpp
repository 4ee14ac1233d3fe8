#include "logic/recording/DataFileWriter.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <utility>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString systemErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Forces what was written to the file onto the disk.
bool syncToDisk(int handle) {
#ifdef Q_OS_WIN
    return _commit(handle) == 0;
#else
    return ::fsync(handle) == 0;
#endif
}

} // namespace

bool DataFileWriter::open(const QString& path) {
    close();
    error_.clear();
    file_.setFileName(path);
    encodedName_ = QFile::encodeName(path);
    // A device or a pipe has no end to append at (Qt would seek to it, and warn) and no disk to
    // force lines onto.
    const QFileInfo existing(path);
    regularFile_ = !existing.exists() || existing.isFile();
    // Unbuffered: a write goes straight to the system, nothing waits in our own buffer.
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Unbuffered;
    if (regularFile_)
        mode |= QIODevice::Append;
    if (!file_.open(mode)) {
        error_ = file_.errorString();
        return false;
    }
#ifndef Q_OS_WIN
    struct stat opened {};
    if (::fstat(file_.handle(), &opened) != 0) {
        error_ = systemErrorText(errno);
        file_.close();
        return false;
    }
    openedDevice_ = opened.st_dev;
    openedInode_ = opened.st_ino;
#endif
    return true;
}

bool DataFileWriter::writesTo(const QString& path) const {
    if (!file_.isOpen())
        return false;
    // A path that leads nowhere has no canonical form, and is not the open file.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(file_.fileName()).canonicalFilePath();
}

void DataFileWriter::close() {
    if (!file_.isOpen())
        return;
    // Nobody is left to tell of a failure here: a caller that must know syncs first.
    sync();
    file_.close();
}

bool DataFileWriter::sync() {
    if (!std::exchange(syncPending_, false))
        return true;
    if (!syncToDisk(file_.handle())) {
        error_ = systemErrorText(errno);
        return false;
    }
    return true;
}

bool DataFileWriter::stillThere() {
#ifdef Q_OS_WIN
    // An open file cannot be deleted on Windows; a missing path is all there is to see.
    if (!QFileInfo::exists(file_.fileName())) {
        error_ = QStringLiteral("the file is no longer there");
        return false;
    }
#else
    // One look at the name per line. The open file keeps its inode number from being given to
    // another file, so the same number at the name is the same file.
    struct stat named {};
    if (::stat(encodedName_.constData(), &named) != 0 || named.st_dev != openedDevice_ ||
        named.st_ino != openedInode_) {
        error_ = QStringLiteral("the file was deleted or moved away");
        lostItsName_ = true;
        return false;
    }
#endif
    return true;
}

bool DataFileWriter::writeLine(const QByteArray& line) {
    lostItsName_ = false;
    if (!file_.isOpen()) {
        error_ = QStringLiteral("the file is not open");
        return false;
    }
    if (!stillThere())
        return false;
    const qint64 written = file_.write(line);
    if (written != line.size()) {
        error_ = written < 0 ? file_.errorString()
                             : QStringLiteral("the disk took only part of the line");
        // A torn line would glue itself to the first line of the next run. Nothing was
        // written when the write failed outright; what was, went to the end.
        if (written > 0 && regularFile_)
            file_.resize(file_.size() - written);
        return false;
    }
    if (!file_.flush()) {
        error_ = file_.errorString();
        return false;
    }
    syncPending_ = regularFile_;
    return syncsDeferred_ || sync();
}
