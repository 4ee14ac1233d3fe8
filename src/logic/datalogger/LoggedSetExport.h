#pragma once

#include "logic/recording/DataFileRow.h"
#include "logic/recording/FileFormat.h"

#include <QByteArray>

class LoggedSetData;

// Downloaded sets as a file's bytes, each record stamped as REC_LIST stamps it. A ".dat" holds
// exactly the lines REC_LIST's SAVE writes, its rows numbered from 1 in every set; CSV and JSON
// Lines carry the local time with its offset and, for a file of several sets, the set each
// record belongs to (a first "set" column, a "set" field).
class LoggedSetExport {
public:
    LoggedSetExport(FileFormat format, bool withSetNumber);

    // Records 1 to records of the set.
    void appendSet(int set, const LoggedSetData& data, int records);
    const QByteArray& bytes() const { return bytes_; }

private:
    void appendRecord(int set, qint64 row, const QString& rowText);

    FileFormat format_;
    bool withSetNumber_;
    ZoneOffsets offsets_;
    QByteArray bytes_;
};
