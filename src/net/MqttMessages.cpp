#include "net/MqttMessages.h"

#include "recording/ExportRow.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

struct SensorKind {
    const char* object;
    const char* name;
    const char* deviceClass;
    const char* field;
};

constexpr SensorKind Humidity{"humidity", "Humidity", "humidity", "relative_humidity_percent"};
constexpr SensorKind Temperature{"temperature", "Temperature", "temperature", "temperature"};

QString nodeId(const MeterTopics& topics) {
    return QStringLiteral("meter_") + topics.meterId();
}

MqttMessage sensorConfig(const QString& discoveryPrefix, const MeterTopics& topics,
                         const SensorKind& kind, const QString& unit) {
    const QString node = nodeId(topics);
    const QJsonObject device{
        {QStringLiteral("identifiers"), QJsonArray{node}},
        {QStringLiteral("name"), QStringLiteral("Meter ") + topics.meterId()},
        {QStringLiteral("model"), QStringLiteral("Humidity and temperature meter")},
    };
    const QJsonObject config{
        {QStringLiteral("name"), QLatin1String(kind.name)},
        {QStringLiteral("unique_id"), node + u'_' + QLatin1String(kind.object)},
        {QStringLiteral("device_class"), QLatin1String(kind.deviceClass)},
        {QStringLiteral("state_class"), QStringLiteral("measurement")},
        {QStringLiteral("unit_of_measurement"), unit},
        {QStringLiteral("suggested_display_precision"), 1},
        {QStringLiteral("state_topic"), QString::fromUtf8(topics.state())},
        // A reading the meter could not give is null, which leaves the sensor unknown.
        {QStringLiteral("value_template"),
         QStringLiteral("{{ value_json.%1 }}").arg(QLatin1String(kind.field))},
        {QStringLiteral("availability_topic"), QString::fromUtf8(topics.availability())},
        {QStringLiteral("payload_available"), QStringLiteral("online")},
        {QStringLiteral("payload_not_available"), QStringLiteral("offline")},
        {QStringLiteral("device"), device},
    };
    return MqttMessage{QStringLiteral("%1/sensor/%2/%3/config")
                           .arg(discoveryPrefix, node, QLatin1String(kind.object))
                           .toUtf8(),
                       QJsonDocument(config).toJson(QJsonDocument::Compact), true};
}

bool isValueWithStatus(const QJsonValue& value, const QJsonValue& status) {
    static const QStringList others{QStringLiteral("overload"), QStringLiteral("underload"),
                                    QStringLiteral("no_reading")};
    return status.toString() == QLatin1String("ok")
               ? value.isDouble()
               : value.isNull() && others.contains(status.toString());
}

} // namespace

bool isMeterId(const QString& id) {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_-]{1,64}$"));
    return pattern.match(id).hasMatch();
}

bool isTopicPrefix(const QString& prefix) {
    static const QRegularExpression pattern(
        QStringLiteral("^[A-Za-z0-9_.-]{1,64}(/[A-Za-z0-9_.-]{1,64}){0,7}$"));
    return pattern.match(prefix).hasMatch();
}

MeterTopics::MeterTopics(const QString& prefix, const QString& meterId)
    : prefix_(prefix), meterId_(meterId) {}

QByteArray MeterTopics::state() const {
    return QStringLiteral("%1/%2/state").arg(prefix_, meterId_).toUtf8();
}

QByteArray MeterTopics::availability() const {
    return QStringLiteral("%1/%2/availability").arg(prefix_, meterId_).toUtf8();
}

QByteArray statePayload(const ExportRow& row) {
    QByteArray payload;
    appendJsonLine(payload, row);
    payload.chop(1);
    return payload;
}

bool isStatePayload(const QByteArray& payload) {
    static const QRegularExpression isoTime(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$"));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(payload, &error);
    const QJsonObject state = document.object();
    const QString time = state[u"time"].toString();
    const QString unit = state[u"temperature_unit"].toString();
    return error.error == QJsonParseError::NoError && document.isObject() && state.size() == 7 &&
           isoTime.match(time).hasMatch() && QDateTime::fromString(time, Qt::ISODate).isValid() &&
           isValueWithStatus(state[u"relative_humidity_percent"], state[u"humidity_status"]) &&
           isValueWithStatus(state[u"temperature"], state[u"temperature_status"]) &&
           (unit == u"C" || unit == u"F") && state[u"battery_low"].isBool();
}

std::vector<MqttMessage> discoveryMessages(const QString& discoveryPrefix,
                                           const MeterTopics& topics, char unit) {
    return {sensorConfig(discoveryPrefix, topics, Humidity, QStringLiteral("%")),
            sensorConfig(discoveryPrefix, topics, Temperature,
                         unit == 'F' ? QStringLiteral("°F") : QStringLiteral("°C"))};
}

QByteArray discoveryStatusTopic(const QString& discoveryPrefix) {
    return (discoveryPrefix + QStringLiteral("/status")).toUtf8();
}
