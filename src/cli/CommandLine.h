#pragma once

#include "logic/result/Result.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>

// A subcommand's command line: the parser with the options every subcommand has (--help), and
// the subcommand's voice on stderr: what it tells, and how it ends when it cannot go on.
class CommandLine {
public:
    CommandLine(const QString& subcommand, const QString& description, const QString& synopsis);

    QCommandLineParser& parser() { return parser_; }
    // Parses arguments (the subcommand's own, without the program and subcommand names). Nothing
    // when the call is to end at once with that status: --help (Ok) or a wrong call (Usage).
    std::optional<int> parse(const QStringList& arguments);
    // "meter-logger SUBCOMMAND: message" on stderr.
    void tell(const QString& message) const;
    // Tells the failure, and the usage line after a wrong call; returns its status.
    int fail(const Failure& failure) const;
    // fail() for a wrong call: returns Usage.
    int usageError(const QString& message) const;
    // Ok, or the failure told as fail() tells it.
    int exitStatusOf(const Result<>& outcome) const;
    // Ok after telling the report (when there is one), or the failure told as fail() tells it.
    int exitStatusOf(const Result<QString>& report) const;

private:
    QString subcommand_;
    QString synopsis_;
    QCommandLineParser parser_;
};

// A wrong call: the message, status Usage.
Failure wrongCall(const QString& message);
