#include "cli/ReadingFile.h"

#include "link/ReadingCaptions.h"
#include "recording/DataFileConverter.h"
#include "recording/DataFileFormat.h"
#include "recording/ExportRow.h"
#include "text/RowText.h"

#include <QFileInfo>

namespace {

ExportFormat exportFormat(FileFormat format) {
    return format == FileFormat::Csv ? ExportFormat::Csv : ExportFormat::JsonLines;
}

} // namespace

bool ReadingFile::open(const QString& path) {
    rows_ = 0;
    const bool empty = QFileInfo(path).size() == 0;
    if (!writer_.open(path))
        return false;
    if (format_ == FileFormat::Dat || !empty)
        return true;
    const QByteArray header = exportHeader(exportFormat(format_));
    return header.isEmpty() || writer_.writeLine(header);
}

bool ReadingFile::write(const QDateTime& takenAt, const LiveReading& reading) {
    QByteArray line;
    if (format_ == FileFormat::Dat) {
        // The desktop program's recorder counts every recording from 1, even into an old file.
        const ReadingCaptions captions = readingCaptions(reading);
        line = recorderLine(rows_ + 1, rowBody(takenAt, captions.humidity, captions.temperature,
                                               captions.unit, captions.batteryLow));
    } else {
        appendExportLine(line, exportFormat(format_), liveExportRow(takenAt, reading));
    }
    if (!writer_.writeLine(line))
        return false;
    ++rows_;
    return true;
}
