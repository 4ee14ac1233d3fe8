#pragma once

#include "engine/MeterEngine.h"
#include "platform/SerialPort.h"

#include <QDateTime>
#include <QList>
#include <functional>

class Clock;

// A serial port with the simulated meter at its other end, in the same process: what the program
// writes goes to the engine, and the engine's reply waits to be read at once, or after the
// engine's reply delay (which needs the event loop to run). The engine's "unplug", "replug" and
// "raw" control lines act on this port as they do on the pseudo-terminal.
class SimSerialPort final : public SerialPort {
    Q_OBJECT
public:
    explicit SimSerialPort(std::function<QDateTime()> pcClock, QObject* parent = nullptr);
    // The clock must outlive the port.
    explicit SimSerialPort(const Clock* clock, QObject* parent = nullptr);

    bool open(int portNumber) override;
    void close() override;
    bool isOpen() const override { return open_; }
    int portNumber() const override { return portNumber_; }
    QString errorText() const override { return errorText_; }

    void write(const QByteArray& bytes) override;
    int bytesWaiting() const override { return static_cast<int>(buffer_.size()); }
    QByteArray readAll() override;
    QByteArray read(int count) override;

    MeterEngine& engine() { return engine_; }

    // The device vanishes: an open port closes and deviceLost is signalled; open() fails until
    // replug().
    void unplug();
    void replug();
    bool plugged() const { return plugged_; }

    // Ports that have the meter on them; open() of any other fails.
    QList<int> availablePorts{1, 2, 3, 4, 5, 6, 7, 8};
    // Everything the program wrote while the port was open, one entry per write.
    QList<QByteArray> writes;

private:
    void deliver(const QByteArray& reply);
    void takeEnginePending();

    MeterEngine engine_;
    QByteArray buffer_;
    QString errorText_;
    bool open_ = false;
    bool plugged_ = true;
    int portNumber_ = 0;
    // Counts closes, so that a delayed reply never lands in a later opening of the port.
    quint64 session_ = 0;
};
