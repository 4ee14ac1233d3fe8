#pragma once

#include "logic/recording/ExportRow.h"
#include "logic/recording/RecordedRange.h"
#include "net/http/HttpMessage.h"

// A meter's recorded readings in a range as CSV, in the form record --format csv writes, read
// from its files a block at a time as the client takes them.
class ReadingsCsvStream final : public BodyStream {
public:
    ReadingsCsvStream(RecordedRange range, DewPointColumn dewPoint);

    qint64 read(char* buffer, qint64 max, const std::function<void()>& suspend) override;

private:
    RecordedRange range_;
    DewPointColumn dewPoint_;
    QByteArray waiting_;
    qsizetype sent_ = 0;
    bool rangeRead_ = false;
};
