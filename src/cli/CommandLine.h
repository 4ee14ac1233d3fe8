#pragma once

#include "logic/recording/DataFileConverter.h"
#include "logic/recording/FileFormat.h"
#include "logic/result/ExitStatus.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <optional>

// A subcommand's command line: the parser with the options every subcommand has (--help), and
// the way a wrong call ends: its message and the usage on stderr, status Usage.
class CommandLine {
public:
    CommandLine(const QString& subcommand, const QString& description, const QString& synopsis);

    QCommandLineParser& parser() { return parser_; }
    // Parses arguments (the subcommand's own, without the program and subcommand names). Nothing
    // when the call is to end at once with that status: --help (Ok) or a wrong call (Usage).
    std::optional<int> parse(const QStringList& arguments);
    // Writes "meter-logger SUBCOMMAND: message" and the usage line to stderr; returns Usage.
    int usageError(const QString& message) const;

private:
    QString subcommand_;
    QString synopsis_;
    QCommandLineParser parser_;
};

// "1h30m", "90s", "2d", "45m", "1h 30m": a positive whole number of seconds. Nothing for anything
// else, or for zero.
std::optional<qint64> parseDuration(const QString& text);
// "+01:00", "-05:30", "UTC", "Z", or a zone name such as "Europe/Berlin".
std::optional<QTimeZone> parseTimeZone(const QString& text);

// Writes a line to stderr as it is, whatever the locale.
void printError(const QString& line);
