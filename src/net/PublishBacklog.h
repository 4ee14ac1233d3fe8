#pragma once

#include <QByteArray>
#include <deque>

// The readings of one meter waiting for the broker, oldest first, at most `limit` of them. Past
// the limit the oldest goes, so what is published when the broker is back is the latest stretch
// without a hole, and the count of those that went says how much the file alone holds.
class PublishBacklog {
public:
    explicit PublishBacklog(qsizetype limit) : limit_(limit) {}

    void push(QByteArray payload);
    // The oldest, and taking it away; the backlog must not be empty.
    const QByteArray& oldest() const { return payloads_.front(); }
    void dropOldest() { payloads_.pop_front(); }

    bool isEmpty() const { return payloads_.empty(); }
    qsizetype size() const { return static_cast<qsizetype>(payloads_.size()); }
    quint64 dropped() const { return dropped_; }

private:
    qsizetype limit_;
    std::deque<QByteArray> payloads_;
    quint64 dropped_ = 0;
};
