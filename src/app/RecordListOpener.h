#pragma once

#include "ui/lists/RecordListWindow.h"
#include "ui/lists/RecordListing.h"
#include "ui/platform/Platform.h"

#include <QObject>
#include <QPointer>

class QWidget;
class RecordedFile;

// Makes REC_LIST for the datalogger window's SHOW DATA and keeps the one open: SHOW DATA closes
// it, and each set downloaded opens a fresh one that lists the set.
class RecordListOpener final : public QObject, public RecordListing {
    Q_OBJECT

public:
    // panel: the main window, parent of this and of every REC_LIST.
    RecordListOpener(QWidget* panel, const Platform& platform);

    // The file the recording has open, which no REC_LIST may save over; without it, nothing is
    // being recorded.
    void setRecordedFile(const RecordedFile& recordedFile) { recordedFile_ = &recordedFile; }

    // Closes the open REC_LIST and returns a fresh one, shown.
    RecordListWindow* open();
    // The open REC_LIST, or null.
    RecordListWindow* window() const { return window_; }

    void closeListing() override;
    void startListing(SetListing listing) override;

Q_SIGNALS:
    // A fresh REC_LIST is up; its chart requests and its closing can be connected now.
    void opened(RecordListWindow* window);

private:
    QWidget* panel_;
    Platform platform_;
    const RecordedFile* recordedFile_ = nullptr;
    QPointer<RecordListWindow> window_;
};
