#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
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
