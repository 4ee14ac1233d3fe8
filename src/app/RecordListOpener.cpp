#include "app/RecordListOpener.h"

#include "ui/lists/RecordListWindow.h"

RecordListOpener::RecordListOpener(QWidget* panel, const Platform& platform)
    : QObject(panel), panel_(panel), platform_(platform) {}

RecordListWindow* RecordListOpener::open() {
    closeListing();
    window_ = new RecordListWindow(panel_, platform_);
    if (recordedFile_)
        window_->setRecordedFile(*recordedFile_);
    window_->show();
    Q_EMIT opened(window_);
    return window_;
}

void RecordListOpener::closeListing() {
    if (window_)
        window_->close();
}

void RecordListOpener::startListing(SetListing listing) {
    open()->listRecords(std::move(listing));
}
