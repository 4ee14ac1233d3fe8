#pragma once

#include <QObject>

class QTimer;
class SerialPort;
class Waiter;
struct LiveReading;

// The exchange with the meter: the once-a-second poll, the no-device state that waits for the
// meter to come back, and the pause of the poll around every other command.
class MeterLink : public QObject {
    Q_OBJECT
public:
    static constexpr int AttemptsPerPoll = 50;
    // While the device node is gone, how many 0.1 s rounds pass between tries to reopen it.
    static constexpr int RoundsPerReopen = 10;

    MeterLink(QObject* parent, SerialPort& port, Waiter& waiter, LiveReading& reading);

    // The once-a-second poll (its timer is Timer1). Starting does nothing to a poll that runs
    // (it keeps its pace) nor to one an exchange holds paused (that starts with the last resume).
    void startPolling();
    void stopPolling();

    // Timer1's tick: asks the meter for a live frame and decodes it. A tick that falls due while
    // the previous one still waits is skipped.
    void Timer1_Timer();
    // The no-device state: returns once the meter sends anything (or the program ends).
    void WaitForMeter();

    // The poll and the no-device state in steps, for a caller that spaces them out itself
    // (many meters in one thread, with no nested waits): the same exchange, with the waits
    // between the steps left to the caller.
    static constexpr double FrameWaitSeconds = 0.01;
    static constexpr double CallWaitSeconds = 0.1;
    // Empties the receive buffer and asks for a live frame; FrameWaitSeconds later, takeFrame().
    void askForFrame();
    bool portOpen() const;
    // When exactly one frame came: it is decoded and frameDecoded() signalled.
    bool takeFrame();
    // Enters the no-device state, then calls the meter once a round, CallWaitSeconds apart,
    // until it calls back. round counts from 0: a device that went away is opened again every
    // RoundsPerReopen rounds.
    void enterNoDevice();
    void callMeter(int round);
    bool meterCalledBack() const;
    void leaveNoDevice();
    // Empties the receive buffer.
    void DiscardInput();

    // The exchange protocol of every command outside the poll: the poll timer stops, the
    // receive buffer is emptied (when asked), the bytes go out, the timer starts again.
    void sendCommand(const QByteArray& bytes, bool discardFirst = true);
    // The same for a command the meter takes a while over: the poll stays paused for that many
    // seconds after the bytes go out, and stays stopped if the program ends meanwhile.
    void sendCommandAndWait(const QByteArray& bytes, double seconds);
    // Pauses nest: an exchange that starts while another one waits (ERASE during a download)
    // must not restart the poll under the outer one. The poll starts again with the last resume.
    void pausePoll();
    void resumePoll();
    bool pollPaused() const { return pauseDepth_ > 0; }

    // Bytes may still come for an exchange given up on (the meter goes on sending the rest of a
    // set, or answers late): the next poll first waits until the line has been quiet for
    // QuietLineSeconds, dropping what arrives, so that none of it is read as a live frame.
    void awaitQuietLine() { quietLineWanted_ = true; }
    static constexpr double QuietLineSeconds = 2.0;

Q_SIGNALS:
    void frameDecoded();
    // The poll paused for an exchange (true), or free to run again (false).
    void pollPausedChanged(bool paused);
    void noDeviceEntered();
    void noDeviceLeft();

private:
    // False when the program ends meanwhile.
    bool waitForQuietLine();

    SerialPort& port_;
    Waiter& waiter_;
    LiveReading& reading_;
    QTimer* pollTimer_;
    bool polling_ = false;
    bool quietLineWanted_ = false;
    int pauseDepth_ = 0;
};
