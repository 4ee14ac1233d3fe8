#include "ui/lists/RecordLister.h"

#include "device/waits/Waiter.h"
#include "ui/lists/RecordListWindow.h"
#include "ui/platform/Dialogs.h"

#include <QTimer>

RecordLister::RecordLister(RecordListWindow* list, SetListing listing, Dialogs& dialogs,
                           const Waiter& program)
    : QObject(list), list_(list), listing_(std::move(listing)), dialogs_(dialogs),
      program_(program), timer_(new QTimer(this)) {
    // A closed list is deleted only later: nothing more goes into it, and no box stands over it.
    connect(list, &RecordListWindow::unloaded, timer_, &QTimer::stop);
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(RecordPauseMilliseconds);
    connect(timer_, &QTimer::timeout, this, &RecordLister::listNext);
    timer_->start();
}

void RecordLister::listNext() {
    if (program_.stopping()) {
        timer_->stop();
        return;
    }
    if (listed_ < listing_.records) {
        ++listed_;
        if (const std::optional<QString> row = listing_.nextRow())
            list_->appendRecordRow(*row);
        // The list closed meanwhile: that is the end.
        if (!timer_->isActive())
            return;
        list_->setStatusCaption(QString::number(listed_));
    }
    if (listed_ >= listing_.records)
        finish();
}

void RecordLister::finish() {
    // The box below waits for the user: no tick may come in under it.
    timer_->stop();
    list_->setStatusCaption(listing_.caption);
    if (!listing_.shortfall.isEmpty())
        dialogs_.message(list_, listing_.shortfall, Dialogs::Buttons::Ok,
                         Dialogs::Icon::Exclamation, applicationTitle());
}
