#pragma once

#include "recording/ExportRow.h"

#include <QString>
#include <QTimeZone>
#include <functional>

enum class ExportFormat { Csv, JsonLines };

// The header a file of the format starts with (CSV only), and one row in the format.
QByteArray exportHeader(ExportFormat format);
void appendExportLine(QByteArray& out, ExportFormat format, const ExportRow& row);

struct ConversionResult {
    qint64 rowsWritten = 0;
    qint64 linesSkipped = 0;
    // Empty when the conversion finished; otherwise why it did not (the output is then not
    // written at all).
    QString error;
};

// Converts a data file, either writer's, into the format, reading its local times in zone. A
// line that is no reading is handed to skipped with its 1-based number and left out: a reading
// is never guessed. The output appears only once it is complete. Reads and writes a block at a
// time, so a file of any size converts in little memory.
ConversionResult convertDataFile(const QString& inputPath, const QString& outputPath,
                                 ExportFormat format, const QTimeZone& zone,
                                 const std::function<void(qint64 lineNumber)>& skipped);
