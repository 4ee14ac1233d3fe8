// The datalogger reply decoders on replies of any length and content: the status reply only at
// its length, with every field in its range; a set directory of any length and any set count,
// and a set download of any length against any record count, handing out only what arrived;
// a meter stamp from any index; what of a download is listed, and that every listed record's
// readings are decimal. No decoder reads past the bytes received (Qt's bounds assertions are on
// in this build) and no text shows a number that is no number.
#include "FuzzCheck.h"
#include "logic/datalogger/DownloadCheck.h"
#include "logic/datalogger/LoggedSetData.h"
#include "logic/datalogger/LoggedSetDirectory.h"
#include "logic/datalogger/MeterStamp.h"
#include "logic/datalogger/RecordTime.h"
#include "logic/datalogger/StatusReply.h"
#include "logic/link/LiveReading.h"
#include "logic/text/NumberText.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

bool hasNonFinite(const QString& text) {
    return text.contains(QLatin1String("inf")) || text.contains(QLatin1String("nan"));
}

// "54.3", "-120.5", "20": digits, a point and a sign, never a hexadecimal letter.
bool isDecimalReading(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-');
    });
}

bool isTwoDigitField(int value) {
    return value >= 0 && value <= 99;
}

void checkStamp(const MeterStamp& stamp) {
    for (int field : {stamp.year, stamp.month, stamp.day, stamp.hour, stamp.minute, stamp.second})
        FUZZ_CHECK(isTwoDigitField(field));
    FUZZ_CHECK(stamp.dateText().size() == 8 && stamp.timeText().size() == 8);
    FUZZ_CHECK(stamp.setStartText().size() == 20 && stamp.clockText().size() == 21);
}

void checkStatus(const QByteArray& reply) {
    const std::optional<StatusReply> status = StatusReply::decode(reply);
    FUZZ_CHECK(status.has_value() == (reply.size() == StatusReply::Length));
    if (!status)
        return;
    FUZZ_CHECK(status->idCode >= 0 && status->idCode <= 65535);
    FUZZ_CHECK(status->setCount >= 0 && status->setCount <= 255);
    FUZZ_CHECK(status->usedBytes >= 0 && status->usedBytes <= 65535);
    FUZZ_CHECK(status->intervalSeconds >= 0 && status->intervalSeconds <= 65535);
    const QString remaining = status->remainingText();
    FUZZ_CHECK(remaining.endsWith(QLatin1String(" K")) && !hasNonFinite(remaining));
    const double left = status->setCount == 0
                            ? StatusReply::MemoryKilobytes
                            : StatusReply::MemoryKilobytes - status->usedBytes / 1024.0;
    FUZZ_CHECK(std::fabs(leadingNumber(remaining) - left) <= 0.05 + 1e-9);
    FUZZ_CHECK(leadingNumber(status->intervalText()) == status->intervalSeconds);
    FUZZ_CHECK(leadingNumber(status->idCodeText()) == status->idCode);
    FUZZ_CHECK(leadingNumber(status->setCountText()) == status->setCount);
}

void checkDirectory(const QByteArray& bytes, int askedSet, int setCount) {
    const LoggedSetDirectory directory(bytes);
    const int entries = directory.entryCount();
    FUZZ_CHECK(entries ==
               (bytes.isEmpty() ? 0 : (bytes.size() - 1) / LoggedSetDirectory::EntryLength));
    FUZZ_CHECK(leadingNumber(LoggedSetDirectory::progressText(bytes.size())) ==
               bytes.size() / LoggedSetDirectory::EntryLength);
    for (int set : {askedSet, 0, 1, entries, entries + 1, setCount}) {
        const bool arrived = set >= 1 && set <= entries;
        const std::optional<MeterStamp> start = directory.start(set);
        const std::optional<int> records = directory.recordCount(set);
        FUZZ_CHECK(start.has_value() == arrived && records.has_value() == arrived);
        FUZZ_CHECK(directory.startText(set).has_value() == arrived);
        if (!arrived)
            continue;
        checkStamp(*start);
        FUZZ_CHECK(*records >= 0 && *records <= 65535);
        FUZZ_CHECK(*directory.startText(set) == start->setStartText());
    }
    // A directory of the length asked for holds exactly the sets asked for.
    const int expected = LoggedSetDirectory::expectedLength(setCount);
    FUZZ_CHECK(
        LoggedSetDirectory(bytes.left(expected).leftJustified(expected, '\0')).entryCount() ==
        setCount);
}

