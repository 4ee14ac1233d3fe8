#include "logic/recording/RecordedRange.h"

#include "logic/recording/DatedReadingFile.h"

#include <QDateTime>

QStringList recordingFilesBetween(const QString& pattern, qint64 fromMs, qint64 toMs) {
    const QDate first = QDateTime::fromMSecsSinceEpoch(fromMs).date();
    const QDate last = QDateTime::fromMSecsSinceEpoch(std::max(fromMs, toMs - 1)).date();
    QStringList files;
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        // Noon is on every day's clock, whatever the summer time does.
        const QString path = filePathAt(pattern, QDateTime(day, QTime(12, 0)));
        if (files.isEmpty() || files.last() != path)
            files.append(path);
    }
    return files;
}

RecordedRange::RecordedRange(const QString& pattern, FileFormat format, qint64 fromMs, qint64 toMs)
    : files_(recordingFilesBetween(pattern, fromMs, toMs)), format_(format), fromMs_(fromMs),
      toMs_(toMs) {}

bool RecordedRange::readBlock(const std::function<void(const RecordedReading&)>& onReading) {
    while (!done_ && !reader_) {
        if (nextFile_ == files_.size()) {
            done_ = true;
            break;
        }
        reader_ = std::make_unique<RecordedFileReader>(files_[nextFile_++], format_);
        if (reader_->open())
            reader_->seek(fromMs_);
        else
            reader_.reset();
    }
    if (done_)
        return false;
    const bool more = reader_->readBlock([this, &onReading](const RecordedReading& reading) {
        // The lines follow one another in time: the first at or past the end ends the range.
        if (reading.takenAtMs >= toMs_) {
            done_ = true;
            return false;
        }
        if (reading.takenAtMs >= fromMs_)
            onReading(reading);
        return true;
    });
    if (!more)
        reader_.reset();
    return !done_;
}
