#include "cli/CommandLine.h"

#include "cli/ErrorLine.h"
#include "logic/result/ExitStatus.h"

#include <cstdio>

CommandLine::CommandLine(const QString& subcommand, const QString& description,
                         const QString& synopsis)
    : subcommand_(subcommand), synopsis_(synopsis) {
    parser_.setApplicationDescription(description);
    // Qt's own help option brings --help-all, which lists options of Qt's that mean nothing here;
    // it is taken as --help and left out of the list.
    parser_.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                         QStringLiteral("Displays help on commandline options.")));
    QCommandLineOption helpAll(QStringLiteral("help-all"));
    helpAll.setFlags(QCommandLineOption::HiddenFromHelp);
    parser_.addOption(helpAll);
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
}

std::optional<int> CommandLine::parse(const QStringList& arguments) {
    // QCommandLineParser takes the first argument for the program's name.
    if (!parser_.parse(QStringList{QStringLiteral("meter-logger ") + subcommand_} + arguments))
        return usageError(parser_.errorText());
    if (parser_.isSet(QStringLiteral("help")) || parser_.isSet(QStringLiteral("help-all"))) {
        // Qt's help starts with a usage line of its own that names the program by its path.
        const QString help = parser_.helpText();
        std::fputs(qPrintable(QStringLiteral("usage: meter-logger %1 %2\n%3")
                                  .arg(subcommand_, synopsis_, help.mid(help.indexOf('\n')))),
                   stdout);
        return ExitStatus::Ok;
    }
    return std::nullopt;
}

void CommandLine::tell(const QString& message) const {
    printError(QStringLiteral("meter-logger %1: %2").arg(subcommand_, message));
}

int CommandLine::fail(const Failure& failure) const {
    tell(failure.message);
    if (failure.exitStatus == ExitStatus::Usage)
        printError(QStringLiteral("usage: meter-logger %1 %2 (--help for more)")
                       .arg(subcommand_, synopsis_));
    return failure.exitStatus;
}

int CommandLine::usageError(const QString& message) const {
    return fail(wrongCall(message));
}

int CommandLine::exitStatusOf(const Result<>& outcome) const {
    return outcome ? ExitStatus::Ok : fail(outcome.failure());
}

int CommandLine::exitStatusOf(const Result<QString>& report) const {
    if (!report)
        return fail(report.failure());
    if (!report->isEmpty())
        tell(*report);
    return ExitStatus::Ok;
}

Failure wrongCall(const QString& message) {
    return {ExitStatus::Usage, message};
}
