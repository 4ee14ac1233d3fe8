#include "logger/MeterSettingsCommands.h"

#include "link/MeterLink.h"
#include "logger/LoggerExchange.h"
#include "logger/PollPause.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "state/SharedState.h"

#include <QWidget>

MeterSettingsCommands::MeterSettingsCommands(QWidget* panel, MeterLink& link, SharedState& state,
                                             const Platform& platform,
                                             LoggerWindow::RecordListOpener openRecordList)
    : QObject(panel), panel_(panel), link_(link), state_(state), platform_(platform),
      openRecordList_(std::move(openRecordList)) {}

QString MeterSettingsCommands::eraseQuestion() {
    return QStringLiteral("ALL RECORDED DATA IN THE METER\n\rWILL BE DELETED!!");
}

void MeterSettingsCommands::closeLogger() {
    if (logger_)
        logger_->closeLogger();
}

void MeterSettingsCommands::CMDMEMORY_Click() {
    closeLogger();
    logger_ = new LoggerWindow(panel_, link_, state_, platform_, loggerCommands_, openRecordList_);
    logger_->show();
}

void MeterSettingsCommands::CMDERASE_Click() {
    if (platform_.dialogs.message(panel_, eraseQuestion(), Dialogs::Buttons::OkCancel,
                                  Dialogs::Icon::Exclamation,
                                  applicationTitle()) != Dialogs::Answer::Ok)
        return;
    const PollPause pause(link_);
    LoggerExchange exchange(platform_.serial, platform_.waiter, platform_.clock);
    exchange.discardInput();
    // An open LOGGER would go on showing sets that are gone.
    if (exchange.erase() == ExchangeOutcome::Done && logger_)
        logger_->scheduleStatusRefresh();
}

void MeterSettingsCommands::CMDSYSTEM_Click() {
    Q_EMIT commCaptionChanged(waitCaption());
    {
        const PollPause pause(link_);
        LoggerExchange exchange(platform_.serial, platform_.waiter, platform_.clock);
        exchange.discardInput();
        exchange.send(panelCommands_.setClock(platform_.clock.now()));
    }
    Q_EMIT commCaptionChanged(QStringLiteral("Com") + QString::number(state_.ComPortNumber));
    if (logger_)
        logger_->scheduleStatusRefresh();
}
