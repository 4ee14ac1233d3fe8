#pragma once

#include "logic/link/FrameDecoder.h"

#include <QByteArray>
#include <initializer_list>

// Bytes written as numbers, the way a frame's layout lists them.
inline QByteArray frameOf(std::initializer_list<int> bytes) {
    QByteArray data;
    for (int b : bytes)
        data.append(static_cast<char>(b));
    return data;
}

// What the program reads from a live frame.
inline LiveReading decodedLive(const QByteArray& frame) {
    LiveReading reading;
    decodeLiveFrame(frame, reading);
    return reading;
}
