#pragma once

#include <QByteArray>

// The 7-byte buffer the datalogger frames "K", "W" and "X" are sent from. It starts zero-filled
// and each frame overwrites only its own leading positions, then the whole buffer goes out: a
// "K" therefore carries in its third byte the low byte of the last "W" or "X" (0 before any).
// Keep one instance for the whole run, not one per window, so that this holds across openings.
class LoggerCommandBuffer {
public:
    static constexpr int Size = 7;
    static constexpr int MaxParameter = 65535;

    // True for an ID code or interval the meter can take: 0 to 65535, checked before rounding.
    static bool isValidParameter(double value);

    // "K" for a set (1 to 255; only the low byte is sent). Returns the whole buffer.
    QByteArray download(int setNumber);
    // "W" with the datalogger interval in seconds, "X" with the ID code. The value is rounded to
    // a whole number, halves to the even neighbour. A value that fails isValidParameter is sent
    // as 0: check it first and tell the user. Returns the whole buffer.
    QByteArray interval(double seconds);
    QByteArray idCode(double code);

    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray parameter(char letter, double value);

    QByteArray bytes_ = QByteArray(Size, '\0');
};
