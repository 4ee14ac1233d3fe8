#include "net/MosquittoClient.h"

#include <QFile>
#include <mosquitto.h>

namespace {

constexpr int KeepAliveSeconds = 30;
// Each meter keeps fewer messages in flight than this, so libmosquitto never queues on its own.
constexpr unsigned MaximumInFlight = 20;

void initialiseLibraryOnce() {
    static const int initialised = mosquitto_lib_init();
    Q_UNUSED(initialised);
}

MosquittoClient* clientOf(void* userData) {
    return static_cast<MosquittoClient*>(userData);
}

// libmosquitto calls back on its own thread: each callback is handed to the client's thread.
void onConnect(mosquitto*, void* userData, int code) {
    MosquittoClient* client = clientOf(userData);
    if (code == 0) {
        QMetaObject::invokeMethod(client, &MosquittoClient::connected, Qt::QueuedConnection);
        return;
    }
    const QString reason = QString::fromUtf8(mosquitto_connack_string(code));
    QMetaObject::invokeMethod(
        client, [client, reason] { Q_EMIT client->refused(reason); }, Qt::QueuedConnection);
}

void onDisconnect(mosquitto*, void* userData, int) {
    QMetaObject::invokeMethod(clientOf(userData), &MosquittoClient::disconnected,
                              Qt::QueuedConnection);
}

void onPublish(mosquitto*, void* userData, int messageId) {
    MosquittoClient* client = clientOf(userData);
    QMetaObject::invokeMethod(
        client, [client, messageId] { Q_EMIT client->published(messageId); }, Qt::QueuedConnection);
}

void onMessage(mosquitto*, void* userData, const mosquitto_message* message) {
    MosquittoClient* client = clientOf(userData);
    const QByteArray topic(message->topic);
    const QByteArray payload(static_cast<const char*>(message->payload), message->payloadlen);
    QMetaObject::invokeMethod(
        client, [client, topic, payload] { Q_EMIT client->received(topic, payload); },
        Qt::QueuedConnection);
}

QByteArray localPath(const QString& path) {
    return path.isEmpty() ? QByteArray() : QFile::encodeName(path);
}

const char* orNull(const QByteArray& text) {
    return text.isEmpty() ? nullptr : text.constData();
}

} // namespace

MosquittoClient::MosquittoClient(QObject* parent, const QString& clientId) : QObject(parent) {
    initialiseLibraryOnce();
    client_ = mosquitto_new(clientId.toUtf8().constData(), true, this);
    mosquitto_connect_callback_set(client_, onConnect);
    mosquitto_disconnect_callback_set(client_, onDisconnect);
    mosquitto_publish_callback_set(client_, onPublish);
    mosquitto_message_callback_set(client_, onMessage);
    mosquitto_max_inflight_messages_set(client_, MaximumInFlight);
    // A reading is one small packet: it leaves at once instead of waiting for the last one's
    // acknowledgement.
    mosquitto_int_option(client_, MOSQ_OPT_TCP_NODELAY, 1);
    // Every second, then every few: a broker back from a restart has its readings within
    // seconds, and a broker away for long is asked no more often than that.
    mosquitto_reconnect_delay_set(client_, 1, 5, false);
}

MosquittoClient::~MosquittoClient() {
    if (looping_)
        mosquitto_loop_stop(client_, true);
    mosquitto_destroy(client_);
}

std::optional<QString> MosquittoClient::start(const MqttConnection& connection,
                                              const MqttMessage& will) {
    if (connection.broker.tls) {
        const QByteArray caFile = localPath(connection.caFile);
        const QByteArray certificate = localPath(connection.certificateFile);
        const QByteArray key = localPath(connection.keyFile);
        if (caFile.isEmpty())
            mosquitto_int_option(client_, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
        const int tls = mosquitto_tls_set(client_, orNull(caFile),
                                          caFile.isEmpty() ? "/etc/ssl/certs" : nullptr,
                                          orNull(certificate), orNull(key), nullptr);
        if (tls != MOSQ_ERR_SUCCESS)
            return QStringLiteral("TLS: %1 (check --mqtt-cafile, --mqtt-cert and --mqtt-key)")
                .arg(QString::fromUtf8(mosquitto_strerror(tls)));
    }
    if (connection.credentials)
        mosquitto_username_pw_set(client_, connection.credentials->userName.constData(),
                                  orNull(connection.credentials->password));
    mosquitto_will_set(client_, will.topic.constData(), static_cast<int>(will.payload.size()),
                       will.payload.constData(), 1, will.retained);
    const int loop = mosquitto_loop_start(client_);
    if (loop != MOSQ_ERR_SUCCESS)
        return QString::fromUtf8(mosquitto_strerror(loop));
    looping_ = true;
    // A broker that is down now is no reason to stop: the loop keeps trying to connect.
    mosquitto_connect_async(client_, connection.broker.host.toUtf8().constData(),
                            connection.broker.port, KeepAliveSeconds);
    return std::nullopt;
}

std::optional<int> MosquittoClient::publish(const MqttMessage& message) {
    int messageId = 0;
    if (mosquitto_publish(client_, &messageId, message.topic.constData(),
                          static_cast<int>(message.payload.size()), message.payload.constData(), 1,
                          message.retained) != MOSQ_ERR_SUCCESS)
        return std::nullopt;
    return messageId;
}

void MosquittoClient::subscribe(const QByteArray& topic) {
    mosquitto_subscribe(client_, nullptr, topic.constData(), 1);
}

void MosquittoClient::disconnect() {
    mosquitto_disconnect(client_);
    if (looping_)
        mosquitto_loop_stop(client_, false);
    looping_ = false;
}
