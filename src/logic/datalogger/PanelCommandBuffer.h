#pragma once

#include <QByteArray>

class QDateTime;

// The 8-byte buffer of the clock frame "D": the letter, six BCD fields (two-digit year, month,
// day, hour, minute, second) and a last byte that stays 0. Sent whole.
class PanelCommandBuffer {
public:
    static constexpr int Size = 8;

    // Writes the frame for the given moment and returns the whole buffer.
    QByteArray setClock(const QDateTime& moment);

    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_ = QByteArray(Size, '\0');
};
