#pragma once

#include "logic/recording/DataFileWriter.h"

#include <QObject>
#include <QString>

struct RecordingState;

// The recording step of the sampling tick: one numbered line per row appended to the data file
// named in the recording state, and the count. It shows nothing: what goes wrong comes back as a
// result or a signal, for the front end to put in its box or on its stderr.
class Recorder final : public QObject {
    Q_OBJECT

public:
    Recorder(QObject* parent, RecordingState& recording);

    // Opens DataFileName for appending and counts from 1 again. False when there is no name or
    // the file cannot be opened (errorText() says why): the recording stays off.
    bool start();
    // Closes the data file; the count goes back to 0.
    void stop();
    // While RecordingOn: the body is the row the tick built (date, time, humidity, temperature,
    // unit, and LOW).
    void recordRow(const QString& rowBody);

    bool isBeingRecorded(const QString& path) const { return writer_.writesTo(path); }
    QString errorText() const { return writer_.errorText(); }

Q_SIGNALS:
    void recordingChanged(bool on);
    // The number of the record just written, as the count label shows it.
    void recordCounted(const QString& countText);
    // Record recordNumber could not be written, for the given reason; the recording has stopped.
    void writeFailed(qint64 recordNumber, const QString& reason);

private:
    RecordingState& recording_;
    DataFileWriter writer_;
};
