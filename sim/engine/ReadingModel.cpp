#include "engine/ReadingModel.h"

#include <cmath>
#include <numbers>

namespace {

// Periods long enough that a reading moves by well under a digit per second, so a live list
// looks like a room slowly changing rather than noise.
constexpr double HumidityPeriodSeconds = 600.0;
constexpr double TemperaturePeriodSeconds = 900.0;

double secondsOf(const QDateTime& moment) {
    return moment.toMSecsSinceEpoch() / 1000.0;
}

double wave(const QDateTime& moment, double periodSeconds, double phase) {
    const double cycle = std::fmod(secondsOf(moment), periodSeconds) / periodSeconds;
    return std::sin(2.0 * std::numbers::pi * cycle + phase);
}

} // namespace

double ReadingModel::humidityAt(const QDateTime& meterTime) const {
    if (!humidityDrifts_)
        return humidity_;
    return 50.0 + 5.0 * wave(meterTime, HumidityPeriodSeconds, 0.0);
}

double ReadingModel::celsiusAt(const QDateTime& meterTime) const {
    if (!temperatureDrifts_)
        return celsius_;
    return 22.5 + 2.5 * wave(meterTime, TemperaturePeriodSeconds, 1.0);
}

SimReading ReadingModel::reading(double humidity, double celsius) const {
    SimReading value;
    value.humidity = humidity;
    value.temperature = fahrenheit_ ? toFahrenheit(celsius) : celsius;
    value.fahrenheit = fahrenheit_;
    value.overload = overload_;
    value.batteryLow = batteryLow_;
    value.hold = hold_;
    return value;
}

SimReading ReadingModel::measured(const QDateTime& meterTime) const {
    return reading(humidityAt(meterTime), celsiusAt(meterTime));
}

SimReading ReadingModel::shown(const QDateTime& meterTime) const {
    if (hold_)
        return reading(heldHumidity_, heldCelsius_);
    return measured(meterTime);
}

void ReadingModel::setHumidity(double humidity) {
    humidity_ = humidity;
    humidityDrifts_ = false;
}

void ReadingModel::setCelsius(double celsius) {
    celsius_ = celsius;
    temperatureDrifts_ = false;
}

void ReadingModel::setDrift(bool on, const QDateTime& now) {
    if (!on) {
        humidity_ = humidityAt(now);
        celsius_ = celsiusAt(now);
    }
    humidityDrifts_ = on;
    temperatureDrifts_ = on;
}

void ReadingModel::setHold(bool on, const QDateTime& now) {
    if (on && !hold_) {
        heldHumidity_ = humidityAt(now);
        heldCelsius_ = celsiusAt(now);
    }
    hold_ = on;
}
