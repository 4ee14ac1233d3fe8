#include "logger/SetDirectory.h"

#include "logger/LoggerBytes.h"
#include "text/NumberText.h"

namespace {

constexpr int LeadingBytes = 1;
constexpr int RecordCountOffset = 8;

} // namespace

int SetDirectory::expectedLength(int setCount) {
    return EntryLength * setCount + LeadingBytes;
}

QString SetDirectory::progressText(qsizetype collectedBytes) {
    return signedNumberText(static_cast<double>(collectedBytes / EntryLength)) +
           QStringLiteral(" SETS COMPLETED");
}

int SetDirectory::entryCount() const {
    if (bytes_.size() < LeadingBytes)
        return 0;
    return static_cast<int>((bytes_.size() - LeadingBytes) / EntryLength);
}

qsizetype SetDirectory::entryIndex(int set) const {
    if (set < 1 || set > entryCount())
        return -1;
    return LeadingBytes + qsizetype(EntryLength) * (set - 1);
}

std::optional<MeterStamp> SetDirectory::start(int set) const {
    const qsizetype index = entryIndex(set);
    if (index < 0)
        return std::nullopt;
    return MeterStamp::fromBytes(bytes_, index);
}

std::optional<QString> SetDirectory::startText(int set) const {
    if (const std::optional<MeterStamp> stamp = start(set))
        return stamp->setStartText();
    return std::nullopt;
}

std::optional<int> SetDirectory::recordCount(int set) const {
    const qsizetype index = entryIndex(set);
    if (index < 0)
        return std::nullopt;
    return highFirstWord(bytes_, index + RecordCountOffset);
}
