#pragma once

#include "engine/MeterEngine.h"

#include <QObject>
#include <QString>
#include <QStringList>

class PtyDevice;
class ReplySender;

// The simulated meter on a pseudo-terminal: bytes from the client go to the engine, its replies
// go back through the reply sender, and control lines act on the engine or on the device.
class SimServer final : public QObject {
    Q_OBJECT
public:
    SimServer(const QString& linkPath, QObject* parent);

    bool start();
    QString errorText() const;
    QString devicePath() const;

    // One control line; its reply is written to standard output, and after "replug" a second
    // line with the new device path.
    void handleControlLine(const QString& line);

Q_SIGNALS:
    void quitRequested();

private:
    void onReceived(const QByteArray& bytes);
    // Carries out what only the device can do; returns lines to print after the reply.
    QStringList handleTransportRequest(MeterEngine::TransportRequest request);

    MeterEngine engine_;
    PtyDevice* device_;
    ReplySender* sender_;
};

// Writes one line to standard output at once, so a script reading it sees it without delay.
void printLine(const QString& line);
