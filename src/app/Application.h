#pragma once

#include "logic/state/SharedState.h"
#include "ui/platform/Platform.h"
#include "ui/recording/FileDialogState.h"

#include <QObject>
#include <memory>

class PanelWindow;
class SelectionWindow;

// The program's run: the port dialog, the main window's start-up, the features wired to its
// menus, and the end. It owns the shared state and hands it to the windows.
class Application final : public QObject {
    Q_OBJECT
public:
    explicit Application(const Platform& platform, QObject* parent = nullptr);
    ~Application() override;

    void start();

    SharedState& state() { return state_; }
    SelectionWindow* selection() const { return selection_.get(); }
    PanelWindow* panel() const { return panel_.get(); }

Q_SIGNALS:
    // The program has ended with this exit status.
    void finished(int exitCode);

private:
    void onPortChosen(int portNumber, bool closeSelection);
    // The main window opens: defaults, the port, the timers, the splash; false when the port
    // cannot be opened.
    bool Form_Load();
    void end(int exitCode);

    Platform platform_;
    SharedState state_;
    // The main window's one file dialog, shared by SAVE AS and OPEN FILE.
    FileDialogState fileDialog_;
    std::unique_ptr<SelectionWindow> selection_;
    std::unique_ptr<PanelWindow> panel_;
    bool ended_ = false;
};
