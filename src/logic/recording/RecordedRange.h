#pragma once

#include "logic/recording/RecordedFileReader.h"

#include <QStringList>
#include <memory>

// The files a recording named by pattern wrote between fromMs and toMs, oldest first: one a day or
// a month when the name holds {date} or {month} (days on this machine's clock), else the one.
QStringList recordingFilesBetween(const QString& pattern, qint64 fromMs, qint64 toMs);

// A meter's readings taken at fromMs or later and before toMs, across the files of its recording,
// read a block at a time: a missing file (a day the logger did not run) is passed over.
class RecordedRange {
public:
    RecordedRange(const QString& pattern, FileFormat format, qint64 fromMs, qint64 toMs);

    // Reads one more block and hands out its readings in the range. False once all are out.
    bool readBlock(const std::function<void(const RecordedReading&)>& onReading);

private:
    QStringList files_;
    FileFormat format_;
    qint64 fromMs_;
    qint64 toMs_;
    qsizetype nextFile_ = 0;
    std::unique_ptr<RecordedFileReader> reader_;
    bool done_ = false;
};
