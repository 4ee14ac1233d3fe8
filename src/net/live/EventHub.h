#pragma once

#include "net/http/HttpMessage.h"

#include <QByteArray>
#include <QMutex>
#include <memory>
#include <vector>

// The live pages' event streams (Server-Sent Events). Each open page has a queue of its own that
// its connection drains as the client takes it; a connection with nothing to send is suspended and
// woken by the next event, so an idle page costs no wake-up. Bounded: ClientLimit pages, and a
// page that does not keep up is dropped once QueueLimitBytes wait for it, rather than held in
// memory without end. Events are published and the hub closed from one thread; the streams are
// read on the server's.
class EventHub {
public:
    static constexpr int ClientLimit = 8;
    static constexpr qsizetype QueueLimitBytes = 256 * 1024;

    EventHub();
    ~EventHub();
    EventHub(const EventHub&) = delete;
    EventHub& operator=(const EventHub&) = delete;

    // A stream for a new page, starting with first; none when ClientLimit are open.
    std::shared_ptr<BodyStream> join(const QByteArray& first);
    // The event to every open page.
    void publish(const QByteArray& event);
    // Ends every stream, now and any joined later, so that the server can stop.
    void close();
    int clients() const;

private:
    struct Client;
    class Stream;

    // Drops the streams that have gone; the lock held.
    void forgetGone() const;

    mutable QMutex mutex_;
    mutable std::vector<std::weak_ptr<Client>> clients_;
    bool closed_ = false;
};

// One Server-Sent Event: "event: NAME\ndata: DATA\n\n"; data is one line.
QByteArray serverSentEvent(const QByteArray& name, const QByteArray& data);
