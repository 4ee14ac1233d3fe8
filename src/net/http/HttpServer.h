#pragma once

#include "logic/metrics/ListenAddress.h"
#include "logic/result/Result.h"
#include "net/http/RouteTable.h"

#include <functional>

struct MHD_Daemon;

// The HTTP listener: the metrics a scraper reads and the live page, each path answered by its
// route. The server runs on a thread of its own and calls the routes there, one request at a
// time, so a slow or silent client never holds up a meter: a route should only copy what it needs
// under a short lock. Bounded on every path: 32 connections, 5 s each, 16 KiB of request line and
// headers each (431 beyond), no request body (413). An endless body (an event stream) is the one
// exempt from the 5 s; it waits suspended while it has nothing to send, costing no wake-up.
class HttpServer {
public:
    // beforeStop: called on stop before the server waits for its thread, to end the endless
    // bodies, which would otherwise hold the stop.
    explicit HttpServer(RouteTable routes, std::function<void()> beforeStop = {});
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Listens on the address (port 0: one the system picks), or says why not, as
    // "127.0.0.1:9464: address already in use" (exit status 69).
    Result<> start(const ListenAddress& address);
    // The port listened on, 0 when not listening.
    quint16 port() const { return port_; }
    void stop();

private:
    RouteTable routes_;
    std::function<void()> beforeStop_;
    MHD_Daemon* daemon_ = nullptr;
    quint16 port_ = 0;
};
