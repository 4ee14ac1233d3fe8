#include "logic/mqtt/MqttMessages.h"

#include "logic/recording/ExportRow.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

// Home Assistant shows an entity "unavailable" when no reading came for this long: ten of
// record's one-second polls, so that a logger that hangs is not taken for a steady value.
constexpr int ExpireAfterSeconds = 10;

struct MeasuredKind {
    const char* object;
    const char* name;
    const char* deviceClass;
    const char* field;
    // The attributes beside the value, which say why it is unknown when it is.
    const char* statuses;
};

constexpr MeasuredKind Humidity{"humidity", "Humidity", "humidity", "relative_humidity_percent",
                                "'status': value_json.humidity_status"};
constexpr MeasuredKind Temperature{"temperature", "Temperature", "temperature", "temperature",
                                   "'status': value_json.temperature_status"};
// Unknown when either value is; both statuses say which.
constexpr MeasuredKind DewPoint{"dew_point", "Dew point", "temperature", "dew_point",
                                "'humidity_status': value_json.humidity_status, "
                                "'temperature_status': value_json.temperature_status"};

QString nodeId(const MeterTopics& topics) {
    return QStringLiteral("meter_") + topics.meterId();
}

// What every entity of the meter shares: its device, its availability and the program that
// announced it. No maker is named: the logger cannot know who made the meter.
QJsonObject entityConfig(const MeterTopics& topics, const QString& programVersion,
                         const char* object, const char* name, const char* deviceClass) {
    const QString node = nodeId(topics);
    const QJsonObject device{
        {QStringLiteral("identifiers"), QJsonArray{node}},
        {QStringLiteral("name"), QStringLiteral("Meter ") + topics.meterId()},
        {QStringLiteral("model"), QStringLiteral("Humidity and temperature meter")},
        {QStringLiteral("sw_version"), programVersion},
    };
    const QJsonObject origin{
        {QStringLiteral("name"), QStringLiteral("meter-logger")},
        {QStringLiteral("sw_version"), programVersion},
    };
    return QJsonObject{
        {QStringLiteral("name"), QLatin1String(name)},
        {QStringLiteral("unique_id"), node + u'_' + QLatin1String(object)},
        {QStringLiteral("device_class"), QLatin1String(deviceClass)},
        {QStringLiteral("state_topic"), QString::fromUtf8(topics.state())},
        {QStringLiteral("expire_after"), ExpireAfterSeconds},
        {QStringLiteral("availability_topic"), QString::fromUtf8(topics.availability())},
        {QStringLiteral("payload_available"), QStringLiteral("online")},
        {QStringLiteral("payload_not_available"), QStringLiteral("offline")},
        {QStringLiteral("device"), device},
        {QStringLiteral("o"), origin},
    };
}

MqttMessage configMessage(const QString& discoveryPrefix, const char* component,
                          const MeterTopics& topics, const char* object,
                          const QJsonObject& config) {
    return MqttMessage{
        QStringLiteral("%1/%2/%3/%4/config")
            .arg(discoveryPrefix, QLatin1String(component), nodeId(topics), QLatin1String(object))
            .toUtf8(),
        QJsonDocument(config).toJson(QJsonDocument::Compact), true};
}

MqttMessage sensorConfig(const QString& discoveryPrefix, const MeterTopics& topics,
                         const QString& programVersion, const MeasuredKind& kind,
                         const QString& unit) {
    QJsonObject config =
        entityConfig(topics, programVersion, kind.object, kind.name, kind.deviceClass);
    config.insert(QStringLiteral("state_class"), QStringLiteral("measurement"));
    config.insert(QStringLiteral("unit_of_measurement"), unit);
    config.insert(QStringLiteral("suggested_display_precision"), 1);
    // A reading the meter could not give is null, which leaves the sensor unknown; its status
    // beside it says why ("overload", "underload", "no_reading").
    config.insert(QStringLiteral("value_template"),
                  QStringLiteral("{{ value_json.%1 }}").arg(QLatin1String(kind.field)));
    config.insert(QStringLiteral("json_attributes_topic"), QString::fromUtf8(topics.state()));
    config.insert(QStringLiteral("json_attributes_template"),
                  QStringLiteral("{{ {%1, 'time': value_json.time} | tojson }}")
                      .arg(QLatin1String(kind.statuses)));
    return configMessage(discoveryPrefix, "sensor", topics, kind.object, config);
}

MqttMessage batteryConfig(const QString& discoveryPrefix, const MeterTopics& topics,
                          const QString& programVersion) {
    QJsonObject config = entityConfig(topics, programVersion, "battery", "Battery", "battery");
    config.insert(QStringLiteral("entity_category"), QStringLiteral("diagnostic"));
    // Home Assistant's battery class reads "on" as low.
    config.insert(QStringLiteral("value_template"),
                  QStringLiteral("{{ 'ON' if value_json.battery_low else 'OFF' }}"));
    return configMessage(discoveryPrefix, "binary_sensor", topics, "battery", config);
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
    // A backlog from before the dew point was published holds payloads without it.
    const bool withDewPoint = state.contains(u"dew_point");
    const QJsonValue dewPoint = state[u"dew_point"];
    return error.error == QJsonParseError::NoError && document.isObject() &&
           state.size() == (withDewPoint ? 8 : 7) &&
           (!withDewPoint || dewPoint.isDouble() || dewPoint.isNull()) &&
           isoTime.match(time).hasMatch() && QDateTime::fromString(time, Qt::ISODate).isValid() &&
           isValueWithStatus(state[u"relative_humidity_percent"], state[u"humidity_status"]) &&
           isValueWithStatus(state[u"temperature"], state[u"temperature_status"]) &&
           (unit == u"C" || unit == u"F") && state[u"battery_low"].isBool();
}

std::vector<MqttMessage> discoveryMessages(const QString& discoveryPrefix,
                                           const MeterTopics& topics, char unit,
                                           const QString& programVersion) {
    const QString degrees = unit == 'F' ? QStringLiteral("°F") : QStringLiteral("°C");
    return {sensorConfig(discoveryPrefix, topics, programVersion, Humidity, QStringLiteral("%")),
            sensorConfig(discoveryPrefix, topics, programVersion, Temperature, degrees),
            sensorConfig(discoveryPrefix, topics, programVersion, DewPoint, degrees),
            batteryConfig(discoveryPrefix, topics, programVersion)};
}

QByteArray discoveryStatusTopic(const QString& discoveryPrefix) {
    return (discoveryPrefix + QStringLiteral("/status")).toUtf8();
}
