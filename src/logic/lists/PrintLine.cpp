#include "logic/lists/PrintLine.h"

#include <algorithm>

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

// The filling of a cell whose field touches its neighbour with no fixed spaces between: a cell
// that fills its field or runs over it keeps one space, so that two fields never run together.
QString apart(qsizetype width, const QString& cell) {
    return spaces(std::max<qsizetype>(width - cell.size(), 1));
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
    line += apart(8, number) + date + spaces(10 - date.size());
    line += QStringLiteral("  ") + time;
    line += apart(8, humidity) + humidity;
    line += QStringLiteral("   ") + temperature;
    line += apart(6, unit) + unit;
    line += spaces(6 - battery.size()) + QStringLiteral("  ") + battery;
    return line;
}
