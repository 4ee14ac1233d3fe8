#include "net/mqtt/MosquittoClient.h"

#include "net/libraries/MosquittoLibrary.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <netdb.h>
#include <system_error>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int KeepAliveSeconds = 30;
// Each meter keeps fewer messages in flight than this, so libmosquitto never queues on its own.
constexpr unsigned MaximumInFlight = 20;
// Every second, then every few: a broker back from a restart has its readings within seconds,
// and a broker away for long is asked no more often than that.
constexpr auto FirstRetry = std::chrono::seconds(1);
constexpr auto LongestRetry = std::chrono::seconds(5);
// How long the thread waits for the broker within one turn of its loop.
constexpr int LoopMilliseconds = 1000;
// How long a connection that is ending may take to say goodbye before the thread gives up on it,
// and as long again before the thread itself is left behind.
constexpr auto GoodbyeTime = std::chrono::milliseconds(500);

// "Connection refused" as a state line has it: "connection refused".
QString asClause(const char* text) {
    QString clause = QString::fromLocal8Bit(text).trimmed();
    if (clause.endsWith(u'.'))
        clause.chop(1);
    if (clause.size() > 1 && clause[1].isLower())
        clause[0] = clause[0].toLower();
    return clause;
}

int connectToBroker(mosquitto* client, const MqttUrl& broker, int keepAliveSeconds) {
    return mosquittoLibrary().mosquitto_connect_async(client, broker.host.toUtf8().constData(),
                                                      broker.port, keepAliveSeconds);
}

QByteArray localPath(const QString& path) {
    return path.isEmpty() ? QByteArray() : QFile::encodeName(path);
}

const char* orNull(const QByteArray& text) {
    return text.isEmpty() ? nullptr : text.constData();
}

Failure failure(const QString& what, int code) {
    return {ExitStatus::Software,
            QStringLiteral("MQTT: %1: %2")
                .arg(what, asClause(mosquittoLibrary().mosquitto_strerror(code)))};
}

} // namespace

struct MosquittoClient::Link {
    mosquitto* client = nullptr;
    // Why there is no client: the library did not start or mosquitto_new gave none.
    QString creationError;
    ConnectStep connectStep;
    MqttUrl broker;
    std::thread thread;

    std::mutex mutex;
    std::condition_variable wake;
    // Guarded by the mutex: the client while it is there to hear, and how the thread is to end.
    MosquittoClient* owner = nullptr;
    bool stopping = false;
    Clock::time_point stopBy;
    bool ended = false;
    bool leftBehind = false;

    // The thread's alone: the attempt under way.
    bool accepted = false;
    bool refusedNow = false;
    int lostErrno = 0;
    QString tlsError;

    // Hands a call to the client's thread, unless the client is gone.
    template <typename Call> void tell(Call call) {
        const std::lock_guard lock(mutex);
        if (owner)
            QMetaObject::invokeMethod(
                owner, [told = owner, call] { call(told); }, Qt::QueuedConnection);
    }
    bool stopRequested() {
        const std::lock_guard lock(mutex);
        return stopping;
    }
    // A connection is given a moment to say goodbye; an attempt none.
    bool leaveNow() {
        const std::lock_guard lock(mutex);
        return stopping && (!accepted || Clock::now() >= stopBy);
    }
    void run();
    QString reasonFor(int code, int error) const;
};

