#include "net/BacklogFile.h"

#include <unistd.h>

namespace {

// "taken " and the offset in 19 digits: a header of fixed length, rewritten in place.
constexpr qint64 HeaderLength = 26;

std::optional<qint64> takenOffset(const QByteArray& header) {
    if (header.size() != HeaderLength || !header.startsWith("taken ") || !header.endsWith('\n'))
        return std::nullopt;
    bool number = false;
    const qint64 offset = header.mid(6, 19).toLongLong(&number);
    return number ? std::optional<qint64>(offset) : std::nullopt;
}

} // namespace

std::optional<std::vector<BacklogFile::Pending>> BacklogFile::open(const QString& path) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadWrite))
        return std::nullopt;
    std::optional<qint64> taken = takenOffset(file_.read(HeaderLength));
    // A file that is not ours, or whose header a crash cut short, starts over: what it held
    // cannot be told apart from what the broker already took.
    if (!taken && (!file_.resize(0) || !writeHeader(HeaderLength)))
        return std::nullopt;
    const qint64 from = std::clamp(taken.value_or(HeaderLength), HeaderLength, file_.size());
    file_.seek(from);
    const QByteArray rest = file_.readAll();
    std::vector<Pending> pending;
    qint64 lineStart = 0;
    for (qsizetype end = rest.indexOf('\n'); end >= 0; end = rest.indexOf('\n', lineStart)) {
        pending.push_back({rest.mid(lineStart, end - lineStart), from + end + 1});
        lineStart = end + 1;
    }
    // A line without its end was being written when the logger stopped: it goes.
    if (lineStart < rest.size() && !file_.resize(from + lineStart))
        return std::nullopt;
    return pending;
}

std::optional<qint64> BacklogFile::append(const QByteArray& payload) {
    if (!file_.seek(file_.size()) || file_.write(payload + '\n') != payload.size() + 1 ||
        !file_.flush() || ::fdatasync(file_.handle()) != 0)
        return std::nullopt;
    return file_.size();
}

bool BacklogFile::markTaken(qint64 offset) {
    // Emptied before the header says so: a crash in between leaves a header past the end, which
    // reads as nothing pending.
    if (offset >= file_.size() && !file_.resize(HeaderLength))
        return false;
    return writeHeader(std::min(offset, file_.size()));
}

bool BacklogFile::writeHeader(qint64 taken) {
    const QByteArray header = "taken " + QByteArray::number(taken).rightJustified(19, '0') + '\n';
    return file_.seek(0) && file_.write(header) == HeaderLength && file_.flush() &&
           ::fdatasync(file_.handle()) == 0;
}
