#pragma once

#include "net/MqttCredentials.h"
#include "net/MqttMessages.h"
#include "net/MqttUrl.h"

#include <QObject>
#include <optional>

struct mosquitto;

// How to reach the broker.
struct MqttConnection {
    MqttUrl broker;
    std::optional<MqttCredentials> credentials;
    // TLS: the CA file (the system's certificates when empty), and the client's certificate and
    // key when the broker asks for one.
    QString caFile;
    QString certificateFile;
    QString keyFile;
};

// One connection to the broker through libmosquitto, whose own thread connects, reconnects (1 s,
// then backing off to 5 s) and keeps the messages in flight. Its callbacks come back as signals
// in this object's thread, so nothing here ever waits on the network.
class MosquittoClient final : public QObject {
    Q_OBJECT
public:
    MosquittoClient(QObject* parent, const QString& clientId);
    ~MosquittoClient() override;

    // Sets up TLS, the credentials and the last will, and starts connecting. Why it cannot (a
    // certificate file that does not load, say); nothing when it is under way.
    std::optional<QString> start(const MqttConnection& connection, const MqttMessage& will);
    // QoS 1. The message id, or nothing when libmosquitto refused it (not connected).
    std::optional<int> publish(const MqttMessage& message);
    void subscribe(const QByteArray& topic);
    // A clean end: the broker drops the last will.
    void disconnect();

Q_SIGNALS:
    void connected();
    // The broker refused the connection (bad credentials, say): the reason.
    void refused(const QString& reason);
    void disconnected();
    // The broker has the message with this id.
    void published(int messageId);
    void received(const QByteArray& topic, const QByteArray& payload);

private:
    mosquitto* client_;
    bool looping_ = false;
};
