#pragma once

#include <QString>

// Where the main window's sampling tick hands the row it built from the panel: to the live list
// while it takes rows, and to the recorder while a recording runs.
class LiveRowSink {
public:
    virtual ~LiveRowSink() = default;
    virtual void appendLiveRow(const QString& rowBody) = 0;
};

class RecordSink {
public:
    virtual ~RecordSink() = default;
    virtual void recordRow(const QString& rowBody) = 0;
};
