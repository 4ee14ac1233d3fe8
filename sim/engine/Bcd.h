#pragma once

#include <QtGlobal>

// The meter writes every two-digit field (clock, date, the digit pairs of a reading) as packed
// BCD: 59 travels as 0x59.
quint8 toBcd(int twoDigits);

// The value of a BCD byte, or -1 when one of its nibbles is not a decimal digit.
int fromBcd(quint8 byte);
