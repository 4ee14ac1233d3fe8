#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The meter's answer to "Y": ID code, number of recorded sets, datalogger memory in use and the
// datalogger interval, with the texts the datalogger window shows for them.
struct StatusReply {
    static constexpr int Length = 9;
    static constexpr int MemoryKilobytes = 32;

    int idCode = 0;
    int setCount = 0;
    int usedBytes = 0;
    int intervalSeconds = 0;

    // Only a reply of exactly Length bytes is a status reply.
    static std::optional<StatusReply> decode(const QByteArray& reply);

    // The memory size: "32 K".
    static QString memorySizeText();
    // What is left: "19.5 K", ".5 K" (pattern "##.0"); "32 K" when no set is recorded.
    QString remainingText() const;
    // The interval with one space before it and two after: " 2  sec".
    QString intervalText() const;
    // The ID code in plain decimal: "1234".
    QString idCodeText() const;
    // The number of sets in plain decimal: "3".
    QString setCountText() const;
};
