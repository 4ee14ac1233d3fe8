#pragma once

#include "panel/SamplingSinks.h"

#include <QObject>
#include <QPointer>

class Dialogs;
class FileDialogState;
class ListWindow;
class Printer;
class QWidget;
class Waiter;
struct SharedState;

// DISPLAY > LIST and FILE > OPEN FILE of the main window, and the live-list step of its
// sampling tick. It opens the one LIST window (a fresh one after each close) and hands it the
// rows while ListLive is 1.
class LiveListController final : public QObject, public LiveRowSink {
    Q_OBJECT

public:
    // panel: the main window, which holds the menu items CMDLIST and CMDOPEN; it is the parent of
    // this and of the LIST window. fileDialog: the main window's file dialog, shared with SAVE AS.
    LiveListController(QWidget* panel, SharedState& state, Dialogs& dialogs,
                       FileDialogState& fileDialog, Printer& printer, Waiter& waiter);

    // The live-list step of a sampling tick (the tick calls it while ListLive is 1).
    void appendLiveRow(const QString& rowBody) override;

    void CMDLIST_Click();
    void CMDOPEN_Click();

    // The open LIST window, or null.
    ListWindow* window() const;

private:
    ListWindow* showWindow();

    QWidget* panel_;
    SharedState& state_;
    Dialogs& dialogs_;
    FileDialogState& fileDialog_;
    Printer& printer_;
    Waiter& waiter_;
    QPointer<ListWindow> window_;
};
