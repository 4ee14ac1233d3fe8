#pragma once

#include "logic/recording/DataFileRow.h"
#include "logic/recording/ExportRow.h"
#include "logic/recording/FileFormat.h"

#include <QByteArrayView>
#include <optional>

// A reading read back from a recording file, and its time as milliseconds since the epoch.
struct RecordedReading {
    qint64 takenAtMs = 0;
    ExportRow row;
};

// Reads back one line record wrote in CSV or JSON Lines. The line comes with its line end: a line
// without one was torn by a write cut short and is no reading. The row holds the temperature and
// the dew point as they were written, so that writing it again gives the same line: unit is the
// letter written and writtenUnit the meter's; the dew point is the written one, or, when the file
// has no such column, found from the values as the logger finds it. Nothing for anything else:
// the header, a field missing or extra, a time without its offset, a status that does not go with
// its value, bytes that are no text.
std::optional<ExportRow> parseCsvLine(QByteArrayView line);
std::optional<ExportRow> parseJsonLine(QByteArrayView line);

// The row's time as milliseconds since the epoch.
qint64 takenAtMs(const ExportRow& row);

// Reads the lines of a recording file of any format, in the file's order: the data file's lines
// carry no offset and are taken in this machine's zone, as the recorder wrote them.
class RecordedLineReader {
public:
    explicit RecordedLineReader(FileFormat format);
    // The line with its line end (LF, or CR LF).
    std::optional<RecordedReading> read(QByteArrayView line);

private:
    FileFormat format_;
    ZoneOffsets offsets_;
};
