#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A date and time as the meter sends it: six BCD bytes, two-digit year, month, day, hour,
// minute, second. The fields are kept as decoded, not checked as a calendar date.
struct MeterStamp {
    static constexpr int Length = 6;

    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    // The six bytes from bytes[index]; nothing when fewer have arrived.
    static std::optional<MeterStamp> fromBytes(const QByteArray& bytes, qsizetype index = 0);

    // "03-05-02" and "14:30:15": every field with two digits.
    QString dateText() const;
    QString timeText() const;
    // The meter's clock: "03-05-02-----14:30:15" (five dashes).
    QString clockText() const;
    // A set's start in the directory: "03-05-02----14:30:15" (four dashes).
    QString setStartText() const;

    bool operator==(const MeterStamp&) const = default;
};
