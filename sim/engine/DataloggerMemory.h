#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>

// The meter's 32 KB datalogger: sets of records, each set a start time, an interval and a run of
// 4-byte records. A set costs its 10-byte header plus 4 bytes a record, and that sum is the
// memory use the status reply reports.
class DataloggerMemory {
public:
    static constexpr int Capacity = 32768;
    static constexpr int SetHeaderBytes = 10;
    static constexpr int RecordBytes = 4;
    // The status reply counts sets in one byte.
    static constexpr int MaxSets = 255;

    struct LoggedSet {
        QDateTime start;
        int intervalSeconds = 1;
        QByteArray records;

        int recordCount() const { return static_cast<int>(records.size() / RecordBytes); }
    };

    int setCount() const { return static_cast<int>(sets_.size()); }
    const LoggedSet& set(int number) const { return sets_.at(number - 1); }
    int usedBytes() const;
    int freeBytes() const { return Capacity - usedBytes(); }
    // Full once another record no longer fits.
    bool isFull() const { return freeBytes() < RecordBytes; }

    // Opens a new set; false when the memory has no room for a set with one record in it.
    bool startSet(const QDateTime& start, int intervalSeconds);
    // Adds a record to the newest set; false when it does not fit.
    bool appendRecord(const QByteArray& record);
    void erase() { sets_.clear(); }

    // Reply layouts: the set directory ("I") and one set's download ("K"); an unknown set number
    // gives an empty download.
    QByteArray directory() const;
    QByteArray download(int number) const;

private:
    QList<LoggedSet> sets_;
};
