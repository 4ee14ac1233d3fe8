#pragma once

#include "logic/result/Result.h"
#include "net/NetworkPlan.h"

#include <QCommandLineOption>
#include <QStringList>

class QCommandLineParser;

// record's network options: --mqtt URL and its companions, --metrics or --http ADDRESS (one
// listener under two names), --id.
class NetworkOptions {
public:
    NetworkOptions();

    void addTo(QCommandLineParser& parser) const;
    // The plan, or why the call is wrong. portCount: the --port options given. The credentials
    // file is read here, so a wrong one stops the run before any port opens.
    Result<NetworkPlan> read(const QCommandLineParser& parser, qsizetype portCount) const;

private:
    Result<PublishSettings> readMqtt(const QCommandLineParser& parser) const;

    QCommandLineOption mqtt_;
    QCommandLineOption prefix_;
    QCommandLineOption discovery_;
    QCommandLineOption discoveryPrefix_;
    QCommandLineOption caFile_;
    QCommandLineOption certificate_;
    QCommandLineOption key_;
    QCommandLineOption credentials_;
    QCommandLineOption backlog_;
    QCommandLineOption metrics_;
    QCommandLineOption http_;
    QCommandLineOption id_;
};
