#pragma once

#include <QObject>
#include <vector>

class MeterLink;
class QTimer;

// Polls many meters from one thread, in the steps of their links: every second each meter
// that waits for its turn is asked for a frame, one wait later every answer is taken together,
// and a meter that gave no frame in AttemptsPerPoll tries is called every CallWaitSeconds until
// it calls back. One wake serves every meter where a thread each would wake once per meter, and
// a meter that falls silent holds up none of the others.
class FleetPoller final : public QObject {
    Q_OBJECT
public:
    explicit FleetPoller(QObject* parent);

    // The link is polled from the next second on; its own poll timer must stay stopped.
    void add(MeterLink& link);
    // Polls it no more: safe from within its frameDecoded().
    void remove(MeterLink& link);

Q_SIGNALS:
    // Every frame of one moment has been taken: what each meter's frame wrote may now be forced
    // to the disk, all of it together.
    void framesTaken();

private:
    enum class Turn { Waiting, Asked, Lost, Removed };
    struct Meter {
        MeterLink* link;
        Turn turn = Turn::Waiting;
        int attempts = 0;
        int round = 0;
    };

    void onSecond();
    void onFramesDue();
    void onCallsDue();
    void ask(Meter& meter);
    void lose(Meter& meter);
    void dropRemoved();

    QTimer* second_;
    QTimer* framesDue_;
    QTimer* callsDue_;
    std::vector<Meter> meters_;
    std::vector<Meter> joining_;
};
