// A publisher's life as a table: each event in each phase, the phase it leads to and what the
// publisher does on the way.
#include "net/mqtt/PublisherPhase.h"

#include <QTest>

namespace {

using Phase = PublisherPhase;
using Event = PublisherEvent;
using Effect = PublisherEffect;

void row(const char* name, Phase phase, Event event, Phase next, Effect effect) {
    QTest::newRow(name) << phase << event << next << effect;
}

} // namespace

class NetPublisherPhasesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void steps_data() {
        QTest::addColumn<Phase>("phase");
        QTest::addColumn<Event>("event");
        QTest::addColumn<Phase>("next");
        QTest::addColumn<Effect>("effect");
        row("started: connecting", Phase::Idle, Event::Start, Phase::Connecting, Effect::None);
        row("a start that failed still ends", Phase::Idle, Event::Finish, Phase::Ended,
            Effect::End);
        row("connected: announced", Phase::Connecting, Event::Connected, Phase::Online,
            Effect::Announce);
        row("an attempt fails: told", Phase::Connecting, Event::Lost, Phase::Connecting,
            Effect::TellOutage);
        row("finished with no broker: ends at once", Phase::Connecting, Event::Finish, Phase::Ended,
            Effect::End);
        row("the broker goes: connecting again", Phase::Online, Event::Lost, Phase::Connecting,
            Effect::TellOutage);
        row("finished online: draining", Phase::Online, Event::Finish, Phase::Draining,
            Effect::StartDraining);
        row("nothing queued while online: no end", Phase::Online, Event::Drained, Phase::Online,
            Effect::None);
        row("the broker goes while draining", Phase::Draining, Event::Lost, Phase::DrainingAway,
            Effect::TellOutage);
        row("drained: offline sent", Phase::Draining, Event::Drained, Phase::SendingOffline,
            Effect::SendOffline);
        row("no time left to drain: offline sent", Phase::Draining, Event::TimeUp,
            Phase::SendingOffline, Effect::SendOffline);
        row("a second finish while draining", Phase::Draining, Event::Finish, Phase::Draining,
            Effect::None);
        row("the broker back while draining", Phase::DrainingAway, Event::Connected,
            Phase::Draining, Effect::Announce);
        row("another failed attempt while draining", Phase::DrainingAway, Event::Lost,
            Phase::DrainingAway, Effect::TellOutage);
        row("no time left and no broker: ends", Phase::DrainingAway, Event::TimeUp, Phase::Ended,
            Effect::End);
        row("connected again while sending offline", Phase::SendingOffline, Event::Connected,
            Phase::SendingOffline, Effect::Announce);
        row("the broker goes while sending offline", Phase::SendingOffline, Event::Lost,
            Phase::SendingOffline, Effect::TellOutage);
        row("offline taken: ends", Phase::SendingOffline, Event::OfflineTaken, Phase::Ended,
            Effect::End);
        row("offline refused: ends", Phase::SendingOffline, Event::OfflineRefused, Phase::Ended,
            Effect::End);
        row("offline not taken in time: ends", Phase::SendingOffline, Event::TimeUp, Phase::Ended,
            Effect::End);
        row("a finish while sending offline", Phase::SendingOffline, Event::Finish,
            Phase::SendingOffline, Effect::None);
        row("ended: a late connection", Phase::Ended, Event::Connected, Phase::Ended, Effect::None);
        row("ended: an outage is not told", Phase::Ended, Event::Lost, Phase::Ended, Effect::None);
        row("ended: finished once", Phase::Ended, Event::Finish, Phase::Ended, Effect::None);
        row("ended: nothing queued", Phase::Ended, Event::Drained, Phase::Ended, Effect::None);
        row("ended: the timer", Phase::Ended, Event::TimeUp, Phase::Ended, Effect::None);
    }

    void steps() {
        QFETCH(Phase, phase);
        QFETCH(Event, event);
        QFETCH(Phase, next);
        QFETCH(Effect, effect);
        const PublisherStep step = publisherStep(phase, event);
        QCOMPARE(step.next, next);
        QCOMPARE(step.effect, effect);
    }
};

QTEST_GUILESS_MAIN(NetPublisherPhasesTest)
#include "net_publisher_phases_test.moc"
