#pragma once

#include "ScriptedSerialPort.h"
#include "engine/MeterEngine.h"

class Clock;

// A serial port with the simulated meter at its other end, in the same process: what the program
// writes goes to the engine, and the engine's reply waits to be read at once, or after the
// engine's reply delay (which needs the event loop to run). The engine's "unplug", "replug" and
// "raw" control lines act on this port as they do on the pseudo-terminal.
class SimSerialPort final : public ScriptedSerialPort {
    Q_OBJECT
public:
    // The clock must outlive the port.
    explicit SimSerialPort(const Clock* clock, QObject* parent = nullptr);

    bool open(int portNumber) override;
    void close() override;
    MeterEngine& engine() { return engine_; }

    // The device vanishes: an open port closes and deviceLost is signalled; open() fails until
    // replug().
    void unplug();
    void replug() { plugged_ = true; }

private:
    QByteArray deliver(const QByteArray& reply);
    void takeEnginePending();

    MeterEngine engine_;
    bool plugged_ = true;
    // Counts closes, so that a delayed reply never lands in a later opening of the port.
    quint64 session_ = 0;
};
