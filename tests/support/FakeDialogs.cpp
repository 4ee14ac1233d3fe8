#include "FakeDialogs.h"

Dialogs::Answer FakeDialogs::message(QWidget*, const QString& text, Buttons buttons, Icon icon,
                                     const QString& title) {
    messages.append({text, buttons, icon, title});
    if (onMessage)
        onMessage(messages.constLast());
    return messageAnswers.isEmpty() ? Answer::Ok : messageAnswers.takeFirst();
}

QString FakeDialogs::input(QWidget*, const QString& prompt, const QString& title,
                           const QString& defaultText) {
    inputs.append({prompt, title, defaultText});
    return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
}

QString FakeDialogs::chooseFile(QWidget*, const FileRequest& request) {
    fileRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}
