#pragma once

#include "ui/lists/RecordListing.h"

#include <QObject>

class Dialogs;
class QTimer;
class RecordListWindow;
class Waiter;

// Lists a downloaded set into REC_LIST, one record every 0.01 s, the list's caption counting the
// records listed. It belongs to the list, not to LOGGER, and runs on a timer of its own rather
// than in a wait: closing LOGGER, opening a new one, the meter falling silent or going away, a
// poll waiting for the meter, none of them holds it up or cuts it short. It ends with the list
// (closed, nothing is left to list) or with the program.
class RecordLister final : public QObject {
    Q_OBJECT

public:
    static constexpr int RecordPauseMilliseconds = 10;

    // Lists the set into list, which becomes the parent. program: the program's waits, which
    // say when it is ending.
    RecordLister(RecordListWindow* list, SetListing listing, Dialogs& dialogs,
                 const Waiter& program);

private:
    void listNext();
    void finish();

    RecordListWindow* list_;
    SetListing listing_;
    int listed_ = 0;
    Dialogs& dialogs_;
    const Waiter& program_;
    QTimer* timer_;
};
