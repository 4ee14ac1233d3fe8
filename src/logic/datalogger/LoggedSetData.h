#pragma once

#include "logic/datalogger/MeterStamp.h"

#include <QByteArray>
#include <QString>
#include <optional>

class RecordTime;
struct LiveReading;

// The start and interval from the first bytes of a set download.
struct DownloadHeader {
    MeterStamp start;
    int intervalSeconds = 0;
};

// The meter's answer to "K": a 10-byte header (start stamp, interval, two bytes the PC does not
// read), then 4 bytes a record, laid out like bytes 4 to 7 of the live frame. Reads only what
// arrived: a download cut short has fewer records than its set, and the missing ones are absent.
class LoggedSetData {
public:
    static constexpr int HeaderLength = 10;
    static constexpr int RecordLength = 4;

    LoggedSetData() = default;
    explicit LoggedSetData(QByteArray bytes) : bytes_(std::move(bytes)) {}

    // Progress while it arrives: "812 RECORDS COMPLETED", (total - 10) \ 4 truncated toward
    // zero, no leading space; below 10 bytes it reads 0 or less.
    static QString progressText(qint64 totalBytes);
    // A record list row: date TAB time TAB humidity TAB temperature (both "0.0", "OL" as it is)
    // TAB unit TAB, then "LOW" when the battery was low.
    static QString recordRowText(const QString& date, const QString& time,
                                 const LiveReading& record);

    const QByteArray& bytes() const { return bytes_; }
    // Nothing until the whole header has arrived.
    std::optional<DownloadHeader> header() const;
    // Records that arrived whole.
    int recordsArrived() const;
    // Whether the bytes end where a record ends: 10 + 4 n of them.
    bool endsOnRecord() const;
    // The records that arrived whole before the first sign of bytes lost or added: a record
    // digit that is not BCD (an overloaded temperature is no reading and may hold anything).
    // None when the header's start is not a BCD date and time.
    int recordsInStep() const;
    // Decodes record r (1-based) through the live frame decoders into reading, which then holds
    // its humidity, temperature, unit and battery flag. False, reading untouched, when record r
    // did not arrive.
    bool decodeRecord(int record, LiveReading& reading) const;
    // Record r's row for the record list, stamped with the time given; nothing when it did not
    // arrive.
    std::optional<QString> rowText(int record, const RecordTime& time) const;

private:
    QByteArray bytes_;
};
