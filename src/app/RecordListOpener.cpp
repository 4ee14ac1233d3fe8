#include "app/RecordListOpener.h"

#include "lists/RecordListWindow.h"

RecordListOpener::RecordListOpener(QWidget* panel, const Platform& platform,
                                   const RecordedFile& recordedFile)
    : QObject(panel), panel_(panel), platform_(platform), recordedFile_(recordedFile) {}

RecordListWindow* RecordListOpener::open() {
    if (window_)
        window_->close();
    window_ = new RecordListWindow(panel_, platform_);
    window_->setRecordedFile(recordedFile_);
    window_->show();
    Q_EMIT opened(window_);
    return window_;
}

std::function<RecordListWindow*()> RecordListOpener::factory() {
    return [opener = QPointer<RecordListOpener>(this)]() -> RecordListWindow* {
        return opener ? opener->open() : nullptr;
    };
}
