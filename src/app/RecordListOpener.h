#pragma once

#include "platform/Platform.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;
class RecordListWindow;
class RecordedFile;

// Makes REC_LIST for the datalogger window's SHOW DATA: each time it closes the open one and
// returns a fresh one, shown.
class RecordListOpener final : public QObject {
    Q_OBJECT

public:
    // panel: the main window, parent of this and of every REC_LIST. recordedFile: the file
    // the recording has open, which no REC_LIST may save over.
    RecordListOpener(QWidget* panel, const Platform& platform, const RecordedFile& recordedFile);

    RecordListWindow* open();
    // open() as the datalogger window takes it.
    std::function<RecordListWindow*()> factory();
    // The open REC_LIST, or null.
    RecordListWindow* window() const { return window_; }

Q_SIGNALS:
    // A fresh REC_LIST is up; its chart requests and its closing can be connected now.
    void opened(RecordListWindow* window);

private:
    QWidget* panel_;
    Platform platform_;
    const RecordedFile& recordedFile_;
    QPointer<RecordListWindow> window_;
};
