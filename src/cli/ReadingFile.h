#pragma once

#include "cli/RecordPlan.h"
#include "recording/DataFileWriter.h"

#include <QString>

class QDateTime;
struct LiveReading;

// A meter's recording file: one line per reading, in the desktop program's data file lines or in
// CSV or JSON Lines, each on the disk before the next reading comes.
class ReadingFile {
public:
    explicit ReadingFile(FileFormat format) : format_(format) {}

    // Opens for appending; a CSV file that is empty gets its header first.
    bool open(const QString& path);
    bool write(const QDateTime& takenAt, const LiveReading& reading);
    void close() { writer_.close(); }

    qint64 rowsWritten() const { return rows_; }
    QString errorText() const { return writer_.errorText(); }

private:
    FileFormat format_;
    DataFileWriter writer_;
    qint64 rows_ = 0;
};
