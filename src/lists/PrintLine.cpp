#include "lists/PrintLine.h"

namespace {

QString stripSpaces(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == QLatin1Char(' '))
        ++start;
    while (end > start && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

QString spaces(qsizetype count) {
    return QString(count > 0 ? count : 0, QLatin1Char(' '));
}

} // namespace

QString printHeadingLine() {
    return QStringLiteral("          Date        Time       %RH   TEMP    C/F   BAT");
}

QString printRuleLine() {
    return QStringLiteral("        ----------  --------    -----  ----  -------- ----- ");
}

QString printDataLine(const QStringList& cells) {
    QStringList cell;
    for (int column = 0; column < 7; ++column)
        cell << stripSpaces(cells.value(column));
    const QString& number = cell[0];
    const QString& date = cell[1];
    const QString& time = cell[2];
    const QString& humidity = cell[3];
    const QString& temperature = cell[4];
    const QString& unit = cell[5];
    const QString& battery = cell[6];

    QString line = number;
    line += spaces(8 - number.size()) + date + spaces(10 - date.size());
    line += QStringLiteral("  ") + time;
    line += spaces(8 - humidity.size()) + humidity;
    line += QStringLiteral("   ") + temperature;
    line += spaces(6 - unit.size()) + unit;
    line += spaces(6 - battery.size()) + QStringLiteral("  ") + battery;
    return line;
}
