#pragma once

#include "ui/lists/RecordListing.h"
#include "ui/platform/Platform.h"
#include "ui/recording/FileDialogState.h"

#include <QMainWindow>

class Grid;
class QAction;
class QLabel;
class RecordedFile;

// REC_LIST: the records of one datalogger set as a table, filled by SHOW DATA. Its menus save
// the table as a data file, print it, and ask for the recorded charts. It closes for good; SHOW
// DATA makes a fresh one each time.
class RecordListWindow final : public QMainWindow {
    Q_OBJECT

public:
    RecordListWindow(QWidget* parent, const Platform& platform);

    Grid& grid() { return *grid_; }
    // SAVE refuses the file the recording has open; without this, nothing is being recorded.
    void setRecordedFile(const RecordedFile& recordedFile) { recordedFile_ = &recordedFile; }
    // Label1's caption.
    void setStatusCaption(const QString& text);
    // SHOW DATA's row step: numbers the row after the rows present (" 1", " 2", ...), makes it
    // current and scrolls by one row once more than 26 records are listed.
    void appendRecordRow(const QString& rowText);
    // Lists a downloaded set into this window on its own, one record every 0.01 s.
    void listRecords(SetListing listing);

    // GRAPH > HUMIDITY: prepares the recorded humidity chart from the listed rows.
    void HUMIDITY_Click();
    // GRAPH > TEMPERATURE: prepares the recorded temperature chart from the listed rows.
    void TEMPERATURE_Click();
    // FILE > SAVE: writes the listed rows into a data file the user chooses.
    void MNUSAVE_Click();
    // FILE > PRINT: the listed rows go to the printer.
    void PRINT_Click();

Q_SIGNALS:
    // GRAPH's HUMIDITY or TEMPERATURE: REC_GRAPH or REC_GRAPH2 is due, drawn from this list's
    // records.
    void humidityChartRequested();
    void temperatureChartRequested();
    // The window was closed and is deleted soon after; the range dialogs must close.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The window opens: at the screen's top left, its grid headed and sized.
    void Form_Load();
    void layOut();

    Platform platform_;
    // cmd1: this window's own file dialog, apart from the main window's.
    FileDialogState cmd1_;
    QLabel* label1_;
    Grid* grid_;
    QAction* print_;
    const RecordedFile* recordedFile_ = nullptr;
};
