#include "link/ReadingCaptions.h"

#include "link/LiveReading.h"
#include "text/NumberText.h"

ReadingCaptions readingCaptions(const LiveReading& reading) {
    const QString valuePattern = QStringLiteral("#0.0#");
    return {formatNumberText(reading.HumidityText, valuePattern),
            formatNumberText(reading.TemperatureText, valuePattern), reading.TempUnit,
            reading.BatteryLow == 1};
}
