#include "logic/metrics/MetricsText.h"

#include <charconv>
#include <cmath>

namespace {

// A reading this much older than the scrape no longer describes the meter.
constexpr double staleAfterSeconds = 10;

struct Sample {
    QByteArray extraLabel;
    QByteArray value;
};

using SamplesOf = std::function<std::vector<Sample>(const MeterGauges&, bool fresh)>;

struct Family {
    const char* name;
    const char* type;
    const char* help;
    SamplesOf samples;
};

QByteArray numberText(double value) {
    char text[64];
    // Both zeros read the same to a scraper; "-0" would only puzzle a reader.
    const double withoutNegativeZero = value == 0 ? 0.0 : value;
    // Plain decimals for anything a meter or a clock gives ("1765000000", not "1.765e+09"), the
    // exponent only where plain digits would run long.
    const double magnitude = std::abs(value);
    const bool plain = magnitude == 0 || (magnitude >= 1e-6 && magnitude < 1e21);
    const std::to_chars_result written =
        std::to_chars(text, text + sizeof text, withoutNegativeZero,
                      plain ? std::chars_format::fixed : std::chars_format::general);
    return QByteArray(text, written.ptr - text);
}

QByteArray countText(quint64 value) {
    return QByteArray::number(value);
}

QByteArray flagText(bool on) {
    return on ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
}

QByteArray labelValue(const QString& value) {
    QByteArray escaped;
    for (const char c : value.toUtf8()) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '"')
            escaped += "\\\"";
        else if (c == '\n')
            escaped += "\\n";
        else
            escaped += c;
    }
    return escaped;
}

bool isFresh(const MeterGauges& meter, double nowSeconds) {
    return meter.up && meter.lastReadingSeconds &&
           nowSeconds - *meter.lastReadingSeconds <= staleAfterSeconds;
}

std::vector<Sample> one(const QByteArray& value) {
    return {{QByteArray(), value}};
}

std::vector<Sample> measured(const std::optional<double>& value, bool fresh) {
    if (!fresh || !value || !std::isfinite(*value))
        return {};
    return one(numberText(*value));
}

std::vector<Sample> counted(const std::optional<quint64>& value) {
    return value ? one(countText(*value)) : std::vector<Sample>{};
}

const std::vector<Family>& families() {
    static const std::vector<Family> all{
        {"meter_relative_humidity_ratio", "gauge",
         "Relative humidity of the last reading (0 to 1).",
         [](const MeterGauges& m, bool fresh) { return measured(m.humidityRatio, fresh); }},
        {"meter_temperature_celsius", "gauge",
         "Temperature of the last reading in degrees Celsius.",
         [](const MeterGauges& m, bool fresh) { return measured(m.temperatureCelsius, fresh); }},
        {"meter_dew_point_celsius", "gauge",
         "Dew (frost) point of the last reading in degrees Celsius.",
         [](const MeterGauges& m, bool fresh) { return measured(m.dewPointCelsius, fresh); }},
        {"meter_up", "gauge", "1 when the meter answers on its link, 0 when it does not.",
         [](const MeterGauges& m, bool) { return one(flagText(m.up)); }},
        {"meter_battery_low", "gauge", "1 when the last reading showed a low battery.",
         [](const MeterGauges& m, bool fresh) {
             return fresh ? one(flagText(m.batteryLow)) : std::vector<Sample>{};
         }},
        {"meter_overload", "gauge", "1 when the last reading was beyond the meter's range.",
         [](const MeterGauges& m, bool fresh) {
             if (!fresh)
                 return std::vector<Sample>{};
             return std::vector<Sample>{
                 {QByteArrayLiteral(",quantity=\"humidity\""), flagText(m.humidityOverload)},
                 {QByteArrayLiteral(",quantity=\"temperature\""), flagText(m.temperatureOverload)},
             };
         }},
        {"meter_readings_total", "counter", "Readings received from the meter.",
         [](const MeterGauges& m, bool) { return one(countText(m.readings)); }},
        {"meter_reconnects_total", "counter", "Times the link came back after it was lost.",
         [](const MeterGauges& m, bool) { return one(countText(m.reconnects)); }},
        {"meter_last_reading_timestamp_seconds", "gauge",
         "When the last reading arrived, in seconds since the epoch.",
         [](const MeterGauges& m, bool) {
             return m.lastReadingSeconds ? one(numberText(*m.lastReadingSeconds))
                                         : std::vector<Sample>{};
         }},
        {"meter_mqtt_queued_messages", "gauge", "MQTT messages waiting to be sent.",
         [](const MeterGauges& m, bool) { return counted(m.mqttQueued); }},
        {"meter_mqtt_dropped_total", "counter", "MQTT messages dropped because the queue was full.",
         [](const MeterGauges& m, bool) { return counted(m.mqttDropped); }},
    };
    return all;
}

} // namespace

QByteArray metricsText(const std::vector<MeterGauges>& meters, double nowSeconds) {
    std::vector<QByteArray> labels;
    std::vector<bool> fresh;
    for (const MeterGauges& meter : meters) {
        labels.push_back("meter=\"" + labelValue(meter.meter) + "\",port=\"" +
                         labelValue(meter.port) + '"');
        fresh.push_back(isFresh(meter, nowSeconds));
    }
    QByteArray text;
    for (const Family& family : families()) {
        QByteArray lines;
        for (size_t i = 0; i < meters.size(); ++i) {
            for (const Sample& sample : family.samples(meters[i], fresh[i]))
                lines += family.name + ('{' + labels[i] + sample.extraLabel + "} ") + sample.value +
                         '\n';
        }
        if (lines.isEmpty())
            continue;
        text += QByteArray("# HELP ") + family.name + ' ' + family.help + '\n';
        text += QByteArray("# TYPE ") + family.name + ' ' + family.type + '\n';
        text += lines;
    }
    return text;
}

double humidityRatioFromPercent(double percent) {
    return std::round(percent * 10) / 1000;
}
