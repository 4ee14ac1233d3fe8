#pragma once

#include <QString>
#include <optional>

// What the metrics endpoint tells of one meter at one moment: plain values, kept up to date on
// the main thread from the meter's news, copied out under a lock and rendered by the endpoint's own
// thread.
struct MeterGauges {
    // The meter's stable id (labels "meter") and its port as the user named it (label "port").
    QString meter;
    QString port;
    // The link answers.
    bool up = false;
    // The last reading, when it had a number; absent when the meter showed none ("OL", "-OL",
    // "----").
    std::optional<double> humidityRatio;
    std::optional<double> temperatureCelsius;
    // To a tenth of a degree, as the files give it; absent as well when the reading lies beyond
    // the vapour tables.
    std::optional<double> dewPointCelsius;
    bool batteryLow = false;
    bool humidityOverload = false;
    bool temperatureOverload = false;
    quint64 readings = 0;
    // Times the link came back after it was lost.
    quint64 reconnects = 0;
    // Seconds since the epoch, to the millisecond; absent before the first reading.
    std::optional<double> lastReadingSeconds;
    // The MQTT backlog; absent when the meter does not publish.
    std::optional<quint64> mqttQueued;
    std::optional<quint64> mqttDropped;
};
