#pragma once

#include "ui/platform/Dialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

// Records every box and dialog the program asks for and gives the answers planned by the test.
// An unplanned box is answered OK (or with an empty text / path, as a user's cancel).
class FakeDialogs final : public Dialogs {
public:
    struct Message {
        QString text;
        Buttons buttons;
        Icon icon;
        QString title;
    };

    Answer message(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                   const QString& title) override;
    QString input(QWidget* parent, const QString& prompt, const QString& title,
                  const QString& defaultText) override;
    QString chooseFile(QWidget* parent, const FileRequest& request) override;

    // Planned answers, used in order.
    QList<Answer> messageAnswers;
    QStringList inputAnswers;
    QStringList fileAnswers;
    // Runs inside a message box, as a user's events would while the box is up.
    std::function<void(const Message&)> onMessage;

    QList<Message> messages;
    struct Input {
        QString prompt;
        QString title;
        QString defaultText;
    };
    QList<Input> inputs;
    QList<FileRequest> fileRequests;

    // Empty when exactly one box was shown and it is a failure in the program's style (critical
    // icon, the application's title) whose text holds every part; otherwise what is amiss.
    QString oneFailureBoxLacks(const QStringList& parts) const;
};
