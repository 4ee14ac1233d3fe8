#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// The lines of the body of GET /metrics from 127.0.0.1:port, as a scraper reads them; none when
// nothing answers.
inline QStringList scrapeMetrics(int port) {
    const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<quint16>(port));
    QByteArray answer;
    if (::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const QByteArray request("GET /metrics HTTP/1.0\r\n\r\n");
        if (::write(client, request.constData(), size_t(request.size())) == request.size()) {
            char buffer[4096];
            for (ssize_t got; (got = ::read(client, buffer, sizeof buffer)) > 0;)
                answer.append(buffer, got);
        }
    }
    ::close(client);
    return QString::fromUtf8(answer.mid(answer.indexOf("\r\n\r\n") + 4)).split(u'\n');
}
