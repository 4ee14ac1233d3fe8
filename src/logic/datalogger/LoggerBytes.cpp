#include "logic/datalogger/LoggerBytes.h"

#include <QtGlobal>

int bcdNumber(quint8 byte) {
    const int high = byte >> 4;
    const int low = byte & 0x0F;
    if (high > 9)
        return 0;
    if (low > 9)
        return high;
    return high * 10 + low;
}

bool isBcd(quint8 byte) {
    return byte >> 4 <= 9 && (byte & 0x0F) <= 9;
}

quint8 bcdByte(int twoDigits) {
    const int value = qBound(0, twoDigits, 99);
    return static_cast<quint8>((value / 10) << 4 | value % 10);
}

int highFirstWord(const QByteArray& bytes, qsizetype index) {
    return byteValue(bytes, index) * 256 + byteValue(bytes, index + 1);
}
