#pragma once

#include "ui/recording/RecordedFile.h"

#include <QObject>
#include <QString>

class Dialogs;
class FileDialogState;
class QWidget;
class Recorder;
struct RecordingState;

// FILE > SAVE AS, START RECORDING and STOP RECORDING over the recorder, with their file dialog
// and boxes. It knows no window: what it changes it announces, and the application shows it on
// the main window.
class RecordingController final : public QObject, public RecordedFile {
    Q_OBJECT

public:
    // dialogParent: the window its boxes and the file dialog stand over; it is also the parent.
    // recording: the data file's name, whether it records, the count, and the live list's
    // ListLive that STOP RECORDING clears. fileDialog: the main window's file dialog, shared
    // with OPEN FILE.
    RecordingController(QWidget* dialogParent, RecordingState& recording, Dialogs& dialogs,
                        FileDialogState& fileDialog);

    // The recording step of a sampling tick while RecordingOn: the body is the row the tick
    // built from the panel (date, time, humidity, temperature, unit, and LOW).
    void recordRow(const QString& rowBody);

    bool isBeingRecorded(const QString& path) const override;

    void ChooseDataFile();

    // The user chose FILE > SAVE AS: asks for the data file to record into.
    void CMDSAVE_Click();
    // The user chose FILE > START RECORDING: opens the data file (asking for one first if none
    // was chosen) and records from the next sampling tick on.
    void CMDSTART_Click();
    // The user chose FILE > STOP RECORDING: closes the data file, the recording ends.
    void CMDSTOP_Click();

Q_SIGNALS:
    void dataFileChosen(const QString& path);
    void recordingChanged(bool on);
    // The number of the record just written, as the count label shows it.
    void recordCounted(const QString& countText);

private:
    void showFailedWrite(qint64 recordNumber, const QString& reason);

    QWidget* dialogParent_;
    RecordingState& recording_;
    Dialogs& dialogs_;
    FileDialogState& fileDialog_;
    Recorder* recorder_;
};
