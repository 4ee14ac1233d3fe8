#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

struct ExportRow;

// What goes to the broker for one meter, as bytes: its topics, the state of each reading and the
// discovery configs that let Home Assistant find it.
struct MqttMessage {
    QByteArray topic;
    QByteArray payload;
    bool retained = false;
};

// A meter's id goes into topics and Home Assistant's ids: 1 to 64 letters, digits, '_' or '-'.
bool isMeterId(const QString& id);
// A topic prefix: levels of letters, digits, '_', '-' or '.', split by single '/' (no
// wildcard, no empty level, no '$' at the start).
bool isTopicPrefix(const QString& prefix);

// One meter's topics under the prefix.
class MeterTopics {
public:
    MeterTopics(const QString& prefix, const QString& meterId);

    const QString& meterId() const { return meterId_; }
    // <prefix>/<id>/state: every reading, QoS 1.
    QByteArray state() const;
    // <prefix>/<id>/availability: "online" or "offline", retained; "offline" is the last will.
    QByteArray availability() const;

private:
    QString prefix_;
    QString meterId_;
};

// The reading as one JSON object with the JSON Lines file's fields, without the line end.
QByteArray statePayload(const ExportRow& row);
// Whether the bytes read back as a state payload: the object statePayload writes, every field
// there with its kind of value, and nothing else; the dew point may be missing, as it is from the
// payloads of earlier versions.
bool isStatePayload(const QByteArray& payload);

// Home Assistant's retained configs under discoveryPrefix, which go together: a humidity, a
// temperature and a dew point sensor and a battery warning of one device, the temperatures in the
// unit the readings are written in ('C' or 'F'), announced as meter-logger at programVersion.
std::vector<MqttMessage> discoveryMessages(const QString& discoveryPrefix,
                                           const MeterTopics& topics, char unit,
                                           const QString& programVersion);
// The topic on which Home Assistant says "online" when it starts: the configs go again then.
QByteArray discoveryStatusTopic(const QString& discoveryPrefix);
