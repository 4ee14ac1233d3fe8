#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A plain HTTP/1.1 client on 127.0.0.1, reading what the server sends as it comes: for answers
// read whole and for event streams read a piece at a time. Each read gives up after a few
// seconds, far more than an answer takes.
class HttpClient {
public:
    explicit HttpClient(int port) {
        descriptor_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const timeval wait{3, 0};
        ::setsockopt(descriptor_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<quint16>(port));
        connected_ =
            ::connect(descriptor_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~HttpClient() { ::close(descriptor_); }
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    bool connected() const { return connected_; }
    bool send(const QByteArray& bytes) {
        return ::send(descriptor_, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) ==
               bytes.size();
    }
    // Asks for path and sends the extra header lines ("Name: value\r\n" each).
    bool get(const QByteArray& path, const QByteArray& method = "GET",
             const QByteArray& headers = QByteArray()) {
        return send(method + ' ' + path + " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n" +
                    headers + "\r\n");
    }
    // What came until the server closed, or until a read waited in vain.
    QByteArray readAll() {
        QByteArray received;
        while (readSome(received))
            ;
        return received;
    }
    // Appends what comes next; false when the server closed or nothing came in time.
    bool readSome(QByteArray& received) {
        char buffer[16384];
        const ssize_t got = ::recv(descriptor_, buffer, sizeof buffer, 0);
        if (got <= 0)
            return false;
        received.append(buffer, got);
        return true;
    }
    // Appends what has come already, without waiting, so that a test may read while its own
    // event loop runs the server's side.
    void readWaiting(QByteArray& received) {
        char buffer[16384];
        ssize_t got = 0;
        while ((got = ::recv(descriptor_, buffer, sizeof buffer, MSG_DONTWAIT)) > 0)
            received.append(buffer, got);
    }
    // Reads on until received holds text, or the server closes or falls silent.
    bool readUntil(QByteArray& received, const QByteArray& text) {
        while (!received.contains(text))
            if (!readSome(received))
                return false;
        return true;
    }

private:
    int descriptor_ = -1;
    bool connected_ = false;
};

// The parts of an answer read whole.
inline QByteArray statusLineOf(const QByteArray& response) {
    return response.left(response.indexOf("\r\n"));
}
inline QByteArray headerOf(const QByteArray& response, const QByteArray& name) {
    const QByteArray head = response.left(response.indexOf("\r\n\r\n"));
    for (const QByteArray& line : head.split('\n'))
        if (line.toLower().startsWith(name.toLower() + ':'))
            return line.mid(name.size() + 1).trimmed();
    return QByteArray();
}
inline QByteArray bodyOfAnswer(const QByteArray& response) {
    return response.mid(response.indexOf("\r\n\r\n") + 4);
}
// A chunked body joined, for an answer whose length was not known ahead.
inline QByteArray unchunked(const QByteArray& body) {
    QByteArray joined;
    for (qsizetype at = 0; at < body.size();) {
        const qsizetype lineEnd = body.indexOf("\r\n", at);
        if (lineEnd < 0)
            break;
        bool number = false;
        const qsizetype size = body.mid(at, lineEnd - at).toLongLong(&number, 16);
        if (!number || size == 0)
            break;
        joined += body.mid(lineEnd + 2, size);
        at = lineEnd + 2 + size + 2;
    }
    return joined;
}
