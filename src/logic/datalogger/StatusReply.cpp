#include "logic/datalogger/StatusReply.h"

#include "logic/datalogger/LoggerBytes.h"
#include "logic/text/NumberText.h"

std::optional<StatusReply> StatusReply::decode(const QByteArray& reply) {
    if (reply.size() != Length)
        return std::nullopt;
    StatusReply status;
    status.idCode = highFirstWord(reply, 0);
    status.setCount = byteValue(reply, 4);
    status.usedBytes = highFirstWord(reply, 5);
    status.intervalSeconds = highFirstWord(reply, 7);
    return status;
}

QString StatusReply::memorySizeText() {
    return QString::number(MemoryKilobytes) + QStringLiteral(" K");
}

QString StatusReply::remainingText() const {
    if (setCount == 0)
        return memorySizeText();
    return formatNumber(MemoryKilobytes - usedBytes / 1024.0, QStringLiteral("##.0")) +
           QStringLiteral(" K");
}

QString StatusReply::intervalText() const {
    return signedNumberText(intervalSeconds) + QStringLiteral("  sec");
}

QString StatusReply::idCodeText() const {
    return QString::number(idCode);
}

QString StatusReply::setCountText() const {
    return QString::number(setCount);
}
