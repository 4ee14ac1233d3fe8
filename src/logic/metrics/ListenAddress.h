#pragma once

#include "logic/result/Result.h"

#include <QString>

// Where the metrics endpoint listens: a numeric host (an IPv6 one without its brackets) and a
// port.
struct ListenAddress {
    QString host;
    quint16 port = 0;

    bool isIpv6() const { return host.contains(QLatin1Char(':')); }
    friend bool operator==(const ListenAddress&, const ListenAddress&) = default;
};

// Reads "9464" (the port alone: 127.0.0.1, so that nothing is reachable from elsewhere unless
// asked), "127.0.0.1:9464", "0.0.0.0:9464", "[::1]:9464". Hosts are numeric: IPv4 in four
// decimal parts without leading zeros, IPv6 in brackets, as the system's own address parser
// reads them; ports 1 to 65535. The address, or why the text is none: a wrong call.
Result<ListenAddress> parseListenAddress(const QString& text);

// "127.0.0.1:9464", "[::1]:9464": the way it is written, for messages.
QString listenAddressText(const ListenAddress& address);
