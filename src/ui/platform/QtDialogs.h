#pragma once

#include "ui/platform/Dialogs.h"

#include <QTemporaryDir>

class QtDialogs final : public Dialogs {
public:
    // The program keeps no settings between runs, yet Qt's file dialog writes its history and
    // last folder to the user's Qt settings whenever it closes. From here on that file lives in
    // a folder of this run, removed when the dialogs go: one run's dialogs still remember the
    // last folder, and nothing is left where the user keeps settings.
    QtDialogs();

    Answer message(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                   const QString& title) override;
    QString input(QWidget* parent, const QString& prompt, const QString& title,
                  const QString& defaultText) override;
    QString chooseFile(QWidget* parent, const FileRequest& request) override;

private:
    QTemporaryDir dialogHistory_;
};

// Turns "Label|*.a|Other|*.b|" into Qt's filter list "Label (*.a)", "Other (*.b)"; the dialog
// shows each label as given and filters by the patterns in the last parentheses.
QStringList qtFileFilters(const QString& pipeSeparated);
// Patterns separated by ";" as Qt takes them, separated by blanks; "*.*" becomes "*".
QString qtNamePatterns(const QString& patterns);
