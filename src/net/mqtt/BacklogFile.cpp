#include "net/mqtt/BacklogFile.h"

#include "logic/mqtt/MqttMessages.h"

#include <cerrno>
#include <sys/file.h>
#include <unistd.h>

namespace {

// "taken " and the offset in 19 digits: a header of fixed length, rewritten in place.
constexpr qint64 HeaderLength = 26;
// A reading takes some 200 bytes: a line longer than this is none of ours, and no more of it is
// kept in memory.
constexpr qsizetype LongestLine = 1024;
constexpr qint64 PieceSize = 64 * 1024;

std::optional<qint64> takenOffset(const QByteArray& header) {
    if (header.size() != HeaderLength || !header.startsWith("taken ") || !header.endsWith('\n'))
        return std::nullopt;
    bool number = false;
    const qint64 offset = header.mid(6, 19).toLongLong(&number);
    return number ? std::optional<qint64>(offset) : std::nullopt;
}

} // namespace

std::variant<BacklogFile::Loaded, BacklogFile::Unusable> BacklogFile::open(const QString& path,
                                                                           qsizetype limit) {
    const QMutexLocker lock(&mutex_);
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        fail(file_.errorString());
        return Unusable{failure_};
    }
    if (::flock(file_.handle(), LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        file_.close();
        fail(qt_error_string(error));
        return Unusable{failure_, error == EWOULDBLOCK};
    }
    const std::optional<qint64> taken = takenOffset(file_.read(HeaderLength));
    // A file that is not ours, or whose header a crash cut short, starts over: what it held
    // cannot be told apart from what the broker already took.
    if (!taken && !startOver())
        return Unusable{failure_};
    taken_ = taken.value_or(HeaderLength);
    Loaded loaded;
    qint64 whole = 0;
    if (!read(std::clamp(taken_, HeaderLength, file_.size()), limit, loaded, whole))
        return Unusable{failure_};
    if (loaded.pending.empty()) {
        if (!startOver())
            return Unusable{failure_};
    } else if (whole < file_.size() && !file_.resize(whole)) {
        // A line without its end was being written when the logger stopped: it goes.
        fail(file_.errorString());
        return Unusable{failure_};
    }
    return loaded;
}

bool BacklogFile::read(qint64 from, qsizetype limit, Loaded& loaded, qint64& whole) {
    if (!file_.seek(from))
        return fail(file_.errorString());
    QByteArray line;
    bool tooLong = false;
    bool zeros = false;
    qint64 offset = from;
    whole = from;
    for (QByteArray piece = file_.read(PieceSize); !piece.isEmpty();
         piece = file_.read(PieceSize)) {
        for (const char byte : std::as_const(piece)) {
            ++offset;
            if (byte == '\n') {
                if (tooLong || (!line.isEmpty() && !isStatePayload(line))) {
                    ++loaded.unreadable;
                } else if (!line.isEmpty()) {
                    loaded.pending.push_back({line, offset});
                    if (static_cast<qsizetype>(loaded.pending.size()) > limit) {
                        loaded.pending.pop_front();
                        ++loaded.dropped;
                    }
                }
                line.clear();
                tooLong = zeros = false;
                whole = offset;
            } else if (byte == '\0') {
                // A crash can leave zeros where the disk never got the lines: they end the line
                // before them, and the next line starts after them.
                if (!zeros)
                    ++loaded.unreadable;
                line.clear();
                tooLong = false;
                zeros = true;
            } else {
                zeros = false;
                if (line.size() < LongestLine)
                    line += byte;
                else
                    tooLong = true;
            }
        }
    }
    return file_.error() == QFileDevice::NoError || fail(file_.errorString());
}

std::optional<qint64> BacklogFile::append(const QByteArray& payload) {
    const QMutexLocker lock(&mutex_);
    if (failed_)
        return std::nullopt;
    const qint64 start = file_.size();
    if (writeAt(start, payload + '\n'))
        return file_.size();
    // Half a line would join the next one: the file ends where it did.
    file_.resize(start);
    return std::nullopt;
}

bool BacklogFile::markTaken(qint64 offset) {
    const QMutexLocker lock(&mutex_);
    if (offset == taken_)
        return true;
    return offset >= file_.size() ? startOver() : writeHeader(offset);
}

void BacklogFile::resume() {
    const QMutexLocker lock(&mutex_);
    failed_ = false;
}

QString BacklogFile::failure() const {
    const QMutexLocker lock(&mutex_);
    return failure_;
}

bool BacklogFile::writeAt(qint64 offset, QByteArrayView bytes) {
    if (!file_.seek(offset))
        return fail(file_.errorString());
    // A write cut short says no reason: the rest, tried again, fails with it.
    while (!bytes.isEmpty()) {
        const qint64 written = file_.write(bytes.data(), bytes.size());
        if (written <= 0)
            return fail(file_.errorString());
        bytes = bytes.sliced(written);
    }
    return ::fdatasync(file_.handle()) == 0 || fail(qt_error_string(errno));
}

bool BacklogFile::writeHeader(qint64 taken) {
    if (!writeAt(0, "taken " + QByteArray::number(taken).rightJustified(19, '0') + '\n'))
        return false;
    taken_ = taken;
    return true;
}

bool BacklogFile::startOver() {
    // Emptied before the header says so: a crash in between leaves a header past the end, which
    // reads as nothing pending.
    return (file_.resize(HeaderLength) || fail(file_.errorString())) && writeHeader(HeaderLength);
}

bool BacklogFile::fail(const QString& reason) {
    failure_ = reason;
    failed_ = true;
    return false;
}
