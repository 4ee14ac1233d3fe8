// The record times rebuilt from any start stamp and interval the meter can send: seconds and
// minutes always below 60, hours below 24, the year two digits; and from a real calendar date
// each step lands exactly one interval later by the calendar (years 2000 to 2099, where the
// two-digit leap rule holds, 99 followed by 00).
#include "FuzzCheck.h"
#include "logic/datalogger/LoggerBytes.h"
#include "logic/datalogger/MeterStamp.h"
#include "logic/datalogger/RecordTime.h"

#include <QDateTime>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

constexpr int maximumSteps = 2000;

std::optional<QDateTime> calendarTime(const MeterStamp& stamp) {
    const QDate date(2000 + stamp.year, stamp.month, stamp.day);
    const QTime time(stamp.hour, stamp.minute, stamp.second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

void checkFields(const MeterStamp& fields) {
    FUZZ_CHECK(fields.second >= 0 && fields.second < 60);
    FUZZ_CHECK(fields.minute >= 0 && fields.minute < 60);
    FUZZ_CHECK(fields.hour >= 0 && fields.hour < 24);
    FUZZ_CHECK(fields.year >= 0 && fields.year <= 99);
    FUZZ_CHECK(fields.day >= 0 && fields.month >= 0);
}

void checkSameTime(const MeterStamp& fields, const QDateTime& expected) {
    FUZZ_CHECK(fields.year == expected.date().year() % 100);
    FUZZ_CHECK(fields.month == expected.date().month() && fields.day == expected.date().day());
    FUZZ_CHECK(fields.hour == expected.time().hour() && fields.minute == expected.time().minute());
    FUZZ_CHECK(fields.second == expected.time().second());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::vector<uint8_t> header = input.ConsumeBytes<uint8_t>(8);
    if (header.size() < 8)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(header.data()), 8);
    const MeterStamp start = *MeterStamp::fromBytes(bytes);
    const int interval = highFirstWord(bytes, MeterStamp::Length);
    const int steps = input.ConsumeIntegralInRange<int>(0, maximumSteps);

    RecordTime time(start, interval);
    const std::optional<QDateTime> calendarStart = calendarTime(start);
    for (int step = 0; step <= steps; ++step) {
        if (step > 0)
            time.next();
        checkFields(time.fields());
        if (!calendarStart)
            continue;
        const QDateTime expected = calendarStart->addSecs(qint64(step) * interval);
        // 2100 is no leap year, but its two digits read as one.
        if (expected.date() < QDate(2100, 2, 29))
            checkSameTime(time.fields(), expected);
    }
    return 0;
}
