#include "ui/recording/RecordingController.h"

#include "device/recording/Recorder.h"
#include "logic/state/SharedState.h"
#include "ui/platform/Dialogs.h"
#include "ui/recording/FileDialogState.h"

#include <QDir>
#include <QTimer>
#include <QWidget>

namespace {

const QString dataFileFilter = QStringLiteral("Data Files (*.dat)|*.dat|All Files (*.*)|*.*|");

} // namespace

RecordingController::RecordingController(QWidget* dialogParent, RecordingState& recording,
                                         Dialogs& dialogs, FileDialogState& fileDialog)
    : QObject(dialogParent), dialogParent_(dialogParent), recording_(recording), dialogs_(dialogs),
      fileDialog_(fileDialog), recorder_(new Recorder(this, recording)) {
    connect(recorder_, &Recorder::recordingChanged, this, &RecordingController::recordingChanged);
    connect(recorder_, &Recorder::recordCounted, this, &RecordingController::recordCounted);
    connect(recorder_, &Recorder::writeFailed, this, &RecordingController::showFailedWrite);
}

bool RecordingController::isBeingRecorded(const QString& path) const {
    return recorder_->isBeingRecorded(path);
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
    if (!recorder_->start()) {
        // Without a word the user would walk away believing the readings are kept. A cancelled
        // dialog leaves no name, and nothing to say.
        if (!recording_.DataFileName.isEmpty())
            showFailure(dialogs_, dialogParent_, QStringLiteral("RECORDING NOT STARTED"),
                        QStringLiteral("The data file\n%1\ncould not be opened (%2).\n"
                                       "No readings are being recorded.")
                            .arg(QDir::toNativeSeparators(recording_.DataFileName),
                                 recorder_->errorText()));
    }
}

void RecordingController::CMDSTOP_Click() {
    recorder_->stop();
    recording_.ListLive = 0;
}

void RecordingController::recordRow(const QString& rowBody) {
    recorder_->recordRow(rowBody);
}

void RecordingController::showFailedWrite(qint64 recordNumber, const QString& reason) {
    // The recorder has stopped; the rest is as STOP RECORDING leaves it. The box comes up after
    // the tick has ended, so the tick is not held up while the user reads it.
    recording_.ListLive = 0;
    const QString details =
        QStringLiteral("Record %1 could not be written to the data file\n%2\n(%3).\n"
                       "The records written before are kept.")
            .arg(recordNumber)
            .arg(QDir::toNativeSeparators(recording_.DataFileName), reason);
    QTimer::singleShot(0, this, [this, details] {
        showFailure(dialogs_, dialogParent_, QStringLiteral("RECORDING STOPPED"), details);
    });
}
