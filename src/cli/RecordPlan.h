#pragma once

#include "cli/MeterPort.h"
#include "logic/recording/FileFormat.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>
#include <vector>

// One meter of a recording: its port and the file its readings go to, {date} and {month} left
// in it for each reading's time to fill.
struct RecordTarget {
    PortName port;
    QString path;
};

struct RecordPlan {
    FileFormat format = FileFormat::Dat;
    std::vector<RecordTarget> targets;
};

// How the files of a recording are named: the output as given (empty without -o), the --format
// value (empty without it) and the ports. The plan, or the reason the call is wrong.
std::variant<RecordPlan, QString> planRecording(const QString& output, const QString& format,
                                                const QStringList& ports);

// The name {port} stands for: "COM1" for a COM port, the device's base name ("ttyUSB0") else.
QString portBaseName(const PortName& port);
