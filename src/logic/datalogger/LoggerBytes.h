#pragma once

#include <QByteArray>

// How the meter writes numbers into its replies.

// A BCD byte read as a two-digit decimal number; a nibble above 9 ends the number there, so 0x1A
// reads as 1 and 0xA5 as 0.
int bcdNumber(quint8 byte);

// Whether both nibbles of the byte are decimal digits.
bool isBcd(quint8 byte);

// The two-digit BCD byte of 0..99 (the tens in the high nibble): 3 gives 0x03, 59 gives 0x59.
quint8 bcdByte(int twoDigits);

// The unsigned 16-bit number, high byte first, at bytes[index] and bytes[index + 1]. The caller
// makes sure both bytes are there.
int highFirstWord(const QByteArray& bytes, qsizetype index);

// The value of bytes[index] as 0..255. The caller makes sure the byte is there.
inline int byteValue(const QByteArray& bytes, qsizetype index) {
    return static_cast<quint8>(bytes.at(index));
}
