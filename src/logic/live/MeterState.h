#pragma once

#include "logic/recording/ExportRow.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

class QDateTime;
class QJsonObject;

// A meter as the live page shows it: where it is, how it stands, and its last reading in the unit
// its file is written in.
struct MeterState {
    // The words the page shows for how the meter stands.
    enum class Standing {
        Starting,
        Recording,
        NoReading,
        Overload,
        PortGone,
        Reconnecting,
        Failed
    };

    int meter = 0;
    QString id;
    QString port;
    QString file;
    Standing standing = Standing::Starting;
    // Why it failed, as meter-logger said it.
    QString message;
    // The last reading, none before the first.
    std::optional<ExportRow> row;
    std::optional<qint64> takenAtMs;
    qint64 readings = 0;
};

// The reading taken at takenAt: the meter records, or shows a value beyond its range.
void takeReading(MeterState& state, const QDateTime& takenAt, const ExportRow& row);

// The object the page and scripts read (numbers as numbers, null where there is none).
QJsonObject meterStateJson(const MeterState& state);
// {"meters":[...]}, on one line.
QByteArray metersJson(const std::vector<MeterState>& meters);
// "recording", "port gone", ...
QString standingText(MeterState::Standing standing);
