#pragma once

#include "logger/LoggerCommandBuffer.h"
#include "logger/LoggerWindow.h"
#include "logger/MeterSettings.h"
#include "platform/Platform.h"

#include <QObject>
#include <QPointer>

class MeterLink;
class QWidget;
struct SharedState;

// The main window's OPTION items that talk to the meter's datalogger: MEMORY (a fresh LOGGER),
// ERASE (after its question) and SYSTEM TIME SET, after which an open LOGGER refreshes its status.
// It lives as long as the main window and keeps the program's frame buffers, so a "K" carries the
// last "W"/"X" low byte whichever LOGGER sent it.
class MeterSettingsCommands final : public QObject {
    Q_OBJECT

public:
    // panel: the main window; it is the parent, and LOGGER's too.
    MeterSettingsCommands(QWidget* panel, MeterLink& link, SharedState& state,
                          const Platform& platform, LoggerWindow::RecordListOpener openRecordList);

    void CMDMEMORY_Click();
    void CMDERASE_Click();
    void CMDSYSTEM_Click();

    // The open LOGGER, or null.
    LoggerWindow* logger() const { return logger_; }

    static QString eraseQuestion();
    static QString waitCaption() { return QStringLiteral("WAIT"); }

public Q_SLOTS:
    // Closes an open LOGGER, mid-exchange too.
    void closeLogger();

Q_SIGNALS:
    // lblcomm's caption: "WAIT" while the clock is set, then the port text ("Com1").
    void commCaptionChanged(const QString& caption);

private:
    QWidget* panel_;
    MeterLink& link_;
    SharedState& state_;
    Platform platform_;
    LoggerWindow::RecordListOpener openRecordList_;
    LoggerCommandBuffer loggerCommands_;
    MeterSettings settings_;
    QPointer<LoggerWindow> logger_;
};