namespace {

MosquittoClient::Link* linkOf(void* userData) {
    return static_cast<MosquittoClient::Link*>(userData);
}

// libmosquitto calls back on the client's thread: each callback is handed to the client's owner.
void onConnect(mosquitto*, void* userData, int code) {
    MosquittoClient::Link* link = linkOf(userData);
    if (code == 0) {
        link->accepted = true;
        link->tell([](MosquittoClient* told) { Q_EMIT told->connected(); });
        return;
    }
    link->refusedNow = true;
    const QString reason = QString::fromUtf8(mosquittoLibrary().mosquitto_connack_string(code));
    link->tell([reason](MosquittoClient* told) { Q_EMIT told->refused(reason); });
}

// Called as the socket goes, before anything else can change errno.
void onDisconnect(mosquitto*, void* userData, int) {
    linkOf(userData)->lostErrno = errno;
}

void onPublish(mosquitto*, void* userData, int messageId) {
    linkOf(userData)->tell(
        [messageId](MosquittoClient* told) { Q_EMIT told->published(messageId); });
}

void onMessage(mosquitto*, void* userData, const mosquitto_message* message) {
    const QByteArray topic(message->topic);
    const QByteArray payload(static_cast<const char*>(message->payload), message->payloadlen);
    linkOf(userData)->tell(
        [topic, payload](MosquittoClient* told) { Q_EMIT told->received(topic, payload); });
}

// libmosquitto logs why TLS failed and returns only "a TLS error": the first such line of an
// attempt is kept, with the certificate check's verdict while the handshake is still there.
void onLog(mosquitto* client, void* userData, int level, const char* text) {
    MosquittoClient::Link* link = linkOf(userData);
    if (level != MOSQ_LOG_ERR || !link->tlsError.isEmpty())
        return;
    QString line = QString::fromUtf8(text);
    if (line.startsWith(QLatin1StringView("OpenSSL Error")))
        // "OpenSSL Error[0]: error:0A000086:SSL routines::certificate verify failed"
        line = line.section(u':', -1).trimmed();
    else if (line.startsWith(QLatin1StringView("Error: ")))
        line = asClause(text + 7);
    if (auto* ssl = static_cast<SSL*>(mosquittoLibrary().mosquitto_ssl_get(client))) {
        const long verdict = mosquittoLibrary().SSL_get_verify_result(ssl);
        if (verdict != X509_V_OK)
            line += QStringLiteral(": ") +
                    QString::fromUtf8(mosquittoLibrary().X509_verify_cert_error_string(verdict));
    }
    link->tlsError = line;
}

} // namespace

QString MosquittoClient::Link::reasonFor(int code, int error) const {
    switch (code) {
    case MOSQ_ERR_EAI:
        return QStringLiteral("name lookup failed: %1").arg(asClause(gai_strerror(error)));
    case MOSQ_ERR_ERRNO:
        return error != 0 ? asClause(std::strerror(error)) : QStringLiteral("connection lost");
    case MOSQ_ERR_TLS:
        return QStringLiteral("TLS: %1").arg(
            tlsError.isEmpty() ? QStringLiteral("the handshake failed") : tlsError);
    // What answers there speaks no MQTT.
    case MOSQ_ERR_PROTOCOL:
    case MOSQ_ERR_MALFORMED_PACKET:
        return QStringLiteral("protocol error");
    case MOSQ_ERR_SUCCESS:
    case MOSQ_ERR_NO_CONN:
    case MOSQ_ERR_CONN_LOST:
        return QStringLiteral("connection lost");
    case MOSQ_ERR_KEEPALIVE:
        return QStringLiteral("the broker stopped answering");
    default:
        return asClause(mosquittoLibrary().mosquitto_strerror(code));
    }
}

void MosquittoClient::Link::run() {
    auto retry = FirstRetry;
    while (!stopRequested()) {
        accepted = refusedNow = false;
        lostErrno = 0;
        tlsError.clear();
        int code = connectStep(client, broker, KeepAliveSeconds);
        int error = errno;
        if (code == MOSQ_ERR_SUCCESS) {
            do
                code = mosquittoLibrary().mosquitto_loop(client, LoopMilliseconds, 1);
            while (code == MOSQ_ERR_SUCCESS && mosquittoLibrary().mosquitto_socket(client) >= 0 &&
                   !leaveNow());
            error = lostErrno;
        }
        std::unique_lock lock(mutex);
        if (stopping)
            break;
        lock.unlock();
        // A refusal was told as such.
        if (!refusedNow) {
            const QString reason = reasonFor(code, error);
            tell([reason](MosquittoClient* told) { Q_EMIT told->disconnected(reason); });
        }
        if (accepted)
            retry = FirstRetry;
        lock.lock();
        wake.wait_for(lock, retry, [this] { return stopping; });
        retry = std::min(retry + std::chrono::seconds(1), LongestRetry);
    }
    std::unique_lock lock(mutex);
    ended = true;
    wake.notify_all();
    if (leftBehind) {
        lock.unlock();
        mosquittoLibrary().mosquitto_destroy(client);
    }
}