void checkDownload(const QByteArray& bytes, int recordCount, int askedRecord) {
    const LoggedSetData download(bytes);
    const int arrived = download.recordsArrived();
    FUZZ_CHECK(arrived ==
               (bytes.size() < LoggedSetData::HeaderLength
                    ? 0
                    : (bytes.size() - LoggedSetData::HeaderLength) / LoggedSetData::RecordLength));
    const std::optional<DownloadHeader> header = download.header();
    FUZZ_CHECK(header.has_value() == (bytes.size() >= LoggedSetData::HeaderLength));
    FUZZ_CHECK(leadingNumber(LoggedSetData::progressText(bytes.size())) ==
               (bytes.size() - LoggedSetData::HeaderLength) / LoggedSetData::RecordLength);
    if (!header) {
        LiveReading untouched;
        FUZZ_CHECK(!download.decodeRecord(1, untouched));
        return;
    }
    checkStamp(header->start);
    FUZZ_CHECK(header->intervalSeconds >= 0 && header->intervalSeconds <= 65535);

    // The record list as the program builds it: every record the set claims, as far as they came.
    // Those the check lets through show decimal readings only.
    const DownloadCheck check = DownloadCheck::of(download, recordCount);
    FUZZ_CHECK(check.listed >= 0 && check.listed <= std::min(arrived, recordCount));
    FUZZ_CHECK(check.damaged || check.listed == std::min(arrived, recordCount));
    FUZZ_CHECK(download.endsOnRecord() || check.damaged);
    FUZZ_CHECK(check.message().isEmpty() == (!check.damaged && check.listed == recordCount));
    RecordTime time(header->start, header->intervalSeconds);
    for (int record = 1; record <= recordCount; ++record) {
        const std::optional<QString> row = download.rowText(record, time);
        FUZZ_CHECK(row.has_value() == (record <= arrived));
        if (!row)
            break;
        FUZZ_CHECK(row->count(QLatin1Char('\t')) == 5 && !hasNonFinite(*row));
        const QStringList cells = row->split(QLatin1Char('\t'));
        FUZZ_CHECK(cells[4] == QLatin1String("C") || cells[4] == QLatin1String("F"));
        FUZZ_CHECK(cells[5].isEmpty() || cells[5] == QLatin1String("LOW"));
        if (record <= check.listed)
            FUZZ_CHECK(isDecimalReading(cells[2]) &&
                       (cells[3].endsWith(QLatin1String("OL")) || isDecimalReading(cells[3])));
        time.next();
    }
    for (int record : {askedRecord, 0, arrived, arrived + 1}) {
        LiveReading reading;
        reading.TemperatureText = QStringLiteral("untouched");
        const bool decoded = download.decodeRecord(record, reading);
        FUZZ_CHECK(decoded == (record >= 1 && record <= arrived));
        FUZZ_CHECK(decoded != (reading.TemperatureText == QLatin1String("untouched")));
    }
}

void checkStampAt(const QByteArray& bytes, qsizetype index) {
    const std::optional<MeterStamp> stamp = MeterStamp::fromBytes(bytes, index);
    FUZZ_CHECK(stamp.has_value() == (index >= 0 && index <= bytes.size() - MeterStamp::Length));
    if (stamp)
        checkStamp(*stamp);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int setCount = input.ConsumeIntegralInRange<int>(0, 255);
    const int askedSet = input.ConsumeIntegralInRange<int>(-2, 300);
    const int recordCount = input.ConsumeIntegralInRange<int>(0, 65535);
    const int askedRecord = input.ConsumeIntegralInRange<int>(-2, 70000);
    const qsizetype stampIndex = input.ConsumeIntegralInRange<qsizetype>(-8, 4096);
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray bytes(rest.data(), static_cast<qsizetype>(rest.size()));

    checkStatus(bytes);
    checkStatus(bytes.left(StatusReply::Length));
    checkDirectory(bytes, askedSet, setCount);
    checkDownload(bytes, recordCount, askedRecord);
    checkStampAt(bytes, stampIndex);
    return 0;
}
