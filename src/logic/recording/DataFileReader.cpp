#include "logic/recording/DataFileReader.h"

#include "logic/recording/DataFileFormat.h"

#include <algorithm>
#include <cstring>

DataFileReader::DataFileReader(const QString& path, qsizetype blockSize)
    : file_(path), blockSize_(std::max<qsizetype>(1, blockSize)) {}

bool DataFileReader::open() {
    if (!file_.open(QIODevice::ReadOnly)) {
        error_ = file_.errorString();
        return false;
    }
    size_ = file_.size();
    return true;
}

bool DataFileReader::readFields(const std::function<void(QByteArrayView field)>& onField) {
    if (done_ || !file_.isOpen())
        return false;
    // A field longer than a block is read in ever larger steps, so a long line costs linear time.
    const qsizetype want = std::max(blockSize_, pending_);
    buffer_.resize(pending_ + want);
    const qint64 got = file_.read(buffer_.data() + pending_, want);
    if (got < 0) {
        error_ = file_.errorString();
        failed_ = true;
        done_ = true;
        return false;
    }
    bytesRead_ += got;
    const qsizetype filled = pending_ + got;
    const bool atEnd = got == 0 || file_.atEnd();
    if (atEnd && bytesRead_ < size_) {
        error_ = QStringLiteral("the file became shorter while it was read");
        failed_ = true;
    }
    const qsizetype used =
        splitDataFields(QByteArrayView(buffer_.constData(), filled), atEnd, onField);
    pending_ = filled - used;
    if (pending_ > 0 && used > 0)
        std::memmove(buffer_.data(), buffer_.constData() + used, pending_);
    if (atEnd)
        done_ = true;
    return !done_;
}
