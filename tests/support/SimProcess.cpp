#include "SimProcess.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>

SimProcess::~SimProcess() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(1000);
    }
}

QString SimProcess::devicePath() const {
    return dir_.path() + QStringLiteral("/meter-%1").arg(QCoreApplication::applicationPid());
}

bool SimProcess::start(const QStringList& controls) {
    const QString program = qEnvironmentVariable("METER_SIM");
    if (program.isEmpty() || !dir_.isValid())
        return false;
    process_.setProgram(program);
    process_.setArguments({QStringLiteral("--link"), devicePath()});
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(5000))
        return false;
    for (int i = 0; i < 100 && !QFileInfo::exists(devicePath()); ++i)
        QTest::qWait(50);
    qputenv("METER_COM1", devicePath().toLocal8Bit());
    for (const QString& line : controls)
        control(line);
    return QFileInfo::exists(devicePath());
}

void SimProcess::control(const QString& line) {
    process_.write(line.toUtf8() + '\n');
    process_.waitForBytesWritten(1000);
}
