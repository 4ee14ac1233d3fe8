#pragma once

#include <QString>
#include <optional>

// The files readings are written to: the desktop program's data file, CSV or JSON Lines.
enum class FileFormat { Dat, Csv, JsonLines };

// "dat", "csv", "jsonl".
std::optional<FileFormat> parseFileFormat(const QString& text);
// By the path's extension (.dat, .csv, .jsonl or .ndjson); nothing for any other.
std::optional<FileFormat> fileFormatOfPath(const QString& path);
