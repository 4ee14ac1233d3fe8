#pragma once

#include <QMainWindow>

class Dialogs;
class Grid;
class Printer;
class QAction;
class Waiter;
struct RecordingState;

// LIST: the table of live readings, or of a data file opened for viewing. Its menu bar holds
// CONTINUE, PAUSE and PRINT. It closes for good (a fresh one is made the next time) and, when
// closed, stops the live rows.
class ListWindow final : public QMainWindow {
    Q_OBJECT

public:
    // panel: the main window, which the list stands to the right of; it is the parent.
    // recording: its ListLive says whether live rows come.
    ListWindow(QWidget* panel, RecordingState& recording, Dialogs& dialogs, Printer& printer,
               Waiter& waiter);

    Grid& grid() { return *grid_; }

    // The user chose PAUSE: live rows stop coming until CONTINUE.
    void PAUSE_Click();
    // The user chose CONTINUE: live rows come again.
    void CONTINUE_Click();
    // The user chose PRINT: the listed rows go to the printer.
    void PRINT_Click();

    // The live-list step of a sampling tick: numbers the row after the rows present, makes it
    // current and scrolls by one row once more than 26 data rows are listed.
    void addLiveRow(const QString& rowBody);
    // The file view hides PAUSE and CONTINUE.
    void showAsFileView();

Q_SIGNALS:
    // The window was closed; it is deleted soon after.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The window opens: it stands to the right of the main window, live rows flowing.
    void Form_Load();

    RecordingState& recording_;
    Dialogs& dialogs_;
    Printer& printer_;
    Waiter& waiter_;
    Grid* grid_;
    QAction* continue_;
    QAction* pause_;
    QAction* print_;
};
