#pragma once

#include "cli/NetworkOptions.h"
#include "cli/RecordPlan.h"
#include "logic/result/Result.h"

#include <QCommandLineOption>

class QCommandLineParser;

// record's options: the ports, the files, when to stop, and the network's.
class RecordOptions {
public:
    RecordOptions();

    void addTo(QCommandLineParser& parser) const;
    // The plan, or why the call is wrong. The network's credentials file is read here, so a wrong
    // one stops the run before any port opens.
    Result<RecordPlan> read(const QCommandLineParser& parser) const;

private:
    QCommandLineOption port_;
    QCommandLineOption output_;
    QCommandLineOption format_;
    QCommandLineOption dewPoint_;
    QCommandLineOption unit_;
    QCommandLineOption samples_;
    QCommandLineOption duration_;
    NetworkOptions network_;
};
