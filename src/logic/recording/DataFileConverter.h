#pragma once

#include "logic/recording/FileFormat.h"

#include <QString>
#include <QTimeZone>
#include <functional>

struct ConversionResult {
    qint64 rowsWritten = 0;
    qint64 linesSkipped = 0;
    // Empty when the conversion finished; otherwise why it did not (the output is then not
    // written at all).
    QString error;
};

// Why a line was left out: it is no reading, or its time is one the zone's clock skips.
enum class SkippedLine { NotAReading, NoSuchLocalTime };

// Converts a data file, either writer's, into CSV or JSON Lines, reading its local times in zone
// (see ZoneOffsets for a repeated hour). A line left out is handed to skipped with its 1-based
// number and the reason: neither a reading nor its time is ever guessed. The output appears only
// once it is complete. Reads and writes a block at a time, so a file of any size converts in little
// memory.
ConversionResult
convertDataFile(const QString& inputPath, const QString& outputPath, FileFormat format,
                const QTimeZone& zone,
                const std::function<void(qint64 lineNumber, SkippedLine why)>& skipped);
