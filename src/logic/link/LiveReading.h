#pragma once

#include <QByteArray>
#include <QString>

// The last frame decoded, live or downloaded. Written only by the frame decoders.
struct LiveReading {
    QByteArray LastFrame;
    QString TimeFirstHex;
    QString TimeSecondHex;
    QString MeterTimeText;
    QString TempLeadDigits;
    QString TempTailHex;
    int TempOverload = 0;
    int TempNegative = 0;
    QString TempUnit;
    QString TemperatureText;
    int BatteryLow = 0;
    int HoldOn = 0;
    int MemoryFull = 0;
    int MeterRecording = 0;
    QString HumidityTensDigit;
    double HumidityTail = 0.0;
    QString HumidityText;
};
