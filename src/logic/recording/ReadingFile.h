#pragma once

#include "logic/recording/DataFileWriter.h"
#include "logic/recording/ExportRow.h"
#include "logic/recording/FileFormat.h"
#include "logic/result/Result.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

class QDateTime;
struct LiveReading;

// What a recording writes beyond its format's own fields, and the unit of its temperatures.
struct RecordingOptions {
    DewPointColumn dewPoint = DewPointColumn::Without;
    TemperatureUnit unit = TemperatureUnit::Meter;
};

// A meter's recording file: one line per reading, in the desktop program's data file lines or in
// CSV or JSON Lines, each on the disk before the next reading comes.
class ReadingFile {
public:
    explicit ReadingFile(FileFormat format, const RecordingOptions& options = {})
        : format_(format), options_(options) {}

    // Opens for appending; a CSV file that is empty gets its header first. A file that starts
    // otherwise than this format's files do is refused, since lines of two shapes in one file
    // read as nonsense. Why not, when it is not open ("cannot create (...)", "cannot append
    // (...)"): a file that cannot be created.
    Result<> open(const QString& path);
    bool write(const QDateTime& takenAt, const LiveReading& reading);
    void deferSyncs() { writer_.deferSyncs(); }
    bool sync() { return writer_.sync(); }
    void close() { writer_.close(); }

    qint64 rowsWritten() const { return rows_; }
    QString errorText() const { return writer_.errorText(); }
    // The last write failed because the file's name now leads elsewhere or nowhere.
    bool lostItsName() const { return writer_.lostItsName(); }

private:
    FileFormat format_;
    RecordingOptions options_;
    DataFileWriter writer_;
    qint64 rows_ = 0;
};

// What a file of the format must start with to be appended to, for the user ("the CSV header
// record writes"), when head (its first bytes) does not start so; nothing when it does. Empty
// bytes start as any file does. A JSON Lines file from before the dew point was written may be
// appended to.
std::optional<QString> appendMismatch(FileFormat format, QByteArrayView head,
                                      DewPointColumn dewPoint = DewPointColumn::Without);
