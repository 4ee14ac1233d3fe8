#pragma once

#include "cli/MeterPort.h"
#include "logic/recording/FileFormat.h"
#include "logic/recording/ReadingFile.h"
#include "logic/result/Result.h"
#include "net/NetworkPlan.h"

#include <QString>
#include <QStringList>
#include <vector>

// One meter of a recording: its port and the file its readings go to, {date} and {month} left
// in it for each reading's time to fill.
struct RecordTarget {
    PortName port;
    QString path;
};

// What record is asked to do.
struct RecordPlan {
    FileFormat format = FileFormat::Dat;
    RecordingOptions options;
    std::vector<RecordTarget> targets;
    // The readings to take of each meter, 0 for no limit.
    qint64 samples = 0;
    // How long to record, 0 for no limit.
    qint64 seconds = 0;
    NetworkPlan network;
};

// How the files of a recording are named: the output as given (empty without -o), the --format
// value (empty without it) and the ports. The plan's format and targets, or why the call is
// wrong.
Result<RecordPlan> planRecording(const QString& output, const QString& format,
                                 const QStringList& ports);

// The name {port} stands for: "COM1" for a COM port, the device's base name ("ttyUSB0") else.
QString portBaseName(const PortName& port);
