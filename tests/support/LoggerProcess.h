#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

// meter-logger record as a user runs it, its stderr gathered as it comes.
struct Logger {
    QProcess process;
    QString errors;

    explicit Logger(const QStringList& arguments) {
        QObject::connect(&process, &QProcess::readyReadStandardError, &process, [this] {
            errors += QString::fromLocal8Bit(process.readAllStandardError());
        });
        process.start(qEnvironmentVariable("METER_LOGGER"),
                      QStringList{QStringLiteral("record")} + arguments);
    }
    ~Logger() {
        process.kill();
        process.waitForFinished(3000);
    }
    bool says(const QString& line) const { return errors.split(QLatin1Char('\n')).contains(line); }
    // The exit status once it has ended by itself, -1 if it crashed or kept running.
    int exitStatus(int milliseconds = 20000) {
        if (!QTest::qWaitFor([this] { return process.state() == QProcess::NotRunning; },
                             milliseconds))
            return -1;
        errors += QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
};
