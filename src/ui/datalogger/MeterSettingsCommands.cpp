#include "ui/datalogger/MeterSettingsCommands.h"

#include "ui/platform/Dialogs.h"

#include <QWidget>

MeterSettingsCommands::MeterSettingsCommands(QWidget* panel, MeterLink& link,
                                             LoggerSelection& selection,
                                             std::function<int()> portNumber,
                                             const Platform& platform, RecordListing& listing)
    : QObject(panel), panel_(panel), link_(link), selection_(selection),
      portNumber_(std::move(portNumber)), platform_(platform), listing_(listing),
      settings_(link, platform.serial, platform.waiter, platform.clock) {}

QString MeterSettingsCommands::eraseQuestion() {
    return QStringLiteral("ALL RECORDED DATA IN THE METER\n\rWILL BE DELETED!!");
}

void MeterSettingsCommands::closeLogger() {
    if (logger_)
        logger_->closeLogger();
}

void MeterSettingsCommands::CMDMEMORY_Click() {
    closeLogger();
    logger_ = new LoggerWindow(panel_, link_, selection_, platform_, loggerCommands_, listing_);
    logger_->show();
}

void MeterSettingsCommands::CMDERASE_Click() {
    if (platform_.dialogs.message(panel_, eraseQuestion(), Dialogs::Buttons::OkCancel,
                                  Dialogs::Icon::Exclamation,
                                  applicationTitle()) != Dialogs::Answer::Ok)
        return;
    // An open LOGGER would go on showing sets that are gone.
    if (settings_.erase() == ExchangeOutcome::Done && logger_)
        logger_->scheduleStatusRefresh();
}

void MeterSettingsCommands::CMDSYSTEM_Click() {
    Q_EMIT commCaptionChanged(waitCaption());
    settings_.setClock();
    Q_EMIT commCaptionChanged(QStringLiteral("Com") + QString::number(portNumber_()));
    if (logger_)
        logger_->scheduleStatusRefresh();
}
