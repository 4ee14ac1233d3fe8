#pragma once

#include "ui/platform/Dialogs.h"

#include <QString>

class QWidget;

// The main window's one file dialog, shared by SAVE AS and OPEN FILE. Like a dialog control
// that stays on the window between uses, it keeps the filter it was last given and the name it
// last returned, and starts from both the next time.
class FileDialogState {
public:
    // Shows the dialog as a save or open dialog. An empty filter keeps the one it last had.
    // Returns the chosen path, or an empty text when the user cancelled.
    QString choose(Dialogs& dialogs, QWidget* parent, bool save, const QString& filter = {});

    QString filter() const { return filter_; }
    QString fileName() const { return fileName_; }

private:
    QString filter_;
    QString fileName_;
};
