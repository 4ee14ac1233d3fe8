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

// Turns "Label|*.a|Other|*.b|" into Qt's "Label (*.a);;Other (*.b)" filter list.
QStringList qtFileFilters(const QString& pipeSeparated);
