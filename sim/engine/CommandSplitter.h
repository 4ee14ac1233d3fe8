#pragma once

#include <QByteArray>

// Cuts the bytes from the PC into whole commands. Bytes may come split over several reads or
// several commands at once; bytes that start no command are skipped. A parameter frame whose rest
// does not follow within StaleMilliseconds is given up, so one stray letter cannot swallow the
// commands after it for ever.
class CommandSplitter {
public:
    static constexpr qint64 StaleMilliseconds = 1000;

    void append(const QByteArray& bytes, qint64 nowMilliseconds);
    // The next whole command, or an empty array when none is complete yet.
    QByteArray next();
    void clear() { pending_.clear(); }

    // The length of the command that starts with this byte; 0 for a byte that starts none.
    static int commandLength(char first);

private:
    QByteArray pending_;
    qint64 pendingSince_ = 0;
    qint64 lastAppend_ = 0;
};
