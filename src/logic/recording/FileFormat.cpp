#include "logic/recording/FileFormat.h"

#include <QFileInfo>

std::optional<FileFormat> parseFileFormat(const QString& text) {
    if (text == QLatin1String("dat"))
        return FileFormat::Dat;
    if (text == QLatin1String("csv"))
        return FileFormat::Csv;
    if (text == QLatin1String("jsonl"))
        return FileFormat::JsonLines;
    return std::nullopt;
}

std::optional<FileFormat> fileFormatOfPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("ndjson") ? FileFormat::JsonLines : parseFileFormat(suffix);
}
