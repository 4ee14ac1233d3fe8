#pragma once

#include "logic/metrics/ListenAddress.h"
#include "logic/result/Result.h"

#include <QByteArray>
#include <QString>
#include <functional>

struct MHD_Daemon;

// The HTTP endpoint a scraper reads: GET (or HEAD) /metrics answers the text the render function
// gives, anything else 404 (another path) or 405 (another method). The server runs on a thread of
// its own and calls render there, one request at a time, so a slow or silent client never holds up
// a meter: render should only copy what it needs under a short lock. Bounded: 32 connections, 5 s
// each, 16 KiB of request line and headers each (431 beyond), no request body (413).
class MetricsServer {
public:
    using Render = std::function<QByteArray()>;

    explicit MetricsServer(Render render);
    ~MetricsServer();
    MetricsServer(const MetricsServer&) = delete;
    MetricsServer& operator=(const MetricsServer&) = delete;

    // Listens on the address (port 0: one the system picks), or says why not, as
    // "127.0.0.1:9464: address already in use" (exit status 69).
    Result<> start(const ListenAddress& address);
    // The port listened on, 0 when not listening.
    quint16 port() const { return port_; }
    void stop();

private:
    Render render_;
    MHD_Daemon* daemon_ = nullptr;
    quint16 port_ = 0;
};
