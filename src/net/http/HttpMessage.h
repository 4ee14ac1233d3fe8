#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <functional>
#include <memory>

// A request as the routes see it: the line and the few headers they read, the query already
// decoded by the server library.
struct HttpRequest {
    QByteArray method;
    // Without the query.
    QByteArray path;
    QHash<QByteArray, QByteArray> query;
    QByteArray ifNoneMatch;
};

// A body written as the client takes it, rather than made whole first: a file streamed in
// blocks, or events that come when they come.
class BodyStream {
public:
    static constexpr qint64 Waiting = 0;
    static constexpr qint64 Ended = -1;
    static constexpr qint64 Failed = -2;

    virtual ~BodyStream() = default;
    // Up to max bytes into buffer, and their count; else Ended, Failed, or Waiting once suspend
    // was called (nothing now: wake, as set, comes when there is).
    virtual qint64 read(char* buffer, qint64 max, const std::function<void()>& suspend) = 0;
    // How a suspended reader is woken, set before the first read; called from any thread.
    virtual void setWake(std::function<void()> wake) { Q_UNUSED(wake); }
    // A body with no end in sight is not held to the time a request may take.
    virtual bool endless() const { return false; }
};

struct HttpAnswer {
    unsigned int status = 200;
    QByteArray contentType;
    QByteArray body;
    // Besides the content type and the ones every answer gets.
    QList<QPair<QByteArray, QByteArray>> headers;
    // When set, the body comes from it instead.
    std::shared_ptr<BodyStream> stream;
};

// A text for the person who asked, as text/plain.
HttpAnswer textAnswer(unsigned int status, const QByteArray& text);
