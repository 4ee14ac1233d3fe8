#include "logic/datalogger/LoggedSetExport.h"

#include "logic/datalogger/LoggedSetData.h"
#include "logic/datalogger/RecordTime.h"
#include "logic/recording/DataFileFormat.h"

#include <QTimeZone>

LoggedSetExport::LoggedSetExport(FileFormat format, bool withSetNumber)
    : format_(format), withSetNumber_(withSetNumber),
      offsets_(QTimeZone::systemTimeZone(), ZoneOffsets::SkippedTime::OffsetBefore) {
    if (format_ != FileFormat::Csv)
        return;
    if (withSetNumber_)
        bytes_ += "set,";
    bytes_ += csvHeader();
}

void LoggedSetExport::appendSet(int set, const LoggedSetData& data, int records) {
    const std::optional<DownloadHeader> header = data.header();
    if (!header)
        return;
    RecordTime time(header->start, header->intervalSeconds);
    for (int record = 1; record <= records; ++record) {
        if (record > 1)
            time.next();
        if (const std::optional<QString> row = data.rowText(record, time))
            appendRecord(set, record, *row);
    }
}

void LoggedSetExport::appendRecord(int set, qint64 row, const QString& rowText) {
    // The grid's columns 1 to 6, as REC_LIST lists the row.
    const QByteArray line = saveLine(row, rowText.split(QLatin1Char('\t')));
    if (format_ == FileFormat::Dat) {
        bytes_ += line;
        return;
    }
    // Read back as the converter reads a saved list, so both give the same rows.
    const std::optional<DataFileRow> parsed = parseDataFileRow(QByteArrayView(line).chopped(2));
    const std::optional<ExportRow> exported = parsed ? exportRow(*parsed, offsets_) : std::nullopt;
    if (!exported)
        return;
    QByteArray out;
    appendExportLine(out, format_, *exported);
    if (withSetNumber_ && format_ == FileFormat::Csv)
        bytes_ += QByteArray::number(set) + ',' + out;
    else if (withSetNumber_)
        bytes_ += "{\"set\":" + QByteArray::number(set) + ',' + out.mid(1);
    else
        bytes_ += out;
}
