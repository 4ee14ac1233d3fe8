#pragma once

#include "logic/metrics/ListenAddress.h"
#include "net/live/RecordedPaths.h"
#include "net/mqtt/MeterPublisher.h"

#include <QString>
#include <QStringList>
#include <optional>

// Where a recording's readings go besides the files: an MQTT broker, the metrics endpoint, and
// the ids the meters have there.
struct NetworkPlan {
    std::optional<PublishSettings> mqtt;
    std::optional<ListenAddress> metricsAddress;
    // One per port, in order; empty: each meter's ID code, read at the start.
    QStringList meterIds;

    bool needsMeterIds() const { return takesReadings(); }
    // Something on the network shows each reading.
    bool takesReadings() const { return mqtt || metricsAddress; }
};

// A recorded meter as the network knows it: the port it was given as, and its recording file's
// path, beside which its MQTT backlog is kept; its files, which the live page reads.
struct NetworkedMeter {
    QString port;
    QString filePath;
    FileFormat format = FileFormat::Csv;
    DewPointColumn dewPoint = DewPointColumn::Without;
};
