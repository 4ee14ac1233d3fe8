#include "engine/DataloggerMemory.h"

#include "engine/Bcd.h"

namespace {

void appendWord(QByteArray& bytes, int value) {
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
    bytes.append(static_cast<char>(value & 0xFF));
}

void appendStamp(QByteArray& bytes, const QDateTime& stamp) {
    const QDate date = stamp.date();
    const QTime time = stamp.time();
    for (int field :
         {date.year() % 100, date.month(), date.day(), time.hour(), time.minute(), time.second()})
        bytes.append(static_cast<char>(toBcd(field)));
}

} // namespace

int DataloggerMemory::usedBytes() const {
    int used = 0;
    for (const LoggedSet& set : sets_)
        used += SetHeaderBytes + static_cast<int>(set.records.size());
    return used;
}

bool DataloggerMemory::startSet(const QDateTime& start, int intervalSeconds) {
    if (setCount() >= MaxSets || freeBytes() < SetHeaderBytes + RecordBytes)
        return false;
    sets_.append(LoggedSet{start, qMax(1, intervalSeconds), {}});
    return true;
}

bool DataloggerMemory::appendRecord(const QByteArray& record) {
    if (sets_.isEmpty() || record.size() != RecordBytes || freeBytes() < RecordBytes)
        return false;
    sets_.last().records.append(record);
    return true;
}

QByteArray DataloggerMemory::directory() const {
    // Byte 1 carries nothing the PC reads; the meter sends the set count there.
    QByteArray bytes(1, static_cast<char>(setCount()));
    for (const LoggedSet& set : sets_) {
        appendStamp(bytes, set.start);
        appendWord(bytes, set.intervalSeconds);
        appendWord(bytes, set.recordCount());
    }
    return bytes;
}

QByteArray DataloggerMemory::download(int number) const {
    if (number < 1 || number > setCount())
        return {};
    const LoggedSet& chosen = set(number);
    QByteArray bytes;
    appendStamp(bytes, chosen.start);
    appendWord(bytes, chosen.intervalSeconds);
    appendWord(bytes, chosen.recordCount());
    bytes.append(chosen.records);
    return bytes;
}