MosquittoClient::MosquittoClient(QObject* parent, const QString& clientId, ConnectStep connectStep)
    : QObject(parent), link_(std::make_shared<Link>()) {
    link_->owner = this;
    link_->connectStep = connectStep ? std::move(connectStep) : ConnectStep(connectToBroker);
    if (const QString unusable = mosquittoLibrary().error(); !unusable.isEmpty()) {
        link_->creationError = unusable;
        return;
    }
    link_->client =
        mosquittoLibrary().mosquitto_new(clientId.toUtf8().constData(), true, link_.get());
    if (!link_->client) {
        link_->creationError = asClause(std::strerror(errno));
        return;
    }
    mosquittoLibrary().mosquitto_connect_callback_set(link_->client, onConnect);
    mosquittoLibrary().mosquitto_disconnect_callback_set(link_->client, onDisconnect);
    mosquittoLibrary().mosquitto_publish_callback_set(link_->client, onPublish);
    mosquittoLibrary().mosquitto_message_callback_set(link_->client, onMessage);
    mosquittoLibrary().mosquitto_log_callback_set(link_->client, onLog);
    // Only a connection the broker took is told goodbye: libmosquitto is not to be touched while
    // the thread may be inside it making one.
    connect(this, &MosquittoClient::connected, this, [this] { online_ = true; });
    connect(this, &MosquittoClient::disconnected, this, [this] { online_ = false; });
}

MosquittoClient::~MosquittoClient() {
    // Nobody is left to tell of a goodbye that failed; the broker publishes the last will then.
    static_cast<void>(stop());
    std::unique_lock lock(link_->mutex);
    link_->owner = nullptr;
    if (!link_->thread.joinable()) {
        lock.unlock();
        if (link_->client)
            mosquittoLibrary().mosquitto_destroy(link_->client);
        return;
    }
    if (link_->wake.wait_until(lock, link_->stopBy + GoodbyeTime,
                               [this] { return link_->ended; })) {
        lock.unlock();
        link_->thread.join();
        mosquittoLibrary().mosquitto_destroy(link_->client);
        return;
    }
    // Stuck where nothing reaches it (the resolver): it ends with the process, or cleans up
    // after itself if it comes back before.
    link_->leftBehind = true;
    link_->thread.detach();
}

