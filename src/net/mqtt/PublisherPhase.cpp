#include "net/mqtt/PublisherPhase.h"

namespace {

using Phase = PublisherPhase;
using Event = PublisherEvent;
using Effect = PublisherEffect;

struct Transition {
    Phase phase;
    Event event;
    PublisherStep step;
};

// An event not listed leaves the phase as it is and does nothing: it cannot come then (a
// Connected without a Lost before it, an acknowledgement with no connection) or no longer matters
// (anything after the end, a second Finish).
constexpr Transition transitions[] = {
    {Phase::Idle, Event::Start, {Phase::Connecting, Effect::None}},
    // A publisher whose start failed still keeps its readings and says goodbye.
    {Phase::Idle, Event::Finish, {Phase::Ended, Effect::End}},
    {Phase::Connecting, Event::Connected, {Phase::Online, Effect::Announce}},
    // Every failed attempt to reconnect ends here too: the reason is told once.
    {Phase::Connecting, Event::Lost, {Phase::Connecting, Effect::TellOutage}},
    // No broker to drain to: the last will says "offline" for the meter.
    {Phase::Connecting, Event::Finish, {Phase::Ended, Effect::End}},
    {Phase::Online, Event::Lost, {Phase::Connecting, Effect::TellOutage}},
    {Phase::Online, Event::Finish, {Phase::Draining, Effect::StartDraining}},
    {Phase::Draining, Event::Lost, {Phase::DrainingAway, Effect::TellOutage}},
    {Phase::Draining, Event::Drained, {Phase::SendingOffline, Effect::SendOffline}},
    {Phase::Draining, Event::TimeUp, {Phase::SendingOffline, Effect::SendOffline}},
    {Phase::DrainingAway, Event::Connected, {Phase::Draining, Effect::Announce}},
    {Phase::DrainingAway, Event::Lost, {Phase::DrainingAway, Effect::TellOutage}},
    {Phase::DrainingAway, Event::TimeUp, {Phase::Ended, Effect::End}},
    // The "offline" may still be taken on a connection made again within the moment.
    {Phase::SendingOffline, Event::Connected, {Phase::SendingOffline, Effect::Announce}},
    {Phase::SendingOffline, Event::Lost, {Phase::SendingOffline, Effect::TellOutage}},
    {Phase::SendingOffline, Event::OfflineTaken, {Phase::Ended, Effect::End}},
    {Phase::SendingOffline, Event::OfflineRefused, {Phase::Ended, Effect::End}},
    {Phase::SendingOffline, Event::TimeUp, {Phase::Ended, Effect::End}},
};

} // namespace

PublisherStep publisherStep(PublisherPhase phase, PublisherEvent event) {
    for (const Transition& transition : transitions) {
        if (transition.phase == phase && transition.event == event)
            return transition.step;
    }
    return {phase, Effect::None};
}
