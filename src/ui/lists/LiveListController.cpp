#include "ui/lists/LiveListController.h"

#include "logic/state/SharedState.h"
#include "ui/lists/Grid.h"
#include "ui/lists/ListWindow.h"
#include "ui/lists/LoadFileIntoGrid.h"
#include "ui/platform/Dialogs.h"
#include "ui/recording/FileDialogState.h"

#include <QDir>

LiveListController::LiveListController(QWidget* panel, RecordingState& recording, Dialogs& dialogs,
                                       FileDialogState& fileDialog, Printer& printer,
                                       Waiter& waiter)
    : QObject(panel), panel_(panel), recording_(recording), dialogs_(dialogs),
      fileDialog_(fileDialog), printer_(printer), waiter_(waiter) {}

ListWindow* LiveListController::showWindow() {
    if (!window_) {
        window_ = new ListWindow(panel_, recording_, dialogs_, printer_, waiter_);
        // A closed window is gone even before its deletion: LIST then makes a fresh one.
        connect(window_, &ListWindow::unloaded, this, [this] {
            window_ = nullptr;
            Q_EMIT listClosed();
        });
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    return window_;
}

void LiveListController::CMDLIST_Click() {
    recording_.ListLive = 1;
    showWindow();
}

void LiveListController::CMDOPEN_Click() {
    // No filter of its own: the dialog shows the one it last had.
    const QString chosen = fileDialog_.choose(dialogs_, panel_, false);
    if (chosen.isEmpty())
        return;
    ListWindow* window = showWindow();
    window->showAsFileView();
    const FileLoad load = LoadFileIntoGrid(window->grid(), chosen);
    if (load.complete)
        return;
    // A table cut short looks complete: the user must hear that it is not.
    const QString path = QDir::toNativeSeparators(chosen);
    if (!load.opened) {
        showFailure(dialogs_, window, QStringLiteral("THE FILE WAS NOT OPENED"),
                    QStringLiteral("%1\ncould not be opened (%2).").arg(path, load.whyStopped));
        return;
    }
    showFailure(dialogs_, window, QStringLiteral("THE FILE WAS NOT READ TO ITS END"),
                QStringLiteral("%1\nwas read only up to byte %2 of %3 (%4).\n"
                               "The %5 rows read up to there are listed.")
                    .arg(path, QString::number(load.bytesRead), QString::number(load.size),
                         load.whyStopped, QString::number(window->grid().rowCount() - 1)));
}

void LiveListController::appendLiveRow(const QString& rowBody) {
    if (recording_.ListLive == 1 && window_)
        window_->addLiveRow(rowBody);
}

ListWindow* LiveListController::window() const {
    return window_;
}
