#include "logic/live/MeterState.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

bool beyondRange(const ExportValue& value) {
    return value.status == ExportValue::Status::Overload ||
           value.status == ExportValue::Status::Underload;
}

QJsonValue numberOf(const ExportValue& value) {
    if (value.status != ExportValue::Status::Ok)
        return QJsonValue::Null;
    return value.decimal.toDouble();
}

QString statusOf(const ExportValue& value) {
    switch (value.status) {
    case ExportValue::Status::Ok:
        return QStringLiteral("ok");
    case ExportValue::Status::Overload:
        return QStringLiteral("overload");
    case ExportValue::Status::Underload:
        return QStringLiteral("underload");
    case ExportValue::Status::NoReading:
        break;
    }
    return QStringLiteral("none");
}

} // namespace

void takeReading(MeterState& state, const QDateTime& takenAt, const ExportRow& row) {
    state.row = row;
    state.takenAtMs = takenAt.toMSecsSinceEpoch();
    ++state.readings;
    if (state.standing != MeterState::Standing::Failed)
        state.standing = beyondRange(row.humidity) || beyondRange(row.temperature)
                             ? MeterState::Standing::Overload
                             : MeterState::Standing::Recording;
}

QString standingText(MeterState::Standing standing) {
    switch (standing) {
    case MeterState::Standing::Starting:
        return QStringLiteral("starting");
    case MeterState::Standing::Recording:
        return QStringLiteral("recording");
    case MeterState::Standing::NoReading:
        return QStringLiteral("no reading");
    case MeterState::Standing::Overload:
        return QStringLiteral("overload");
    case MeterState::Standing::PortGone:
        return QStringLiteral("port gone");
    case MeterState::Standing::Reconnecting:
        return QStringLiteral("reconnecting");
    case MeterState::Standing::Failed:
        break;
    }
    return QStringLiteral("failed");
}

QJsonObject meterStateJson(const MeterState& state) {
    const ExportRow row = state.row.value_or(ExportRow{});
    const ExportValue temperature = writtenTemperature(row);
    const bool fahrenheit = writtenUnit(row) == 'F';
    return QJsonObject{
        {QStringLiteral("meter"), state.meter},
        {QStringLiteral("id"), state.id},
        {QStringLiteral("port"), state.port},
        {QStringLiteral("file"), state.file},
        {QStringLiteral("state"), standingText(state.standing)},
        {QStringLiteral("message"), state.message},
        {QStringLiteral("humidity"), numberOf(row.humidity)},
        {QStringLiteral("humidityStatus"), statusOf(row.humidity)},
        {QStringLiteral("temperature"), numberOf(temperature)},
        {QStringLiteral("temperatureStatus"), statusOf(temperature)},
        {QStringLiteral("temperatureUnit"),
         fahrenheit ? QStringLiteral("\u00b0F") : QStringLiteral("\u00b0C")},
        {QStringLiteral("dewPoint"), numberOf(writtenDewPoint(row))},
        // Below 0 °C the window finds the point over ice.
        {QStringLiteral("dewPointKind"), row.dewPointCelsius && *row.dewPointCelsius < 0
                                             ? QStringLiteral("frost")
                                             : QStringLiteral("dew")},
        {QStringLiteral("batteryLow"), row.batteryLow},
        {QStringLiteral("takenAt"),
         state.takenAtMs ? QJsonValue(double(*state.takenAtMs)) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("readings"), double(state.readings)},
    };
}

QByteArray metersJson(const std::vector<MeterState>& meters) {
    QJsonArray array;
    for (const MeterState& meter : meters)
        array.append(meterStateJson(meter));
    return QJsonDocument(QJsonObject{{QStringLiteral("meters"), array}})
        .toJson(QJsonDocument::Compact);
}
