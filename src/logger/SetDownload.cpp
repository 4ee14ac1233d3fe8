#include "logger/SetDownload.h"

#include "link/FrameDecoder.h"
#include "link/LiveReading.h"
#include "logger/LoggerBytes.h"
#include "logger/RecordTime.h"
#include "text/NumberText.h"

namespace {

constexpr int IntervalIndex = 6;
// A record is decoded as a frame whose first three bytes come from the header.
constexpr int FramePrefixLength = 3;

} // namespace

QString SetDownload::progressText(qint64 totalBytes) {
    return QString::number((totalBytes - HeaderLength) / RecordLength) +
           QStringLiteral(" RECORDS COMPLETED");
}

QString SetDownload::recordListCaption(int recordCount, int set) {
    return signedNumberText(recordCount) + QStringLiteral("  RECORDS IN NO. ") +
           signedNumberText(set) + QStringLiteral("  SET");
}

QString SetDownload::recordRowText(const QString& date, const QString& time,
                                   const LiveReading& record) {
    const QChar tab(u'\t');
    const QString pattern = QStringLiteral("0.0");
    QString row = date + tab + time + tab + formatNumberText(record.HumidityText, pattern) + tab +
                  formatNumberText(record.TemperatureText, pattern) + tab + record.TempUnit + tab;
    if (record.BatteryLow == 1)
        row += QStringLiteral("LOW");
    return row;
}

std::optional<DownloadHeader> SetDownload::header() const {
    if (bytes_.size() < HeaderLength)
        return std::nullopt;
    return DownloadHeader{*MeterStamp::fromBytes(bytes_), highFirstWord(bytes_, IntervalIndex)};
}

int SetDownload::recordsArrived() const {
    if (bytes_.size() < HeaderLength)
        return 0;
    return static_cast<int>((bytes_.size() - HeaderLength) / RecordLength);
}

bool SetDownload::decodeRecord(int record, LiveReading& reading) const {
    if (record < 1 || record > recordsArrived())
        return false;
    const qsizetype index = HeaderLength + qsizetype(RecordLength) * (record - 1);
    const QByteArray frame = bytes_.left(FramePrefixLength) + bytes_.mid(index, RecordLength);
    decodeRecordFrame(frame, reading);
    return true;
}

std::optional<QString> SetDownload::rowText(int record, const RecordTime& time) const {
    LiveReading reading;
    if (!decodeRecord(record, reading))
        return std::nullopt;
    return recordRowText(time.dateText(), time.timeText(), reading);
}
