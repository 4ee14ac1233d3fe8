#pragma once

#include <QByteArray>
#include <deque>
#include <optional>

// A reading waiting for the broker, and where its line ends in the backlog file (-1 without one).
struct QueuedReading {
    QByteArray payload;
    qint64 fileEnd = -1;
};

// The readings of one meter waiting for the broker, oldest first, at most `limit` of them. Past
// the limit the oldest goes, so what is published when the broker is back is the latest stretch
// without a hole, and the count of those that went says how much the file alone holds.
class PublishBacklog {
public:
    explicit PublishBacklog(qsizetype limit) : limit_(limit) {}

    // The reading that had to go for it, if one did.
    std::optional<QueuedReading> push(QueuedReading reading);
    // The oldest, and taking it away; the backlog must not be empty.
    const QueuedReading& oldest() const { return readings_.front(); }
    void dropOldest() { readings_.pop_front(); }

    // Readings let go before they ever came here (the oldest of a backlog file past the limit).
    void countDropped(quint64 readings) { dropped_ += readings; }

    bool isEmpty() const { return readings_.empty(); }
    qsizetype size() const { return static_cast<qsizetype>(readings_.size()); }
    quint64 dropped() const { return dropped_; }

private:
    qsizetype limit_;
    std::deque<QueuedReading> readings_;
    quint64 dropped_ = 0;
};
