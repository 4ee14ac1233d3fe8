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

QString FakeDialogs::oneFailureBoxLacks(const QStringList& parts) const {
    if (messages.size() != 1)
        return QStringLiteral("%1 boxes shown").arg(messages.size());
    const Message& box = messages[0];
    if (box.icon != Icon::Critical || box.title != applicationTitle())
        return QStringLiteral("not a failure box: ") + box.title;
    for (const QString& part : parts)
        if (!box.text.contains(part))
            return QStringLiteral("\"%1\" lacks \"%2\"").arg(box.text, part);
    return {};
}
