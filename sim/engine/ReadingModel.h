#pragma once

#include "engine/SimReading.h"

#include <QDateTime>

// What the meter measures. By default humidity and temperature drift slowly as sines of the
// meter's clock; a value set by hand stays fixed until drifting is switched on again.
// Temperatures are kept in degrees Celsius and shown in the meter's unit.
class ReadingModel {
public:
    // The measured values at a moment, ignoring HOLD (what the datalogger records).
    SimReading measured(const QDateTime& meterTime) const;
    // What the meter shows at a moment: the measured values, or the held ones under HOLD.
    SimReading shown(const QDateTime& meterTime) const;

    double humidityAt(const QDateTime& meterTime) const;
    double celsiusAt(const QDateTime& meterTime) const;

    void setHumidity(double humidity);
    void setCelsius(double celsius);
    // Switching the drift off keeps the values of that moment.
    void setDrift(bool on, const QDateTime& now);
    void setHold(bool on, const QDateTime& now);
    void setFahrenheit(bool on) { fahrenheit_ = on; }
    void setBatteryLow(bool on) { batteryLow_ = on; }
    void setOverload(bool on) { overload_ = on; }

    bool humidityDrifts() const { return humidityDrifts_; }
    bool temperatureDrifts() const { return temperatureDrifts_; }
    bool fahrenheit() const { return fahrenheit_; }
    bool batteryLow() const { return batteryLow_; }
    bool hold() const { return hold_; }
    bool overload() const { return overload_; }

    static double toFahrenheit(double celsius) { return celsius * 9.0 / 5.0 + 32.0; }

private:
    SimReading reading(double humidity, double celsius) const;

    double humidity_ = 50.0;
    double celsius_ = 22.5;
    bool humidityDrifts_ = true;
    bool temperatureDrifts_ = true;
    bool fahrenheit_ = false;
    bool batteryLow_ = false;
    bool overload_ = false;
    bool hold_ = false;
    double heldHumidity_ = 0.0;
    double heldCelsius_ = 0.0;
};
