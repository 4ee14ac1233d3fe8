#include "logger/RecordLister.h"

#include "lists/RecordListWindow.h"
#include "platform/Dialogs.h"
#include "platform/Waiter.h"

#include <QTimer>
#include <algorithm>

RecordLister::RecordLister(RecordListWindow* list, SetDownload data, int count, Ending ending,
                           Dialogs& dialogs, const Waiter& program)
    : QObject(list), list_(list), data_(std::move(data)), count_(count), ending_(std::move(ending)),
      dialogs_(dialogs), program_(program), timer_(new QTimer(this)) {
    if (const std::optional<DownloadHeader> header = data_.header())
        time_.emplace(header->start, header->intervalSeconds);
    // Only records that arrived whole can be listed.
    count_ = std::clamp(count_, 0, data_.recordsArrived());
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
    if (listed_ < count_) {
        if (listed_ > 0)
            time_->next();
        ++listed_;
        if (const std::optional<QString> row = data_.rowText(listed_, *time_))
            list_->appendRecordRow(*row);
        // The list closed meanwhile: that is the end.
        if (!timer_->isActive())
            return;
        list_->setStatusCaption(QString::number(listed_));
    }
    if (listed_ == count_)
        finish();
}

void RecordLister::finish() {
    // The box below waits for the user: no tick may come in under it.
    timer_->stop();
    list_->setStatusCaption(ending_.caption);
    if (!ending_.shortfall.isEmpty())
        dialogs_.message(list_, ending_.shortfall, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation,
                         applicationTitle());
}
