#include "recording/RecordingController.h"

#include "platform/Dialogs.h"
#include "recording/DataFileFormat.h"
#include "recording/FileDialogState.h"
#include "recording/PanelElements.h"
#include "state/SharedState.h"

#include <QDir>
#include <QTimer>

namespace {

const QString dataFileFilter = QStringLiteral("Data Files (*.dat)|*.dat|All Files (*.*)|*.*|");

} // namespace

RecordingController::RecordingController(QWidget* panel, SharedState& state, Dialogs& dialogs,
                                         FileDialogState& fileDialog)
    : QObject(panel), panel_(panel), state_(state), dialogs_(dialogs), fileDialog_(fileDialog) {
    if (QAction* save = panelAction(panel_, QStringLiteral("CMDSAVE")))
        connect(save, &QAction::triggered, this, &RecordingController::CMDSAVE_Click);
    if (QAction* start = panelAction(panel_, QStringLiteral("CMDSTART")))
        connect(start, &QAction::triggered, this, &RecordingController::CMDSTART_Click);
    if (QAction* stop = panelAction(panel_, QStringLiteral("CMDSTOP")))
        connect(stop, &QAction::triggered, this, &RecordingController::CMDSTOP_Click);
}

void RecordingController::ChooseDataFile() {
    if (state_.recording.RecordingOn)
        return;
    const QString chosen = fileDialog_.choose(dialogs_, panel_, true, dataFileFilter);
    if (chosen.isEmpty())
        return;
    state_.recording.DataFileName = chosen;
    setPanelLabelText(panel_, QStringLiteral("lblfile"), chosen);
    setPanelActionEnabled(panel_, QStringLiteral("CMDSTART"), true);
    setPanelActionEnabled(panel_, QStringLiteral("CMDSTOP"), false);
}

bool RecordingController::StartRecording() {
    if (state_.recording.DataFileName.isEmpty() || !writer_.open(state_.recording.DataFileName))
        return false;
    state_.recording.RecordingOn = true;
    setPanelActionEnabled(panel_, QStringLiteral("CMDSTART"), false);
    setPanelActionEnabled(panel_, QStringLiteral("CMDSTOP"), true);
    setPanelLabelVisible(panel_, QStringLiteral("LBLRECORDING"), true);
    setPanelLabelVisible(panel_, QStringLiteral("LBLCOUNT"), true);
    return true;
}

void RecordingController::StopRecording() {
    state_.recording.RecordingOn = false;
    writer_.close();
    setPanelActionEnabled(panel_, QStringLiteral("CMDSTART"), true);
    setPanelActionEnabled(panel_, QStringLiteral("CMDSTOP"), false);
}

void RecordingController::CMDSAVE_Click() {
    ChooseDataFile();
}

void RecordingController::CMDSTART_Click() {
    // The menu item is disabled while recording; a second open of the same file is never wanted.
    if (state_.recording.RecordingOn)
        return;
    if (panelLabelText(panel_, QStringLiteral("lblfile")).isEmpty()) {
        dialogs_.message(panel_, QStringLiteral("You have to open a file first !!"),
                         Dialogs::Buttons::Ok, Dialogs::Icon::None, applicationTitle());
        ChooseDataFile();
    }
    if (!StartRecording())
        return;
    state_.recording.RecordCount = 0;
    setPanelLabelVisible(panel_, QStringLiteral("LBLRECORDING"), true);
}

void RecordingController::CMDSTOP_Click() {
    StopRecording();
    state_.recording.RecordCount = 0;
    setPanelLabelVisible(panel_, QStringLiteral("LBLRECORDING"), false);
    state_.recording.ListLive = 0;
    setPanelLabelVisible(panel_, QStringLiteral("LBLCOUNT"), false);
}

void RecordingController::recordRow(const QString& rowBody) {
    if (!state_.recording.RecordingOn)
        return;
    setPanelLabelVisible(panel_, QStringLiteral("LBLRECORDING"), true);
    const qint64 number = state_.recording.RecordCount + 1;
    state_.recording.RecordCount = number;
    if (!writer_.writeLine(recorderLine(number, rowBody))) {
        stopAfterFailedWrite(number);
        return;
    }
    setPanelLabelText(panel_, QStringLiteral("LBLCOUNT"), recordNumberText(number));
}

void RecordingController::stopAfterFailedWrite(qint64 recordNumber) {
    // Showing RECORDING with a rising count while nothing reaches the disk would report a
    // failure as success: stop as STOP RECORDING does, then say why. The box comes up after the
    // tick has ended, so the tick is not held up while the user reads it.
    const QString text =
        QStringLiteral("RECORDING STOPPED !!\nRecord %1 could not be written to the data file\n"
                       "%2\n(%3).\nThe records written before are kept.")
            .arg(recordNumber)
            .arg(QDir::toNativeSeparators(state_.recording.DataFileName), writer_.errorText());
    CMDSTOP_Click();
    QTimer::singleShot(0, this, [this, text] {
        dialogs_.message(panel_, text, Dialogs::Buttons::Ok, Dialogs::Icon::Critical,
                         applicationTitle());
    });
}
