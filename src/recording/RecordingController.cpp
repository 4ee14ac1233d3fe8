#include "recording/RecordingController.h"

#include "platform/Dialogs.h"
#include "recording/DataFileFormat.h"
#include "recording/FileDialogState.h"
#include "state/SharedState.h"

#include <QDir>
#include <QTimer>
#include <QWidget>

namespace {

const QString dataFileFilter = QStringLiteral("Data Files (*.dat)|*.dat|All Files (*.*)|*.*|");

} // namespace

RecordingController::RecordingController(QWidget* dialogParent, RecordingState& recording,
                                         Dialogs& dialogs, FileDialogState& fileDialog)
    : QObject(dialogParent), dialogParent_(dialogParent), recording_(recording), dialogs_(dialogs),
      fileDialog_(fileDialog) {}

bool RecordingController::isBeingRecorded(const QString& path) const {
    return writer_.writesTo(path);
}

void RecordingController::ChooseDataFile() {
    if (recording_.RecordingOn)
        return;
    const QString chosen = fileDialog_.choose(dialogs_, dialogParent_, true, dataFileFilter);
    if (chosen.isEmpty())
        return;
    recording_.DataFileName = chosen;
    Q_EMIT dataFileChosen(chosen);
}

bool RecordingController::StartRecording() {
    if (recording_.DataFileName.isEmpty() || !writer_.open(recording_.DataFileName))
        return false;
    recording_.RecordingOn = true;
    Q_EMIT recordingChanged(true);
    return true;
}

void RecordingController::StopRecording() {
    recording_.RecordingOn = false;
    writer_.close();
    Q_EMIT recordingChanged(false);
}

void RecordingController::CMDSAVE_Click() {
    ChooseDataFile();
}

void RecordingController::CMDSTART_Click() {
    // The menu item is disabled while recording; a second open of the same file is never wanted.
    if (recording_.RecordingOn)
        return;
    if (recording_.DataFileName.isEmpty()) {
        dialogs_.message(dialogParent_, QStringLiteral("You have to open a file first !!"),
                         Dialogs::Buttons::Ok, Dialogs::Icon::None, applicationTitle());
        ChooseDataFile();
    }
    if (!StartRecording()) {
        // Without a word the user would walk away believing the readings are kept. A cancelled
        // dialog leaves no name, and nothing to say.
        if (!recording_.DataFileName.isEmpty())
            showFailure(
                dialogs_, dialogParent_, QStringLiteral("RECORDING NOT STARTED"),
                QStringLiteral("The data file\n%1\ncould not be opened (%2).\n"
                               "No readings are being recorded.")
                    .arg(QDir::toNativeSeparators(recording_.DataFileName), writer_.errorText()));
        return;
    }
    recording_.RecordCount = 0;
}

void RecordingController::CMDSTOP_Click() {
    StopRecording();
    recording_.RecordCount = 0;
    recording_.ListLive = 0;
}

void RecordingController::recordRow(const QString& rowBody) {
    if (!recording_.RecordingOn)
        return;
    const qint64 number = recording_.RecordCount + 1;
    recording_.RecordCount = number;
    if (!writer_.writeLine(recorderLine(number, rowBody))) {
        stopAfterFailedWrite(number);
        return;
    }
    Q_EMIT recordCounted(recordNumberText(number));
}

void RecordingController::stopAfterFailedWrite(qint64 recordNumber) {
    // Showing RECORDING with a rising count while nothing reaches the disk would report a
    // failure as success: stop as STOP RECORDING does, then say why. The box comes up after the
    // tick has ended, so the tick is not held up while the user reads it.
    const QString details =
        QStringLiteral("Record %1 could not be written to the data file\n%2\n(%3).\n"
                       "The records written before are kept.")
            .arg(recordNumber)
            .arg(QDir::toNativeSeparators(recording_.DataFileName), writer_.errorText());
    CMDSTOP_Click();
    QTimer::singleShot(0, this, [this, details] {
        showFailure(dialogs_, dialogParent_, QStringLiteral("RECORDING STOPPED"), details);
    });
}
