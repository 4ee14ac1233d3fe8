// The simulated meter's command splitter on any bytes in any pieces: every command it gives is
// whole (a command letter and its full length, erasing as three E), taken in order from the
// bytes sent, and the commands are the same however the bytes are cut, as long as no piece
// waits long enough to go stale.
#include "FuzzCheck.h"
#include "engine/CommandSplitter.h"

#include <QByteArrayList>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

QByteArrayList split(const QByteArray& bytes, const std::vector<qsizetype>& pieces,
                     const std::vector<qint64>& pauses) {
    CommandSplitter splitter;
    QByteArrayList commands;
    qint64 now = 0;
    qsizetype offset = 0;
    for (size_t piece = 0; offset < bytes.size(); ++piece) {
        const qsizetype length = pieces.empty() ? bytes.size() : pieces[piece % pieces.size()];
        if (!pauses.empty())
            now += pauses[piece % pauses.size()];
        splitter.append(bytes.mid(offset, length), now);
        offset += length;
        for (QByteArray command = splitter.next(); !command.isEmpty(); command = splitter.next())
            commands.append(command);
    }
    return commands;
}

// Every command whole, and found in the bytes in the order given.
void checkCommands(const QByteArrayList& commands, const QByteArray& bytes) {
    qsizetype from = 0;
    for (const QByteArray& command : commands) {
        const int length = CommandSplitter::commandLength(command[0]);
        FUZZ_CHECK(length > 0 && command.size() == length);
        if (command[0] == 'E')
            FUZZ_CHECK(command == "EEE");
        const qsizetype at = bytes.indexOf(command, from);
        FUZZ_CHECK(at >= 0);
        from = at + command.size();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<qsizetype> pieces(input.ConsumeIntegralInRange<size_t>(1, 8));
    for (qsizetype& piece : pieces)
        piece = input.ConsumeIntegralInRange<qsizetype>(1, 16);
    std::vector<qint64> pauses(input.ConsumeIntegralInRange<size_t>(1, 4));
    for (qint64& pause : pauses)
        pause = input.ConsumeIntegralInRange<qint64>(0, 3 * CommandSplitter::StaleMilliseconds);
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray bytes(rest.data(), static_cast<qsizetype>(rest.size()));

    const QByteArrayList whole = split(bytes, {}, {});
    checkCommands(whole, bytes);
    FUZZ_CHECK(split(bytes, pieces, {}) == whole);
    checkCommands(split(bytes, pieces, pauses), bytes);
    return 0;
}
