#include "logic/recording/DataFileWriter.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>

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
    if (file_.isOpen())
        file_.close();
}

bool DataFileWriter::stillThere() {
#ifdef Q_OS_WIN
    // An open file cannot be deleted on Windows; a missing path is all there is to see.
    if (!QFileInfo::exists(file_.fileName())) {
        error_ = QStringLiteral("the file is no longer there");
        return false;
    }
#else
    struct stat opened {};
    if (::fstat(file_.handle(), &opened) != 0) {
        error_ = systemErrorText(errno);
        return false;
    }
    struct stat named {};
    if (opened.st_nlink == 0 ||
        ::stat(QFile::encodeName(file_.fileName()).constData(), &named) != 0 ||
        named.st_dev != opened.st_dev || named.st_ino != opened.st_ino) {
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
    const qint64 sizeBefore = file_.size();
    const qint64 written = file_.write(line);
    if (written != line.size()) {
        error_ = written < 0 ? file_.errorString()
                             : QStringLiteral("the disk took only part of the line");
        // A torn line would glue itself to the first line of the next run.
        if (written > 0 || file_.size() > sizeBefore)
            file_.resize(sizeBefore);
        return false;
    }
    if (!file_.flush()) {
        error_ = file_.errorString();
        return false;
    }
    if (regularFile_ && !syncToDisk(file_.handle())) {
        error_ = systemErrorText(errno);
        return false;
    }
    return true;
}
