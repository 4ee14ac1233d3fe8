#include "logic/recording/RecordedFileReader.h"

#include <QFileInfo>

namespace {

// Far longer than any line of ours: a longer one is not ours and is passed over.
constexpr qsizetype LongestLine = 4096;

} // namespace

RecordedFileReader::RecordedFileReader(const QString& path, FileFormat format, qint64 blockBytes)
    : file_(path), format_(format), blockBytes_(std::max<qint64>(blockBytes, 64)), lines_(format) {}

bool RecordedFileReader::open() {
    // A pipe or a device may block or never end.
    return QFileInfo(file_.fileName()).isFile() && file_.open(QIODevice::ReadOnly);
}

QByteArray RecordedFileReader::readAt(qint64 offset) {
    if (!file_.seek(offset))
        return {};
    QByteArray block = file_.read(blockBytes_);
    bytesRead_ += block.size();
    return block;
}

std::optional<qint64> RecordedFileReader::firstTimeAfter(qint64 offset) {
    const QByteArray block = readAt(offset);
    // A reader of its own: the data file's zone offsets follow the file's order, not a search.
    RecordedLineReader lines(format_);
    qsizetype start = 0;
    if (offset > 0) {
        start = block.indexOf('\n') + 1;
        if (start == 0)
            return std::nullopt;
    }
    for (qsizetype end = block.indexOf('\n', start); end >= 0;
         start = end + 1, end = block.indexOf('\n', start))
        if (const std::optional<RecordedReading> reading =
                lines.read(QByteArrayView(block).sliced(start, end + 1 - start)))
            return reading->takenAtMs;
    return std::nullopt;
}

void RecordedFileReader::seek(qint64 fromMs) {
    const qint64 size = file_.size();
    qint64 early = 0;
    qint64 late = size;
    // Only a reading older than fromMs moves the start forward: a block with none (damaged, or
    // a line longer than a block) leaves the start earlier, which reads more but misses nothing.
    for (qint64 back = blockBytes_; back < size; back *= 2) {
        const std::optional<qint64> taken = firstTimeAfter(size - back);
        if (taken && *taken < fromMs) {
            early = size - back;
            break;
        }
        late = size - back;
    }
    while (late - early > blockBytes_) {
        const qint64 middle = early + (late - early) / 2;
        const std::optional<qint64> taken = firstTimeAfter(middle);
        if (taken && *taken < fromMs)
            early = middle;
        else
            late = middle;
    }
    position_ = early;
    pending_.clear();
    skipToLineStart_ = early > 0;
    done_ = false;
}

bool RecordedFileReader::readBlock(const std::function<bool(const RecordedReading&)>& onReading) {
    if (done_)
        return false;
    const QByteArray block = readAt(position_);
    position_ += block.size();
    if (block.isEmpty()) {
        // What is left was cut by the end of the file: a line still being written.
        done_ = true;
        return false;
    }
    pending_ += block;
    qsizetype start = 0;
    for (qsizetype end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n', start)) {
        const QByteArrayView line = QByteArrayView(pending_).sliced(start, end + 1 - start);
        start = end + 1;
        if (skipToLineStart_) {
            skipToLineStart_ = false;
            continue;
        }
        if (const std::optional<RecordedReading> reading = lines_.read(line))
            if (!onReading(*reading)) {
                done_ = true;
                return false;
            }
    }
    pending_.remove(0, start);
    if (pending_.size() > LongestLine) {
        pending_.clear();
        skipToLineStart_ = true;
    }
    return true;
}
