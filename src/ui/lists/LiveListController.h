#pragma once

#include <QObject>
#include <QPointer>

class Dialogs;
class FileDialogState;
class ListWindow;
class Printer;
class QWidget;
class Waiter;
struct RecordingState;

// DISPLAY > LIST and FILE > OPEN FILE of the main window, and the live-list step of its
// sampling tick. It opens the one LIST window (a fresh one after each close) and hands it the
// rows while ListLive is 1. The application connects it to the main window.
class LiveListController final : public QObject {
    Q_OBJECT

public:
    // panel: the main window; it is the parent of this and of the LIST window, which stands to
    // its right. recording: its ListLive says whether live rows go to the list. fileDialog: the
    // main window's file dialog, shared with SAVE AS.
    LiveListController(QWidget* panel, RecordingState& recording, Dialogs& dialogs,
                       FileDialogState& fileDialog, Printer& printer, Waiter& waiter);

    // The live-list step of a sampling tick (the tick calls it while ListLive is 1).
    void appendLiveRow(const QString& rowBody);

    // The user chose DISPLAY > LIST: the LIST window shows the live rows.
    void CMDLIST_Click();
    // The user chose FILE > OPEN FILE: the LIST window shows the chosen data file.
    void CMDOPEN_Click();

    // The open LIST window, or null.
    ListWindow* window() const;

Q_SIGNALS:
    // The LIST window was closed: the main window's FILE menu is usable again.
    void listClosed();

private:
    ListWindow* showWindow();

    QWidget* panel_;
    RecordingState& recording_;
    Dialogs& dialogs_;
    FileDialogState& fileDialog_;
    Printer& printer_;
    Waiter& waiter_;
    QPointer<ListWindow> window_;
};
