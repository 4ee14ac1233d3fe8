#pragma once

#include "panel/SamplingSinks.h"
#include "recording/DataFileWriter.h"

#include <QObject>
#include <QString>

class Dialogs;
class FileDialogState;
class QWidget;
struct SharedState;

// FILE > SAVE AS, START RECORDING and STOP RECORDING of the main window, and the recording step
// of its sampling tick: one numbered line per tick appended to the data file.
class RecordingController final : public QObject, public RecordSink {
    Q_OBJECT

public:
    // panel: the main window, which holds the menu items CMDSAVE, CMDSTART, CMDSTOP and the
    // labels lblfile, LBLRECORDING, LBLCOUNT; it is also the parent. fileDialog: the main
    // window's file dialog, shared with OPEN FILE.
    RecordingController(QWidget* panel, SharedState& state, Dialogs& dialogs,
                        FileDialogState& fileDialog);

    // The recording step of a sampling tick while RecordingOn: the body is the row the tick
    // built from the panel (date, time, humidity, temperature, unit, and LOW).
    void recordRow(const QString& rowBody) override;

    void ChooseDataFile();
    bool StartRecording();
    void StopRecording();

    void CMDSAVE_Click();
    void CMDSTART_Click();
    void CMDSTOP_Click();

private:
    void stopAfterFailedWrite(qint64 recordNumber);

    QWidget* panel_;
    SharedState& state_;
    Dialogs& dialogs_;
    FileDialogState& fileDialog_;
    DataFileWriter writer_;
};
