#include "logic/recording/DatedReadingFile.h"

#include <QDateTime>

namespace {

// Once recording runs, a file that cannot be opened fails it as a write does.
Result<> asWriteFailure(Result<> opened) {
    if (opened)
        return opened;
    return Failure{ExitStatus::IoError, opened.failure().message};
}

} // namespace

QString filePathAt(const QString& path, const QDateTime& takenAt) {
    const QDate day = takenAt.toLocalTime().date();
    return QString(path)
        .replace(QStringLiteral("{date}"), day.toString(QStringLiteral("yyyy-MM-dd")))
        .replace(QStringLiteral("{month}"), day.toString(QStringLiteral("yyyy-MM")));
}

Result<> DatedReadingFile::open(const QDateTime& now) {
    return openPath(filePathAt(pattern_, now));
}

Failure DatedReadingFile::cannotWrite() const {
    return Failure{ExitStatus::IoError,
                   QStringLiteral("%1: cannot write (%2)").arg(path_, file_.errorText())};
}

Result<> DatedReadingFile::write(const QDateTime& takenAt, const LiveReading& reading) {
    const QString path = filePathAt(pattern_, takenAt);
    if (path != path_)
        if (Result<> opened = asWriteFailure(openPath(path)); !opened)
            return opened;
    if (!file_.write(takenAt, reading)) {
        // logrotate's create mode renames the file and only then sends SIGHUP: a reading in
        // between goes to the file now at the name instead of failing the meter.
        if (!file_.lostItsName())
            return cannotWrite();
        if (Result<> opened = asWriteFailure(openPath(path_)); !opened)
            return opened;
        if (!file_.write(takenAt, reading))
            return cannotWrite();
    }
    ++rows_;
    return {};
}

Result<> DatedReadingFile::sync() {
    if (!file_.sync())
        return cannotWrite();
    return {};
}

Result<> DatedReadingFile::reopen() {
    if (path_.isEmpty())
        return {};
    return asWriteFailure(openPath(path_));
}

Result<> DatedReadingFile::openPath(const QString& path) {
    file_.close();
    path_ = path;
    if (Result<> opened = file_.open(path); !opened)
        return Failure{opened.failure().exitStatus,
                       path + QStringLiteral(": ") + opened.failure().message};
    return {};
}
