#pragma once

#include "logic/datalogger/MeterStamp.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The meter's answer to "I": one leading byte, then a 10-byte entry per recorded set (start
// stamp, two bytes the PC does not read, the record count). Reads only what arrived: an entry
// that is not complete is absent.
class LoggedSetDirectory {
public:
    static constexpr int EntryLength = 10;

    LoggedSetDirectory() = default;
    explicit LoggedSetDirectory(QByteArray bytes) : bytes_(std::move(bytes)) {}

    // The reply length for n sets: 10 n + 1.
    static int expectedLength(int setCount);
    // Progress while it arrives: " 2 SETS COMPLETED" (collected bytes \ 10, one space before).
    static QString progressText(qsizetype collectedBytes);

    const QByteArray& bytes() const { return bytes_; }
    // Entries that arrived whole.
    int entryCount() const;
    // Set k (1-based): its start, its start as the directory grid shows it
    // ("03-05-02----14:30:15"), its number of records. Nothing for an entry that did not arrive.
    std::optional<MeterStamp> start(int set) const;
    std::optional<QString> startText(int set) const;
    std::optional<int> recordCount(int set) const;

private:
    // Index of the entry's first byte, or -1 when the entry is not all there.
    qsizetype entryIndex(int set) const;

    QByteArray bytes_;
};
