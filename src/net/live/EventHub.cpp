#include "net/live/EventHub.h"

#include <algorithm>
#include <cstring>

struct EventHub::Client {
    QByteArray queued;
    qsizetype sent = 0;
    bool waiting = false;
    bool dropped = false;
    std::function<void()> wake;
};

class EventHub::Stream final : public BodyStream {
public:
    Stream(EventHub& hub, std::shared_ptr<Client> client) : hub_(hub), client_(std::move(client)) {}

    qint64 read(char* buffer, qint64 max, const std::function<void()>& suspend) override {
        const QMutexLocker lock(&hub_.mutex_);
        Client& client = *client_;
        if (client.dropped)
            return Failed;
        const qsizetype left = client.queued.size() - client.sent;
        if (left == 0) {
            if (hub_.closed_)
                return Ended;
            // Under the lock, so that the next event finds it suspended and wakes it.
            client.waiting = true;
            suspend();
            return Waiting;
        }
        const qsizetype count = std::min<qsizetype>(left, max);
        std::memcpy(buffer, client.queued.constData() + client.sent, size_t(count));
        client.sent += count;
        if (client.sent == client.queued.size()) {
            client.queued.clear();
            client.sent = 0;
        }
        return count;
    }
    void setWake(std::function<void()> wake) override {
        const QMutexLocker lock(&hub_.mutex_);
        client_->wake = std::move(wake);
    }
    bool endless() const override { return true; }

private:
    EventHub& hub_;
    std::shared_ptr<Client> client_;
};

EventHub::EventHub() = default;
EventHub::~EventHub() = default;

std::shared_ptr<BodyStream> EventHub::join(const QByteArray& first) {
    const QMutexLocker lock(&mutex_);
    forgetGone();
    if (std::ssize(clients_) >= ClientLimit)
        return nullptr;
    auto client = std::make_shared<Client>();
    client->queued = first;
    clients_.push_back(client);
    return std::make_shared<Stream>(*this, client);
}

void EventHub::publish(const QByteArray& event) {
    std::vector<std::function<void()>> wakes;
    {
        const QMutexLocker lock(&mutex_);
        forgetGone();
        for (const std::weak_ptr<Client>& open : clients_) {
            const std::shared_ptr<Client> client = open.lock();
            if (!client || client->dropped)
                continue;
            if (client->queued.size() - client->sent + event.size() > QueueLimitBytes) {
                client->dropped = true;
                client->queued.clear();
            } else {
                client->queued += event;
            }
            if (client->waiting && client->wake) {
                client->waiting = false;
                wakes.push_back(client->wake);
            }
        }
    }
    // Outside the lock: the server library takes its own locks to resume a connection. A waiting
    // connection stays suspended until woken here, so it is still there.
    for (const std::function<void()>& wake : wakes)
        wake();
}

void EventHub::close() {
    std::vector<std::function<void()>> wakes;
    {
        const QMutexLocker lock(&mutex_);
        closed_ = true;
        for (const std::weak_ptr<Client>& open : clients_) {
            const std::shared_ptr<Client> client = open.lock();
            if (client && client->waiting && client->wake) {
                client->waiting = false;
                wakes.push_back(client->wake);
            }
        }
    }
    for (const std::function<void()>& wake : wakes)
        wake();
}

int EventHub::clients() const {
    const QMutexLocker lock(&mutex_);
    forgetGone();
    return int(clients_.size());
}

void EventHub::forgetGone() const {
    std::erase_if(clients_, [](const std::weak_ptr<Client>& client) { return client.expired(); });
}

QByteArray serverSentEvent(const QByteArray& name, const QByteArray& data) {
    return "event: " + name + "\ndata: " + data + "\n\n";
}
