#include "engine/Bcd.h"

quint8 toBcd(int twoDigits) {
    const int value = qBound(0, twoDigits, 99);
    return static_cast<quint8>((value / 10) * 16 + value % 10);
}

int fromBcd(quint8 byte) {
    const int high = byte / 16;
    const int low = byte % 16;
    if (high > 9 || low > 9)
        return -1;
    return high * 10 + low;
}
