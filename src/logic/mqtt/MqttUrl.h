#pragma once

#include "logic/result/Result.h"

#include <QString>

// Where the broker is: mqtt://host[:port] (plain TCP, port 1883 by default) or
// mqtts://host[:port] (TLS, 8883). An IPv6 host is written in brackets: mqtt://[::1]:1883.
struct MqttUrl {
    QString host;
    int port = 1883;
    bool tls = false;

    // The URL, or why it is none: a wrong call.
    static Result<MqttUrl> parse(const QString& text);
};
