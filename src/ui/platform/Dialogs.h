#pragma once

#include <QString>

class QWidget;

// Modal boxes and file dialogs. The program shows Qt's; tests answer through a scripted fake.
class Dialogs {
public:
    enum class Icon { None, Critical, Exclamation, Information };
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };

    struct FileRequest {
        bool save = false;
        // Label and pattern pairs joined by "|", for example "Data Files (*.dat)|*.dat|".
        QString filter;
        QString initialPath;
    };

    virtual ~Dialogs() = default;

    virtual Answer message(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                           const QString& title) = 0;
    // Returns the text typed; empty when the user cancelled.
    virtual QString input(QWidget* parent, const QString& prompt, const QString& title,
                          const QString& defaultText) = 0;
    // Returns the chosen path; empty when the user cancelled.
    virtual QString chooseFile(QWidget* parent, const FileRequest& request) = 0;
};

// The title every box carries when it names none of its own.
inline QString applicationTitle() {
    return QStringLiteral("Humidity_Temperature");
}

// A failure the user must not miss, in the program's style: a critical box under the
// application's title, the headline in capitals and " !!", then what failed and why.
inline void showFailure(Dialogs& dialogs, QWidget* parent, const QString& headline,
                        const QString& details) {
    dialogs.message(parent, headline + QStringLiteral(" !!\n") + details, Dialogs::Buttons::Ok,
                    Dialogs::Icon::Critical, applicationTitle());
}
