#include "logic/datalogger/LoggedSetData.h"

#include "logic/datalogger/LoggerBytes.h"
#include "logic/datalogger/RecordTime.h"
#include "logic/link/FrameDecoder.h"
#include "logic/link/LiveReading.h"
#include "logic/text/NumberText.h"

namespace {

constexpr int IntervalIndex = 6;
// A record is decoded as a frame whose first three bytes come from the header.
constexpr int FramePrefixLength = 3;
constexpr quint8 TemperatureOverloadBit = 0x80;

quint8 byteAt(const QByteArray& bytes, qsizetype index) {
    return static_cast<quint8>(bytes.at(index));
}

bool isBcdDigit(int nibble) {
    return nibble <= 9;
}

// The digits of a record: the temperature's tens (low nibble of its first byte), units and
// tenths, unless it is overloaded and they are no reading; the humidity's tens (low nibble of its
// third byte), units and tenths.
bool hasBcdDigits(const QByteArray& bytes, qsizetype index) {
    const quint8 temperatureFlags = byteAt(bytes, index);
    const bool temperature =
        (temperatureFlags & TemperatureOverloadBit) != 0 ||
        (isBcdDigit(temperatureFlags & 0x0F) && isBcd(byteAt(bytes, index + 1)));
    return temperature && isBcdDigit(byteAt(bytes, index + 2) & 0x0F) &&
           isBcd(byteAt(bytes, index + 3));
}

// The set's start as the meter's clock writes it: BCD, and every field a time of day can have.
bool isClockStart(const QByteArray& bytes) {
    for (int field = 0; field < MeterStamp::Length; ++field) {
        if (!isBcd(byteAt(bytes, field)))
            return false;
    }
    const MeterStamp start = *MeterStamp::fromBytes(bytes);
    return start.month >= 1 && start.month <= 12 && start.day >= 1 && start.day <= 31 &&
           start.hour <= 23 && start.minute <= 59 && start.second <= 59;
}

} // namespace

QString LoggedSetData::progressText(qint64 totalBytes) {
    return QString::number((totalBytes - HeaderLength) / RecordLength) +
           QStringLiteral(" RECORDS COMPLETED");
}

QString LoggedSetData::recordRowText(const QString& date, const QString& time,
                                     const LiveReading& record) {
    const QChar tab(u'\t');
    const QString pattern = QStringLiteral("0.0");
    QString row = date + tab + time + tab + formatNumberText(record.HumidityText, pattern) + tab +
                  formatNumberText(record.TemperatureText, pattern) + tab + record.TempUnit + tab;
    if (record.BatteryLow == 1)
        row += QStringLiteral("LOW");
    return row;
}

std::optional<DownloadHeader> LoggedSetData::header() const {
    if (bytes_.size() < HeaderLength)
        return std::nullopt;
    return DownloadHeader{*MeterStamp::fromBytes(bytes_), highFirstWord(bytes_, IntervalIndex)};
}

int LoggedSetData::recordsArrived() const {
    if (bytes_.size() < HeaderLength)
        return 0;
    return static_cast<int>((bytes_.size() - HeaderLength) / RecordLength);
}

bool LoggedSetData::endsOnRecord() const {
    return bytes_.size() >= HeaderLength && (bytes_.size() - HeaderLength) % RecordLength == 0;
}

int LoggedSetData::recordsInStep() const {
    if (bytes_.size() < HeaderLength || !isClockStart(bytes_))
        return 0;
    const int arrived = recordsArrived();
    for (int record = 1; record <= arrived; ++record) {
        if (!hasBcdDigits(bytes_, HeaderLength + qsizetype(RecordLength) * (record - 1)))
            return record - 1;
    }
    return arrived;
}

bool LoggedSetData::decodeRecord(int record, LiveReading& reading) const {
    if (record < 1 || record > recordsArrived())
        return false;
    const qsizetype index = HeaderLength + qsizetype(RecordLength) * (record - 1);
    const QByteArray frame = bytes_.left(FramePrefixLength) + bytes_.mid(index, RecordLength);
    decodeRecordFrame(frame, reading);
    return true;
}

std::optional<QString> LoggedSetData::rowText(int record, const RecordTime& time) const {
    LiveReading reading;
    if (!decodeRecord(record, reading))
        return std::nullopt;
    return recordRowText(time.dateText(), time.timeText(), reading);
}
