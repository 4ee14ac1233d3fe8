#include "device/recording/Recorder.h"

#include "logic/recording/DataFileFormat.h"
#include "logic/state/SharedState.h"

Recorder::Recorder(QObject* parent, RecordingState& recording)
    : QObject(parent), recording_(recording) {}

bool Recorder::start() {
    if (recording_.DataFileName.isEmpty() || !writer_.open(recording_.DataFileName))
        return false;
    recording_.RecordingOn = true;
    Q_EMIT recordingChanged(true);
    recording_.RecordCount = 0;
    return true;
}

void Recorder::stop() {
    recording_.RecordingOn = false;
    writer_.close();
    Q_EMIT recordingChanged(false);
    recording_.RecordCount = 0;
}

void Recorder::recordRow(const QString& rowBody) {
    if (!recording_.RecordingOn)
        return;
    const qint64 number = recording_.RecordCount + 1;
    recording_.RecordCount = number;
    if (!writer_.writeLine(recorderLine(number, rowBody))) {
        // Showing RECORDING with a rising count while nothing reaches the disk would report a
        // failure as success: stop, then say why.
        const QString reason = writer_.errorText();
        stop();
        Q_EMIT writeFailed(number, reason);
        return;
    }
    Q_EMIT recordCounted(recordNumberText(number));
}
