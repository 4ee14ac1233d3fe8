#pragma once

// A publisher's life, from its start to its goodbye to the broker.
enum class PublisherPhase {
    // Not started, or its start failed (another logger holds the backlog file, say).
    Idle,
    // The broker is not there yet, or no longer: the client keeps trying on its own.
    Connecting,
    Online,
    // Finishing with the broker there: the backlog goes out, for a few seconds at most.
    Draining,
    // Finishing while the broker is away: it may still come back before the time is up.
    DrainingAway,
    // "offline" handed to the broker: a moment at most for it to be taken.
    SendingOffline,
    Ended,
};

enum class PublisherEvent {
    // The client is under way.
    Start,
    Connected,
    // The broker went away or refused the connection.
    Lost,
    Finish,
    // Nothing is queued any more.
    Drained,
    OfflineTaken,
    // libmosquitto did not take the "offline".
    OfflineRefused,
    // The time for draining, or for the "offline", is up.
    TimeUp,
};

// What a step does besides changing the phase.
enum class PublisherEffect {
    None,
    // Says so and sends what waits: the availability (unless finishing), discovery, readings.
    Announce,
    // The outage's reason, unless it was the last told.
    TellOutage,
    // Starts the time the backlog has to go out.
    StartDraining,
    SendOffline,
    // Keeps what was not published for the next run and says goodbye to the broker.
    End,
};

struct PublisherStep {
    PublisherPhase next;
    PublisherEffect effect;

    bool operator==(const PublisherStep&) const = default;
};

// Every event of every phase goes through here.
PublisherStep publisherStep(PublisherPhase phase, PublisherEvent event);