Result<> MosquittoClient::start(const MqttConnection& connection, const MqttMessage& will) {
    mosquitto* client = link_->client;
    if (!client)
        return Failure{
            ExitStatus::Software,
            QStringLiteral("MQTT: no client could be made: %1").arg(link_->creationError)};
    const std::pair<const char*, int> options[] = {
        {"the in-flight limit",
         mosquittoLibrary().mosquitto_max_inflight_messages_set(client, MaximumInFlight)},
        // A reading is one small packet: it leaves at once instead of waiting for the last
        // one's acknowledgement.
        {"TCP_NODELAY", mosquittoLibrary().mosquitto_int_option(client, MOSQ_OPT_TCP_NODELAY, 1)},
        // publish() and disconnect() come from another thread than the loop's.
        {"threads", mosquittoLibrary().mosquitto_threaded_set(client, true)},
    };
    for (const auto& [what, code] : options) {
        if (code != MOSQ_ERR_SUCCESS)
            return failure(QString::fromLatin1(what), code);
    }
    if (connection.broker.tls) {
        const QByteArray caFile = localPath(connection.caFile);
        const QByteArray certificate = localPath(connection.certificateFile);
        const QByteArray key = localPath(connection.keyFile);
        int tls = MOSQ_ERR_SUCCESS;
        if (caFile.isEmpty())
            tls = mosquittoLibrary().mosquitto_int_option(client, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
        if (tls == MOSQ_ERR_SUCCESS)
            tls = mosquittoLibrary().mosquitto_tls_set(
                client, orNull(caFile), caFile.isEmpty() ? "/etc/ssl/certs" : nullptr,
                orNull(certificate), orNull(key), nullptr);
        // libmosquitto's "invalid arguments" here is a file it could not open.
        if (tls != MOSQ_ERR_SUCCESS)
            return Failure{
                ExitStatus::Software,
                QStringLiteral("TLS: %1 (check --mqtt-cafile, --mqtt-cert and --mqtt-key)")
                    .arg(tls == MOSQ_ERR_INVAL
                             ? QStringLiteral("a file does not open")
                             : asClause(mosquittoLibrary().mosquitto_strerror(tls)))};
    }
    if (connection.credentials) {
        const int credentials = mosquittoLibrary().mosquitto_username_pw_set(
            client, connection.credentials->userName.constData(),
            orNull(connection.credentials->password));
        if (credentials != MOSQ_ERR_SUCCESS)
            return failure(QStringLiteral("the user name and password"), credentials);
    }
    const int lastWill = mosquittoLibrary().mosquitto_will_set(
        client, will.topic.constData(), static_cast<int>(will.payload.size()),
        will.payload.constData(), 1, will.retained);
    if (lastWill != MOSQ_ERR_SUCCESS)
        return failure(QStringLiteral("the last will"), lastWill);
    link_->broker = connection.broker;
    // A broker that is down now, or a name that takes long to resolve, is no reason to stop or
    // to wait: the thread keeps trying.
    try {
        link_->thread = std::thread([link = link_] { link->run(); });
    } catch (const std::system_error& error) {
        return Failure{ExitStatus::Software, QStringLiteral("MQTT: no thread could be started: %1")
                                                 .arg(QString::fromLocal8Bit(error.what()))};
    }
    return {};
}

Result<int> MosquittoClient::publish(const MqttMessage& message) {
    const QString topic = QString::fromUtf8(message.topic);
    if (link_->stopping)
        return Failure{
            ExitStatus::Software,
            QStringLiteral("could not publish to %1: the client is stopping").arg(topic)};
    int messageId = 0;
    const int code = mosquittoLibrary().mosquitto_publish(
        link_->client, &messageId, message.topic.constData(),
        static_cast<int>(message.payload.size()), message.payload.constData(), 1, message.retained);
    if (code != MOSQ_ERR_SUCCESS)
        return Failure{ExitStatus::Software,
                       QStringLiteral("could not publish to %1: %2")
                           .arg(topic, asClause(mosquittoLibrary().mosquitto_strerror(code)))};
    return messageId;
}

Result<> MosquittoClient::subscribe(const QByteArray& topic) {
    const int code =
        mosquittoLibrary().mosquitto_subscribe(link_->client, nullptr, topic.constData(), 1);
    if (code != MOSQ_ERR_SUCCESS)
        return Failure{ExitStatus::Software,
                       QStringLiteral("could not subscribe to %1: %2")
                           .arg(QString::fromUtf8(topic),
                                asClause(mosquittoLibrary().mosquitto_strerror(code)))};
    return {};
}

Result<> MosquittoClient::stop() {
    {
        const std::lock_guard lock(link_->mutex);
        if (link_->stopping)
            return {};
        link_->stopping = true;
        link_->stopBy = Clock::now() + GoodbyeTime;
        link_->wake.notify_all();
        if (!online_)
            return {};
    }
    // Outside the lock: libmosquitto's callbacks take it while holding libmosquitto's own.
    const int code = mosquittoLibrary().mosquitto_disconnect(link_->client);
    // A connection already gone has no one to say goodbye to.
    if (code != MOSQ_ERR_SUCCESS && code != MOSQ_ERR_NO_CONN)
        return failure(QStringLiteral("the goodbye to the broker (it publishes the last will)"),
                       code);
    return {};
}
