#include "logic/text/RowText.h"

QString rowBody(const QDateTime& pcTime, const QString& humidity, const QString& temperature,
                const QString& unit, bool batteryLow) {
    const QDate date = pcTime.date();
    const QTime time = pcTime.time();
    const QChar tab = QLatin1Char('\t');
    QString body = QStringLiteral("%1-%2-%3")
                       .arg(date.month(), 2, 10, QLatin1Char('0'))
                       .arg(date.day(), 2, 10, QLatin1Char('0'))
                       .arg(date.year(), 4, 10, QLatin1Char('0'));
    body += tab + QStringLiteral("%1:%2:%3")
                      .arg(time.hour(), 2, 10, QLatin1Char('0'))
                      .arg(time.minute(), 2, 10, QLatin1Char('0'))
                      .arg(time.second(), 2, 10, QLatin1Char('0'));
    body += tab + humidity + tab + temperature + tab + unit;
    if (batteryLow)
        body += tab + QStringLiteral("LOW");
    return body;
}
