#pragma once

#include "logic/recording/RecordedLine.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>

// One recording file's readings from a time on, read a block at a time, so that a file of a year
// costs no more memory than a block and its start is found without reading what comes before.
// Only whole lines that read back as readings are handed out: the header, a damaged line and a
// last line still being written are passed over.
class RecordedFileReader {
public:
    static constexpr qint64 DefaultBlockBytes = 64 * 1024;

    RecordedFileReader(const QString& path, FileFormat format,
                       qint64 blockBytes = DefaultBlockBytes);

    // False when there is no regular file to read at the path.
    bool open();
    // Goes to a place before the first reading taken at fromMs or later and not far before it:
    // back from the end a block, then twice as far each time until a reading older than fromMs
    // is met, then halving the distance. A file's lines follow one another in time.
    void seek(qint64 fromMs);
    // Reads one more block and hands out its readings in the file's order while onReading
    // returns true. False once the file's end is reached or onReading asked to stop.
    bool readBlock(const std::function<bool(const RecordedReading&)>& onReading);
    // The bytes read so far, the search's included.
    qint64 bytesRead() const { return bytesRead_; }

private:
    // The time of the first reading that starts after offset within a block (at offset when it
    // is 0), nothing when the block holds none.
    std::optional<qint64> firstTimeAfter(qint64 offset);
    QByteArray readAt(qint64 offset);

    QFile file_;
    FileFormat format_;
    qint64 blockBytes_;
    RecordedLineReader lines_;
    // The start of a line the last block cut.
    QByteArray pending_;
    qint64 position_ = 0;
    // Set after a seek into a line, and after a line too long to be ours.
    bool skipToLineStart_ = false;
    bool done_ = false;
    qint64 bytesRead_ = 0;
};
