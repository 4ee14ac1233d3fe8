#pragma once

#include "device/datalogger/Datalogger.h"
#include "device/waits/CancellableWaiter.h"
#include "logic/datalogger/LoggedSetDirectory.h"
#include "ui/platform/Dialogs.h"

#include <QByteArray>
#include <QWidget>

class Grid;
class LoggerCommandBuffer;
class MeterLink;
class QLabel;
class QLineEdit;
class QPushButton;
class RecordListing;
struct LoggerSelection;
struct Platform;

// LOGGER: the meter's datalogger memory as the user sees it (memory used, ID code, interval,
// clock, the recorded sets) and the download of one set into a record list.
//
// One exchange with the meter runs at a time. A resize that comes during one is remembered and
// its status refresh runs after it; a button pressed or a set clicked during one is ignored.
// Closing the window ends a running exchange at its next wait, the poll starts again, and the
// window is deleted only once the exchange has unwound. A downloaded set is handed over for
// listing, which goes on on its own: what becomes of this window afterwards does not touch it.
class LoggerWindow final : public QWidget {
    Q_OBJECT

public:
    // panel: the main window, which LOGGER stands to the right of; it is the parent. selection:
    // the set chosen, which REC_LIST's charts read too. commands and listing outlive the window:
    // commands is the program's one frame buffer for "K", "W" and "X"; listing lists the sets
    // that SHOW DATA downloads.
    LoggerWindow(QWidget* panel, MeterLink& link, LoggerSelection& selection,
                 const Platform& platform, LoggerCommandBuffer& commands, RecordListing& listing);

    // The status refresh: on first show, on every resize, minimise and restore.
    void Form_Resize();
    // TIME OF METER: reads the meter's clock into Label3.
    void SSCommand6_Click();
    // ID CODE: sends Text3 to the meter as its ID code.
    void SSCommand4_Click();
    // SAMPLING: sends Text2 to the meter as its recording interval.
    void SSCommand5_Click();
    // TIME OF RECORDING: reads the set directory into Grid1.
    void SSCommand2_Click();
    // A click on the set directory: the current row's set becomes the selected one.
    void Grid1_Click();
    // SHOW DATA: downloads the chosen set and hands it over to be listed in a fresh REC_LIST.
    void SSCommand3_Click();

    bool exchangeRunning() const { return exchangeRunning_; }
    // Asks for a status refresh from the event loop, after a running exchange if one runs: for
    // the meter's memory or clock changed from the main window.
    void scheduleStatusRefresh();

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
    // The window opens: SHOW DATA greyed, beside the main window, the directory headed.
    void Form_Load();
    void statusRefresh();
    void sendParameter(QPushButton* button, QLineEdit* box, char letter);
    void reportNoAnswer();
    void message(const QString& text, Dialogs::Icon icon);

    QWidget* panel_;
    MeterLink& link_;
    LoggerSelection& selection_;
    Dialogs& dialogs_;
    CancellableWaiter waiter_;
    Datalogger session_;
    LoggerCommandBuffer& commands_;
    RecordListing& listing_;

    // The last set directory, as the meter sent it.
    LoggedSetDirectory directory_;

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
