#include "logic/datalogger/SampleRate.h"

#include "logic/text/NumberText.h"

#include <algorithm>

double samplingPeriodSeconds(const QString& caption) {
    return leadingNumber(caption);
}

QString sampleRatePrompt() {
    return QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 65 ) ");
}

QString sampleRateTitle() {
    return QStringLiteral("Input Sampling Time");
}

QString sampleRateDefaultText(const QString& caption) {
    return formatNumber(samplingPeriodSeconds(caption), QStringLiteral("##"));
}

std::optional<QString> sampleRateCaption(const QString& answer) {
    if (answer.isEmpty())
        return std::nullopt;
    QString text = answer;
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma >= 0)
        text[comma] = QLatin1Char('.');
    const double seconds = std::clamp(leadingNumber(text), 1.0, 65.0);
    return formatNumber(seconds, QStringLiteral("##")) + QStringLiteral(" Sec");
}
