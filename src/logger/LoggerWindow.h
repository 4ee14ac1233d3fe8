#pragma once

#include "logger/CancellableWaiter.h"
#include "logger/LoggerExchange.h"
#include "logger/SetDirectory.h"
#include "platform/Dialogs.h"

#include <QByteArray>
#include <QPointer>
#include <QWidget>
#include <functional>

class Grid;
class LoggerCommandBuffer;
class MeterLink;
class QLabel;
class QLineEdit;
class QPushButton;
class RecordListWindow;
struct Platform;
struct SharedState;

// LOGGER: the meter's datalogger memory as the user sees it (memory used, ID code, interval,
// clock, the recorded sets) and the download of one set into a record list.
//
// One exchange with the meter runs at a time. A resize that comes during one is remembered and
// its status refresh runs after it; a button pressed or a set clicked during one is ignored.
// Closing the window ends a running exchange at its next wait, the poll starts again, and the
// window is deleted only once the exchange has unwound. A downloaded set is handed to REC_LIST,
// which lists it on its own: what becomes of this window afterwards does not touch the list.
class LoggerWindow final : public QWidget {
    Q_OBJECT

public:
    // Closes an open record list and returns a fresh one, shown.
    using RecordListOpener = std::function<RecordListWindow*()>;

    // panel: the main window, which LOGGER stands to the right of; it is the parent. commands
    // outlives the window: it is the program's one frame buffer for "K", "W" and "X".
    LoggerWindow(QWidget* panel, MeterLink& link, SharedState& state, const Platform& platform,
                 LoggerCommandBuffer& commands, RecordListOpener openRecordList);

    // The status refresh: on first show, on every resize, minimise and restore.
    void Form_Resize();
    // TIME OF METER, ID CODE, SAMPLING, TIME OF RECORDING.
    void SSCommand6_Click();
    void SSCommand4_Click();
    void SSCommand5_Click();
    void SSCommand2_Click();
    // A click on the set directory: the current row's set becomes the selected one.
    void Grid1_Click();
    // SHOW DATA.
    void SSCommand3_Click();

    bool exchangeRunning() const { return exchangeRunning_; }
    // Asks for a status refresh from the event loop, after a running exchange if one runs: for
    // the meter's memory or clock changed from the main window.
    void scheduleStatusRefresh();

    static QString waitText() { return QStringLiteral("PLEASE WAIT....."); }
    static QString invalidEntryMessage() {
        return QStringLiteral("INVALID NOs, PLEASE TRY AGAIN!");
    }
    static QString noRecordsMessage() { return QStringLiteral("NO RECORDS, TRY AGAIN"); }
    static QString noAnswerMessage() {
        return QStringLiteral("THE METER DOES NOT ANSWER, TRY AGAIN!");
    }

public Q_SLOTS:
    // Closes the window, ending a running exchange cleanly. For the main window: link lost,
    // the meter recording, its REC button.
    void closeLogger();

Q_SIGNALS:
    // The window was closed; it is deleted once no exchange of its own runs any more.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Marks an exchange as running for its scope and, on the way out, deletes a window closed
    // meanwhile or runs a status refresh asked for meanwhile.
    class ExchangeScope {
    public:
        explicit ExchangeScope(LoggerWindow& window);
        ~ExchangeScope();
        ExchangeScope(const ExchangeScope&) = delete;
        ExchangeScope& operator=(const ExchangeScope&) = delete;

    private:
        LoggerWindow& window_;
    };

    void buildControls();
    void Form_Load();
    void statusRefresh();
    void sendParameter(QPushButton* button, QLineEdit* box, char letter);
    // An exchange given up on may still be answered (the meter sends the rest of a set whoever
    // listens): the poll must not take those bytes for a live frame.
    void settleLine(ExchangeOutcome outcome);
    void reportNoAnswer();
    void message(const QString& text, Dialogs::Icon icon);

    QWidget* panel_;
    MeterLink& link_;
    SharedState& state_;
    Dialogs& dialogs_;
    // A record list goes on filling when this window's waits are cancelled; only the program's
    // end stops it.
    const Waiter& programWaiter_;
    CancellableWaiter waiter_;
    LoggerExchange exchange_;
    LoggerCommandBuffer& commands_;
    RecordListOpener openRecordList_;
    QPointer<RecordListWindow> recordList_;

    // The last replies, as the meter sent them.
    QByteArray statusReply_;
    SetDirectory directory_;
    QByteArray setData_;

    bool exchangeRunning_ = false;
    bool refreshPending_ = false;
    bool refreshQueued_ = false;
    bool closed_ = false;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label6;
    QLabel* Label8;
    QLabel* LBLSET;
    QLabel* LBLRECORDS;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QPushButton* SSCommand2;
    QPushButton* SSCommand3;
    QPushButton* SSCommand4;
    QPushButton* SSCommand5;
    QPushButton* SSCommand6;
    Grid* Grid1;
};
