#include "logic/recording/ReadingFile.h"

#include "logic/link/ReadingCaptions.h"
#include "logic/recording/DataFileFormat.h"
#include "logic/recording/DataFileRow.h"
#include "logic/text/NumberText.h"
#include "logic/text/RowText.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Far more than any line of ours, so that the first line is in it whole.
constexpr qint64 HeadBytes = 1024;

QStringList jsonKeys(QByteArrayView line) {
    return QJsonDocument::fromJson(line.toByteArray()).object().keys();
}

bool startsAsOurs(FileFormat format, QByteArrayView firstLine, DewPointColumn dewPoint) {
    switch (format) {
    case FileFormat::Dat:
        return parseDataFileRow(firstLine).has_value();
    case FileFormat::Csv:
        return firstLine == QByteArrayView(csvHeader(dewPoint)).chopped(2);
    case FileFormat::JsonLines:
        break;
    }
    QByteArray ours;
    appendJsonLine(ours, ExportRow{});
    QStringList keys = jsonKeys(ours);
    if (jsonKeys(firstLine) == keys)
        return true;
    keys.removeOne(QStringLiteral("dew_point"));
    return jsonKeys(firstLine) == keys;
}

// The data file's captions in the unit chosen, converted as the other formats convert.
ReadingCaptions writtenCaptions(ReadingCaptions captions, TemperatureUnit unit) {
    const char meterUnit = captions.unit == QLatin1String("F") ? 'F' : 'C';
    const char written = writtenUnitLetter(unit, meterUnit);
    if (written == meterUnit)
        return captions;
    if (isNumberText(captions.temperature))
        captions.temperature =
            formatNumberText(QString::fromLatin1(convertedTemperature(
                                 captions.temperature.toLatin1(), meterUnit, written)),
                             QStringLiteral("#0.0#"));
    captions.unit = QChar::fromLatin1(written);
    return captions;
}

} // namespace

std::optional<QString> appendMismatch(FileFormat format, QByteArrayView head,
                                      DewPointColumn dewPoint) {
    if (head.isEmpty())
        return std::nullopt;
    qsizetype end = 0;
    while (end < head.size() && head[end] != '\r' && head[end] != '\n')
        ++end;
    if (startsAsOurs(format, head.first(end), dewPoint))
        return std::nullopt;
    switch (format) {
    case FileFormat::Dat:
        return QStringLiteral("a reading in the data file's form");
    case FileFormat::Csv:
        return dewPoint == DewPointColumn::With
                   ? QStringLiteral("the CSV header record --dew-point writes")
                   : QStringLiteral("the CSV header record writes");
    case FileFormat::JsonLines:
        break;
    }
    return QStringLiteral("a reading with the JSON fields record writes");
}

Result<> ReadingFile::open(const QString& path) {
    const auto cannot = [](const QString& why) { return Failure{ExitStatus::CannotCreate, why}; };
    rows_ = 0;
    const QFileInfo existing(path);
    // Only a regular file is read: a pipe or a device may block or never end.
    if (existing.isFile() && existing.size() > 0) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            if (const std::optional<QString> wanted =
                    appendMismatch(format_, file.read(HeadBytes), options_.dewPoint))
                return cannot(
                    QStringLiteral("cannot append (its first line is not %1)").arg(*wanted));
    }
    if (!writer_.open(path))
        return cannot(QStringLiteral("cannot create (%1)").arg(writer_.errorText()));
    if (format_ == FileFormat::Dat || existing.size() > 0)
        return {};
    const QByteArray header = exportHeader(format_, options_.dewPoint);
    if (header.isEmpty() || writer_.writeLine(header))
        return {};
    return cannot(QStringLiteral("cannot create (%1)").arg(writer_.errorText()));
}

bool ReadingFile::write(const QDateTime& takenAt, const LiveReading& reading) {
    QByteArray line;
    if (format_ == FileFormat::Dat) {
        // The desktop program's recorder counts every recording from 1, even into an old file.
        const ReadingCaptions captions = writtenCaptions(readingCaptions(reading), options_.unit);
        line = recorderLine(rows_ + 1, rowBody(takenAt, captions.humidity, captions.temperature,
                                               captions.unit, captions.batteryLow));
    } else {
        ExportRow row = liveExportRow(takenAt, reading);
        row.writtenUnit = options_.unit;
        appendExportLine(line, format_, row, options_.dewPoint);
    }
    if (!writer_.writeLine(line))
        return false;
    ++rows_;
    return true;
}
