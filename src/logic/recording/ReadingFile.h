#pragma once

#include "logic/recording/DataFileWriter.h"
#include "logic/recording/FileFormat.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

class QDateTime;
struct LiveReading;

// A meter's recording file: one line per reading, in the desktop program's data file lines or in
// CSV or JSON Lines, each on the disk before the next reading comes.
class ReadingFile {
public:
    explicit ReadingFile(FileFormat format) : format_(format) {}

    // Opens for appending; a CSV file that is empty gets its header first. A file that starts
    // otherwise than this format's files do is refused, since lines of two shapes in one file
    // read as nonsense. Nothing when the file is open, else why not ("cannot create (...)",
    // "cannot append (...)").
    std::optional<QString> open(const QString& path);
    bool write(const QDateTime& takenAt, const LiveReading& reading);
    void close() { writer_.close(); }

    qint64 rowsWritten() const { return rows_; }
    QString errorText() const { return writer_.errorText(); }
    // The last write failed because the file's name now leads elsewhere or nowhere.
    bool lostItsName() const { return writer_.lostItsName(); }

private:
    FileFormat format_;
    DataFileWriter writer_;
    qint64 rows_ = 0;
};

// What a file of the format must start with to be appended to, for the user ("the CSV header
// record writes"), when head (its first bytes) does not start so; nothing when it does. Empty
// bytes start as any file does.
std::optional<QString> appendMismatch(FileFormat format, QByteArrayView head);
