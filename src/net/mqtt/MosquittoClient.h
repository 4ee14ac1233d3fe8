#pragma once

#include "logic/mqtt/MqttCredentials.h"
#include "logic/mqtt/MqttMessages.h"
#include "logic/mqtt/MqttUrl.h"
#include "logic/result/Result.h"

#include <QObject>
#include <functional>
#include <memory>
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

// One connection to the broker through libmosquitto. A thread of its own resolves the name,
// connects, keeps the messages in flight and reconnects after any failure (1 s, then backing off
// to 5 s); its news come back as signals in this object's thread, so nothing here ever waits on
// the network. A stop never waits for a thread stuck in the resolver: it is left behind.
class MosquittoClient final : public QObject {
    Q_OBJECT
public:
    // The step that starts an attempt: libmosquitto's, which resolves the broker's name and may
    // take as long as the resolver does. A test puts a stand-in here.
    using ConnectStep = std::function<int(mosquitto*, const MqttUrl& broker, int keepAliveSeconds)>;

    MosquittoClient(QObject* parent, const QString& clientId, ConnectStep connectStep = {});
    ~MosquittoClient() override;

    // Sets up TLS, the credentials and the last will, and starts connecting; or why it cannot (a
    // certificate file that does not load, say).
    Result<> start(const MqttConnection& connection, const MqttMessage& will);
    // QoS 1. The message id, or why libmosquitto did not take it (not connected, say).
    Result<int> publish(const MqttMessage& message);
    // QoS 1.
    Result<> subscribe(const QByteArray& topic);
    // Says goodbye to the broker, which then drops the last will, and tells the thread to end and
    // leaves it to that; no connection is made after. Fails when the goodbye could not be sent:
    // the broker then publishes the last will.
    Result<> stop();

    // What this object shares with its thread, which may outlive it.
    struct Link;

Q_SIGNALS:
    void connected();
    // The broker refused the connection (bad credentials, say): the reason.
    void refused(const QString& reason);
    // An attempt failed or the connection was lost: why, as the user reads it ("connection
    // refused", "name lookup failed: …", "TLS: certificate verify failed: …").
    void disconnected(const QString& reason);
    // The broker has the message with this id.
    void published(int messageId);
    void received(const QByteArray& topic, const QByteArray& payload);

private:
    std::shared_ptr<Link> link_;
    bool online_ = false;
};
