#include "SimProcess.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>

SimProcess::~SimProcess() {
    process_.kill();
    process_.waitForFinished(3000);
}

QString SimProcess::devicePath() const {
    return dir_.path() +
           QStringLiteral("/%1-%2").arg(name_).arg(QCoreApplication::applicationPid());
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
    const bool linked = QTest::qWaitFor([this] { return QFileInfo::exists(devicePath()); }, 5000);
    qputenv("METER_COM1", devicePath().toLocal8Bit());
    for (const QString& line : controls)
        control(line);
    return linked;
}

void SimProcess::control(const QString& line) {
    process_.write(line.toUtf8() + '\n');
    process_.waitForBytesWritten(1000);
}
