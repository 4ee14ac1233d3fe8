#include "logic/link/ReadingCaptions.h"

#include "logic/link/LiveReading.h"
#include "logic/text/NumberText.h"

ReadingCaptions readingCaptions(const LiveReading& reading) {
    const QString valuePattern = QStringLiteral("#0.0#");
    return {formatNumberText(reading.HumidityText, valuePattern),
            formatNumberText(reading.TemperatureText, valuePattern), reading.TempUnit,
            reading.BatteryLow == 1};
}
