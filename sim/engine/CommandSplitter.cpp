#include "engine/CommandSplitter.h"

namespace {

constexpr char EraseLetter = 'E';
constexpr int EraseLength = 3;

int leadingEraseLetters(const QByteArray& bytes) {
    int count = 0;
    while (count < bytes.size() && bytes.at(count) == EraseLetter)
        ++count;
    return count;
}

} // namespace

int CommandSplitter::commandLength(char first) {
    switch (first) {
    case ' ':
    case 'T':
    case 'S':
    case 'R':
    case 'Y':
    case 'C':
    case 'I':
        return 1;
    case EraseLetter:
        return EraseLength;
    case 'K':
    case 'W':
    case 'X':
        return 7;
    case 'D':
        return 8;
    default:
        return 0;
    }
}

void CommandSplitter::append(const QByteArray& bytes, qint64 nowMilliseconds) {
    if (!pending_.isEmpty() && nowMilliseconds - pendingSince_ > StaleMilliseconds)
        pending_.clear();
    if (pending_.isEmpty())
        pendingSince_ = nowMilliseconds;
    lastAppend_ = nowMilliseconds;
    pending_.append(bytes);
}

QByteArray CommandSplitter::next() {
    while (!pending_.isEmpty()) {
        const int length = commandLength(pending_.at(0));
        if (length == 0) {
            pending_.remove(0, 1);
            continue;
        }
        if (pending_.at(0) == EraseLetter) {
            // Erasing takes three E in a row: one or two E followed by anything else are dropped,
            // one or two E at the end wait for more.
            const int run = leadingEraseLetters(pending_);
            if (run < EraseLength && run < pending_.size()) {
                pending_.remove(0, run);
                continue;
            }
        }
        if (pending_.size() < length)
            return {};
        const QByteArray command = pending_.left(length);
        pending_.remove(0, length);
        // What is left arrived with the last read at the latest.
        pendingSince_ = lastAppend_;
        return command;
    }
    return {};
}
