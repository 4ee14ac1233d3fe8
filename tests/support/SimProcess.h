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
    QString devicePath() const { return dir_.path() + QStringLiteral("/COM1"); }
    void control(const QString& line);

private:
    QTemporaryDir dir_;
    QProcess process_;
};
