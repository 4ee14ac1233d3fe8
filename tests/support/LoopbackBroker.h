#pragma once

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

// A loopback port nobody listens on now.
inline int freeLoopbackPort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    return ntohs(address.sin_port);
}

// Started by root, mosquitto would turn into its own user, who may not keep its store in our
// folder: it stays whoever runs it.
inline QString runningUser() {
    const passwd* user = ::getpwuid(::getuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QStringLiteral("root");
}

// A real mosquitto on 127.0.0.1 at a free port that keeps its sessions across a restart, as a
// broker in service does, and queues without limit for a subscriber that is away.
class LoopbackBroker {
public:
    explicit LoopbackBroker(int port = freeLoopbackPort()) : port_(port) {}
    ~LoopbackBroker() { stop(); }

    // From the next start on, a TLS listener too, at tlsPort(), with this certificate and key.
    void serveTls(const QString& certificate, const QString& key, int port = freeLoopbackPort()) {
        tlsListener_ = QStringLiteral("listener %1 127.0.0.1\ncertfile %2\nkeyfile %3\n")
                           .arg(port)
                           .arg(certificate, key);
        tlsPort_ = port;
    }
    int tlsPort() const { return tlsPort_; }

    // Once it answers.
    bool start() {
        QFile config(dir_.filePath(QStringLiteral("mosquitto.conf")));
        if (!config.open(QIODevice::WriteOnly) ||
            config.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\n"
                                        "persistence true\npersistence_location %2/\n"
                                        "max_queued_messages 0\nuser %3\n%4")
                             .arg(port_)
                             .arg(dir_.path(), runningUser(), tlsListener_)
                             .toUtf8()) < 0)
            return false;
        config.close();
        process_.start(QStringLiteral("mosquitto"),
                       {QStringLiteral("-c"), dir_.filePath(QStringLiteral("mosquitto.conf"))});
        return process_.waitForStarted(5000) &&
               QTest::qWaitFor([this] { return !retained(QStringLiteral("$SYS/#"), 1).isEmpty(); },
                               5000);
    }
    void stop() {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    int port() const { return port_; }
    QString url() const { return QStringLiteral("mqtt://127.0.0.1:%1").arg(port_); }
    // The options that point mosquitto_sub at it.
    QStringList at() const {
        return {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                QString::number(port_)};
    }
    void publish(const QString& topic, const QString& payload) const {
        QProcess::execute(QStringLiteral("mosquitto_pub"),
                          at() + QStringList{QStringLiteral("-q"), QStringLiteral("1"),
                                             QStringLiteral("-t"), topic, QStringLiteral("-m"),
                                             payload});
    }
    // "topic payload" of what the broker holds retained under the filter now.
    QStringList retained(const QString& filter, int seconds = 2) const {
        QProcess subscriber;
        subscriber.start(QStringLiteral("mosquitto_sub"),
                         at() + QStringList{QStringLiteral("--retained-only"), QStringLiteral("-v"),
                                            QStringLiteral("-W"), QString::number(seconds),
                                            QStringLiteral("-t"), filter});
        subscriber.waitForFinished(1000 * seconds + 3000);
        return QString::fromUtf8(subscriber.readAllStandardOutput())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir dir_;
    int port_;
    QString tlsListener_;
    int tlsPort_ = 0;
    QProcess process_;
};
