#include "logic/recording/ReadingFile.h"

#include "logic/link/ReadingCaptions.h"
#include "logic/recording/DataFileFormat.h"
#include "logic/recording/DataFileRow.h"
#include "logic/recording/ExportRow.h"
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

bool startsAsOurs(FileFormat format, QByteArrayView firstLine) {
    switch (format) {
    case FileFormat::Dat:
        return parseDataFileRow(firstLine).has_value();
    case FileFormat::Csv:
        return firstLine == QByteArrayView(csvHeader()).chopped(2);
    case FileFormat::JsonLines:
        break;
    }
    QByteArray ours;
    appendJsonLine(ours, ExportRow{});
    return jsonKeys(firstLine) == jsonKeys(ours);
}

} // namespace

std::optional<QString> appendMismatch(FileFormat format, QByteArrayView head) {
    if (head.isEmpty())
        return std::nullopt;
    qsizetype end = 0;
    while (end < head.size() && head[end] != '\r' && head[end] != '\n')
        ++end;
    if (startsAsOurs(format, head.first(end)))
        return std::nullopt;
    switch (format) {
    case FileFormat::Dat:
        return QStringLiteral("a reading in the data file's form");
    case FileFormat::Csv:
        return QStringLiteral("the CSV header record writes");
    case FileFormat::JsonLines:
        break;
    }
    return QStringLiteral("a reading with the JSON fields record writes");
}

std::optional<QString> ReadingFile::open(const QString& path) {
    rows_ = 0;
    const QFileInfo existing(path);
    // Only a regular file is read: a pipe or a device may block or never end.
    if (existing.isFile() && existing.size() > 0) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            if (const std::optional<QString> wanted = appendMismatch(format_, file.read(HeadBytes)))
                return QStringLiteral("cannot append (its first line is not %1)").arg(*wanted);
    }
    if (!writer_.open(path))
        return QStringLiteral("cannot create (%1)").arg(writer_.errorText());
    if (format_ == FileFormat::Dat || existing.size() > 0)
        return std::nullopt;
    const QByteArray header = exportHeader(format_);
    if (header.isEmpty() || writer_.writeLine(header))
        return std::nullopt;
    return QStringLiteral("cannot create (%1)").arg(writer_.errorText());
}

bool ReadingFile::write(const QDateTime& takenAt, const LiveReading& reading) {
    QByteArray line;
    if (format_ == FileFormat::Dat) {
        // The desktop program's recorder counts every recording from 1, even into an old file.
        const ReadingCaptions captions = readingCaptions(reading);
        line = recorderLine(rows_ + 1, rowBody(takenAt, captions.humidity, captions.temperature,
                                               captions.unit, captions.batteryLow));
    } else {
        appendExportLine(line, format_, liveExportRow(takenAt, reading));
    }
    if (!writer_.writeLine(line))
        return false;
    ++rows_;
    return true;
}
