#pragma once

#include "logic/mqtt/MqttCredentials.h"
#include "logic/mqtt/MqttMessages.h"
#include "logic/mqtt/MqttUrl.h"

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

// Why publishing could not start, as the user should read it, and the exit status it ends with.
struct StartFailure {
    int exitStatus;
    QString message;
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

    // Sets up TLS, the credentials and the last will, and starts connecting. Why it cannot (a
    // certificate file that does not load, say); nothing when it is under way.
    std::optional<StartFailure> start(const MqttConnection& connection, const MqttMessage& will);
    // QoS 1. The message id, or nothing when libmosquitto refused it (not connected).
    std::optional<int> publish(const MqttMessage& message);
    // QoS 1. Why libmosquitto did not take it, else nothing.
    std::optional<QString> subscribe(const QByteArray& topic);
    // A clean end: the broker drops the last will. The thread is told to end and left to it.
    void disconnect();

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
