#include "net/live/ReadingsCsvStream.h"

#include <algorithm>
#include <cstring>

ReadingsCsvStream::ReadingsCsvStream(RecordedRange range, DewPointColumn dewPoint)
    : range_(std::move(range)), dewPoint_(dewPoint), waiting_(csvHeader(dewPoint)) {}

qint64 ReadingsCsvStream::read(char* buffer, qint64 max, const std::function<void()>&) {
    while (sent_ == waiting_.size() && !rangeRead_) {
        waiting_.clear();
        sent_ = 0;
        rangeRead_ = !range_.readBlock([this](const RecordedReading& reading) {
            appendCsvLine(waiting_, reading.row, dewPoint_);
        });
    }
    const qsizetype count = std::min<qsizetype>(waiting_.size() - sent_, max);
    if (count == 0)
        return Ended;
    std::memcpy(buffer, waiting_.constData() + sent_, size_t(count));
    sent_ += count;
    return count;
}
