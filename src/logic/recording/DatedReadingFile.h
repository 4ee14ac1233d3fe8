#pragma once

#include "logic/recording/ReadingFile.h"

#include <QString>

class QDateTime;
struct LiveReading;

// The file a reading taken at takenAt goes to: path with {date} (2026-12-07) and {month}
// (2026-12) of that time on this machine's clock, so that a new file starts at local midnight or
// on the first of the month.
QString filePathAt(const QString& path, const QDateTime& takenAt);

// A meter's recording under a name that may hold {date} or {month}: each reading goes to the file
// its own time names, so a reading lands in the day it was taken whenever it is written, and a
// new file starts as the first reading of its day comes. Every failure names the file.
class DatedReadingFile {
public:
    DatedReadingFile(FileFormat format, const QString& pattern,
                     const RecordingOptions& options = {})
        : pattern_(pattern), file_(format, options) {}

    // Opens the file of time now, so that a name that cannot be made is said before recording:
    // why not, when it is not open ("PATH: cannot create (...)"), a file that cannot be created.
    Result<> open(const QDateTime& now);
    // Writes the reading to its time's file, opening that file first if it is another. Why not,
    // when it is not written ("PATH: cannot write (...)"): a failure to write, even when it is
    // the next day's file that cannot be created, since recording has begun.
    Result<> write(const QDateTime& takenAt, const LiveReading& reading);
    // Closes the file and opens its name again, for a file a log rotation renamed; done at once
    // before the first opening. A failure is one to write, as above.
    Result<> reopen();
    // Lines reach the disk only with sync(), for a caller that writes many meters' files at one
    // moment. A failure is one to write, as above.
    void deferSyncs() { file_.deferSyncs(); }
    Result<> sync();
    void close() { file_.close(); }

    // The readings written to all the files.
    qint64 rowsWritten() const { return rows_; }

private:
    Result<> openPath(const QString& path);
    Failure cannotWrite() const;

    QString pattern_;
    QString path_;
    ReadingFile file_;
    qint64 rows_ = 0;
};
