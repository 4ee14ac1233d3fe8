#include "cli/CommandLine.h"

#include <QFileInfo>
#include <QRegularExpression>
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

int CommandLine::usageError(const QString& message) const {
    printError(QStringLiteral("meter-logger %1: %2").arg(subcommand_, message));
    printError(
        QStringLiteral("usage: meter-logger %1 %2 (--help for more)").arg(subcommand_, synopsis_));
    return ExitStatus::Usage;
}

std::optional<qint64> parseDuration(const QString& text) {
    static const QRegularExpression part(QStringLiteral("\\s*(\\d{1,9})\\s*([dhms])"));
    static const QHash<QChar, qint64> seconds{{QLatin1Char('d'), 86400},
                                              {QLatin1Char('h'), 3600},
                                              {QLatin1Char('m'), 60},
                                              {QLatin1Char('s'), 1}};
    qint64 total = 0;
    qsizetype at = 0;
    const QString trimmed = text.trimmed();
    while (at < trimmed.size()) {
        const QRegularExpressionMatch match =
            part.match(trimmed, at, QRegularExpression::NormalMatch,
                       QRegularExpression::AnchorAtOffsetMatchOption);
        if (!match.hasMatch())
            return std::nullopt;
        total += match.captured(1).toLongLong() * seconds.value(match.captured(2).at(0));
        at = match.capturedEnd();
    }
    return total > 0 ? std::optional(total) : std::nullopt;
}

std::optional<QTimeZone> parseTimeZone(const QString& text) {
    if (text == QLatin1String("UTC") || text == QLatin1String("Z"))
        return QTimeZone(0);
    static const QRegularExpression offset(QStringLiteral("^([+-])(\\d\\d):(\\d\\d)$"));
    if (const QRegularExpressionMatch match = offset.match(text); match.hasMatch()) {
        const int hours = match.captured(2).toInt();
        const int minutes = match.captured(3).toInt();
        if (hours > 14 || minutes > 59)
            return std::nullopt;
        const int sign = match.captured(1) == QLatin1String("-") ? -1 : 1;
        return QTimeZone(sign * (hours * 3600 + minutes * 60));
    }
    // Qt takes an empty name for this machine's zone: an empty --tz ("$ZONE" unset) would guess.
    if (text.isEmpty())
        return std::nullopt;
    const QTimeZone zone(text.toUtf8());
    return zone.isValid() ? std::optional(zone) : std::nullopt;
}

void printError(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
}
