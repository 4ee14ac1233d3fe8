#pragma once

#include "platform/Dialogs.h"

class QtDialogs final : public Dialogs {
public:
    Answer message(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                   const QString& title) override;
    QString input(QWidget* parent, const QString& prompt, const QString& title,
                  const QString& defaultText) override;
    QString chooseFile(QWidget* parent, const FileRequest& request) override;
};

// Turns "Label|*.a|Other|*.b|" into Qt's filter list "Label (*.a)", "Other (*.b)"; the dialog
// shows each label as given and filters by the patterns in the last parentheses.
QStringList qtFileFilters(const QString& pipeSeparated);
// Patterns separated by ";" as Qt takes them, separated by blanks; "*.*" becomes "*".
QString qtNamePatterns(const QString& patterns);
