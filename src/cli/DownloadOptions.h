#pragma once

#include "cli/MeterPort.h"
#include "device/datalogger/WholeSetDownload.h"
#include "logic/recording/FileFormat.h"
#include "logic/result/Result.h"

#include <QCommandLineOption>
#include <QString>

class QCommandLineParser;

// What download is asked to do: which sets from which port, how hard to try, and where to.
struct DownloadPlan {
    PortName port;
    // 0: every set.
    int set = 0;
    SetCopyPolicy copies;
    QString path;
    FileFormat format = FileFormat::Dat;
};

// download's options: --port, --set or --all, -o, --format, --retries, --verify.
class DownloadOptions {
public:
    // Each copy of a full memory takes half a minute on the line.
    static constexpr int MaxRetries = 99;

    DownloadOptions();

    void addTo(QCommandLineParser& parser) const;
    // The plan, or why the call is wrong.
    Result<DownloadPlan> read(const QCommandLineParser& parser) const;

private:
    QCommandLineOption set_;
    QCommandLineOption all_;
    QCommandLineOption output_;
    QCommandLineOption retries_;
    QCommandLineOption verify_;
    QCommandLineOption format_;
};
