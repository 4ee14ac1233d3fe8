#pragma once

#include "device/datalogger/MeterSettings.h"
#include "logic/datalogger/LoggerCommandBuffer.h"
#include "ui/datalogger/LoggerWindow.h"
#include "ui/platform/Platform.h"

#include <QObject>
#include <QPointer>
#include <functional>

class MeterLink;
class QWidget;
class RecordListing;
struct LoggerSelection;

// The main window's OPTION items that talk to the meter's datalogger: MEMORY (a fresh LOGGER),
// ERASE (after its question) and SYSTEM TIME SET, after which an open LOGGER refreshes its status.
// It lives as long as the main window and keeps the program's frame buffers, so a "K" carries the
// last "W"/"X" low byte whichever LOGGER sent it.
class MeterSettingsCommands final : public QObject {
    Q_OBJECT

public:
    // panel: the main window; it is the parent, and LOGGER's too. selection: the set chosen in
    // LOGGER. portNumber: the COM port open, for lblcomm's caption. listing: where LOGGER's
    // SHOW DATA lists its sets.
    MeterSettingsCommands(QWidget* panel, MeterLink& link, LoggerSelection& selection,
                          std::function<int()> portNumber, const Platform& platform,
                          RecordListing& listing);

    // OPTION > MEMORY: a fresh LOGGER in place of an open one.
    void CMDMEMORY_Click();
    // OPTION > ERASE: after the user's OK, the meter's recorded sets are erased.
    void CMDERASE_Click();
    // OPTION > SYSTEM TIME SET: the meter's clock is set to the computer's.
    void CMDSYSTEM_Click();

    // The open LOGGER, or null.
    LoggerWindow* logger() const { return logger_; }

public Q_SLOTS:
    // Closes an open LOGGER, mid-exchange too.
    void closeLogger();

Q_SIGNALS:
    // lblcomm's caption: "WAIT" while the clock is set, then the port text ("Com1").
    void commCaptionChanged(const QString& caption);

private:
    static QString eraseQuestion();
    static QString waitCaption() { return QStringLiteral("WAIT"); }

    QWidget* panel_;
    MeterLink& link_;
    LoggerSelection& selection_;
    std::function<int()> portNumber_;
    Platform platform_;
    RecordListing& listing_;
    LoggerCommandBuffer loggerCommands_;
    MeterSettings settings_;
    QPointer<LoggerWindow> logger_;
};
