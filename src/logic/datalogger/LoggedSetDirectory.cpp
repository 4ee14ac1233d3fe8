#include "logic/datalogger/LoggedSetDirectory.h"

#include "logic/datalogger/LoggerBytes.h"
#include "logic/text/NumberText.h"

namespace {

constexpr int LeadingBytes = 1;
constexpr int RecordCountOffset = 8;

} // namespace

int LoggedSetDirectory::expectedLength(int setCount) {
    return EntryLength * setCount + LeadingBytes;
}

QString LoggedSetDirectory::progressText(qsizetype collectedBytes) {
    return signedNumberText(static_cast<double>(collectedBytes / EntryLength)) +
           QStringLiteral(" SETS COMPLETED");
}

int LoggedSetDirectory::entryCount() const {
    if (bytes_.size() < LeadingBytes)
        return 0;
    return static_cast<int>((bytes_.size() - LeadingBytes) / EntryLength);
}

qsizetype LoggedSetDirectory::entryIndex(int set) const {
    if (set < 1 || set > entryCount())
        return -1;
    return LeadingBytes + qsizetype(EntryLength) * (set - 1);
}

std::optional<MeterStamp> LoggedSetDirectory::start(int set) const {
    const qsizetype index = entryIndex(set);
    if (index < 0)
        return std::nullopt;
    return MeterStamp::fromBytes(bytes_, index);
}

std::optional<QString> LoggedSetDirectory::startText(int set) const {
    if (const std::optional<MeterStamp> stamp = start(set))
        return stamp->setStartText();
    return std::nullopt;
}

std::optional<int> LoggedSetDirectory::recordCount(int set) const {
    const qsizetype index = entryIndex(set);
    if (index < 0)
        return std::nullopt;
    return highFirstWord(bytes_, index + RecordCountOffset);
}
