#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// meter-sim started on a pseudo-terminal for end-to-end tests: its device is reachable through
// a symlink in a temporary folder, and control lines go to its standard input.
class SimProcess {
public:
    // Several simulators in one test need names of their own.
    explicit SimProcess(const QString& name = QStringLiteral("meter")) : name_(name) {}
    ~SimProcess();

    // Starts the simulator as the device of COM1 and sends it the given control lines.
    bool start(const QStringList& controls = {});
    // Serial ports are locked by their base name, so each test process links a name of its own.
    QString devicePath() const;
    void control(const QString& line);

private:
    QString name_;
    QTemporaryDir dir_;
    QProcess process_;
};
