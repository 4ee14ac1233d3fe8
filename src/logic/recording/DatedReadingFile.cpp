#include "logic/recording/DatedReadingFile.h"

#include <QDateTime>

QString filePathAt(const QString& path, const QDateTime& takenAt) {
    const QDate day = takenAt.toLocalTime().date();
    return QString(path)
        .replace(QStringLiteral("{date}"), day.toString(QStringLiteral("yyyy-MM-dd")))
        .replace(QStringLiteral("{month}"), day.toString(QStringLiteral("yyyy-MM")));
}

std::optional<QString> DatedReadingFile::open(const QDateTime& now) {
    return openPath(filePathAt(pattern_, now));
}

std::optional<QString> DatedReadingFile::write(const QDateTime& takenAt,
                                               const LiveReading& reading) {
    const QString path = filePathAt(pattern_, takenAt);
    if (path != path_)
        if (std::optional<QString> failure = openPath(path))
            return failure;
    if (!file_.write(takenAt, reading)) {
        // logrotate's create mode renames the file and only then sends SIGHUP: a reading in
        // between goes to the file now at the name instead of failing the meter.
        if (!file_.lostItsName())
            return QStringLiteral("%1: cannot write (%2)").arg(path_, file_.errorText());
        if (std::optional<QString> failure = openPath(path_))
            return failure;
        if (!file_.write(takenAt, reading))
            return QStringLiteral("%1: cannot write (%2)").arg(path_, file_.errorText());
    }
    ++rows_;
    return std::nullopt;
}

std::optional<QString> DatedReadingFile::reopen() {
    if (path_.isEmpty())
        return std::nullopt;
    return openPath(path_);
}

std::optional<QString> DatedReadingFile::openPath(const QString& path) {
    file_.close();
    path_ = path;
    if (std::optional<QString> failure = file_.open(path))
        return path + QStringLiteral(": ") + *failure;
    return std::nullopt;
}
