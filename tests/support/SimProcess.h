#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// meter-sim started on a pseudo-terminal for end-to-end tests: its device is reachable through
// a symlink in a temporary folder, and control lines go to its standard input.
class SimProcess {
public:
    SimProcess();
    ~SimProcess();

    bool start();
    // Serial ports are locked by their base name, so each test process links a name of its own.
    QString devicePath() const;
    void control(const QString& line);
    // The simulator's next line of output (its device after a start or a replug, the answer to a
    // control line), or an empty text after five seconds.
    QString readLine();
    QString ask(const QString& line) {
        control(line);
        return readLine();
    }
    QProcess& process() { return process_; }

private:
    QTemporaryDir dir_;
    QProcess process_;
};
