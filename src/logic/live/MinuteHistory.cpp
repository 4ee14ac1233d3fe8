#include "logic/live/MinuteHistory.h"

#include "logic/recording/ExportRow.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <limits>

namespace {

constexpr qint64 MinuteMs = 60 * 1000;

double numberOf(const ExportValue& value) {
    if (value.status != ExportValue::Status::Ok)
        return std::numeric_limits<double>::quiet_NaN();
    return value.decimal.toDouble();
}

QJsonValue jsonOf(double value) {
    return std::isnan(value) ? QJsonValue(QJsonValue::Null) : QJsonValue(value);
}

qint64 minuteOf(qint64 ms) {
    return ms >= 0 ? ms / MinuteMs : (ms - MinuteMs + 1) / MinuteMs;
}

QString unitText(char unit) {
    return unit == 'F' ? QStringLiteral("\u00b0F") : QStringLiteral("\u00b0C");
}

} // namespace

HistoryPoint historyPoint(qint64 takenAtMs, const ExportRow& row) {
    return {takenAtMs, numberOf(row.humidity), numberOf(writtenTemperature(row)),
            numberOf(writtenDewPoint(row))};
}

std::optional<HistoryPoint> MinuteHistory::take(const HistoryPoint& point, char unit) {
    unit_ = unit;
    std::optional<HistoryPoint> completed;
    if (pending_ && minuteOf(pending_->takenAtMs) != minuteOf(point.takenAtMs))
        completed = completeMinute();
    pending_ = point;
    return completed;
}

std::optional<HistoryPoint> MinuteHistory::completeMinute() {
    const std::optional<HistoryPoint> completed = pending_;
    if (completed)
        commit(*completed);
    pending_.reset();
    return completed;
}

void MinuteHistory::putBefore(const MinuteHistory& earlier) {
    std::optional<qint64> firstMinute;
    if (count_ > 0)
        firstMinute = minuteOf(at(0).takenAtMs);
    else if (pending_)
        firstMinute = minuteOf(pending_->takenAtMs);
    MinuteHistory merged;
    for (int index = 0; index < earlier.count_; ++index)
        if (!firstMinute || minuteOf(earlier.at(index).takenAtMs) < *firstMinute)
            merged.commit(earlier.at(index));
    for (int index = 0; index < count_; ++index)
        merged.commit(at(index));
    merged.pending_ = pending_;
    merged.unit_ = firstMinute ? unit_ : earlier.unit_;
    *this = std::move(merged);
}

void MinuteHistory::commit(const HistoryPoint& point) {
    while (count_ > 0 && minuteOf(at(count_ - 1).takenAtMs) >= minuteOf(point.takenAtMs))
        --count_;
    if (count_ < Capacity) {
        const auto index = static_cast<size_t>((first_ + count_) % Capacity);
        if (index == slots_.size()) {
            // Once, and no more than a day: a vector that grew by doubling would hold 2048.
            slots_.reserve(Capacity);
            slots_.push_back(point);
        } else
            slots_[index] = point;
        ++count_;
        return;
    }
    slots_[static_cast<size_t>(first_)] = point;
    first_ = (first_ + 1) % Capacity;
}

const HistoryPoint& MinuteHistory::at(int index) const {
    return slots_[static_cast<size_t>((first_ + index) % Capacity)];
}

std::vector<HistoryPoint> MinuteHistory::points(qint64 nowMs) const {
    std::vector<HistoryPoint> day;
    day.reserve(static_cast<size_t>(count_));
    for (int index = 0; index < count_; ++index)
        if (at(index).takenAtMs > nowMs - DayMs)
            day.push_back(at(index));
    return day;
}

QByteArray historyJson(int meter, const std::vector<HistoryPoint>& points, char unit) {
    QJsonArray times, humidity, temperature, dewPoint;
    for (const HistoryPoint& point : points) {
        times.append(double(point.takenAtMs));
        humidity.append(jsonOf(point.humidity));
        temperature.append(jsonOf(point.temperature));
        dewPoint.append(jsonOf(point.dewPoint));
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("meter"), meter},
                                     {QStringLiteral("temperatureUnit"), unitText(unit)},
                                     {QStringLiteral("t"), times},
                                     {QStringLiteral("humidity"), humidity},
                                     {QStringLiteral("temperature"), temperature},
                                     {QStringLiteral("dewPoint"), dewPoint}})
        .toJson(QJsonDocument::Compact);
}

QByteArray historyPointJson(int meter, const HistoryPoint& point) {
    return QJsonDocument(QJsonObject{{QStringLiteral("meter"), meter},
                                     {QStringLiteral("t"), double(point.takenAtMs)},
                                     {QStringLiteral("humidity"), jsonOf(point.humidity)},
                                     {QStringLiteral("temperature"), jsonOf(point.temperature)},
                                     {QStringLiteral("dewPoint"), jsonOf(point.dewPoint)}})
        .toJson(QJsonDocument::Compact);
}
