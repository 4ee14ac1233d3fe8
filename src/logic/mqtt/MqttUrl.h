#pragma once

#include <QString>
#include <variant>

// Where the broker is: mqtt://host[:port] (plain TCP, port 1883 by default) or
// mqtts://host[:port] (TLS, 8883). An IPv6 host is written in brackets: mqtt://[::1]:1883.
struct MqttUrl {
    QString host;
    int port = 1883;
    bool tls = false;

    // The URL, or why it is none, as the user should read it.
    static std::variant<MqttUrl, QString> parse(const QString& text);
};
