#include "ui/recording/FileDialogState.h"

QString FileDialogState::choose(Dialogs& dialogs, QWidget* parent, bool save,
                                const QString& filter) {
    if (!filter.isEmpty())
        filter_ = filter;
    Dialogs::FileRequest request;
    request.save = save;
    request.filter = filter_;
    request.initialPath = fileName_;
    const QString chosen = dialogs.chooseFile(parent, request);
    if (!chosen.isEmpty())
        fileName_ = chosen;
    return chosen;
}
