#include "logic/live/MeterState.h"

#include <QDateTime>
#include <QTest>
#include <QTimeZone>

namespace {

ExportValue value(const char* decimal) {
    return exportValue(decimal).value_or(ExportValue{});
}

ExportRow row(const char* humidity, const char* temperature, char unit) {
    ExportRow row;
    row.humidity = value(humidity);
    row.temperature = value(temperature);
    row.unit = unit;
    row.dewPointCelsius = exportDewPoint(row.humidity, row.temperature, unit);
    return row;
}

const QDateTime takenAt = QDateTime::fromMSecsSinceEpoch(1796634000123, QTimeZone::utc());

} // namespace

// The meter as the page and scripts read it: numbers as numbers, no number for a value the meter
// could not give, the temperature and dew point in the unit the file is written in, and any text
// from a port or a path as JSON text.
class LiveStateTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void meterStateJson_data() {
        QTest::addColumn<MeterState>("state");
        QTest::addColumn<QByteArray>("json");

        MeterState starting;
        starting.meter = 2;
        starting.id = QStringLiteral("cellar");
        starting.port = QStringLiteral("/dev/<img src=x onerror=alert(1)>\"\\");
        starting.file = QStringLiteral("/var/lib/meter-logger/cellar-2026-12-07.csv");
        QTest::newRow("before the first reading")
            << starting
            << QByteArrayLiteral(
                   "{\"meters\":[{\"batteryLow\":false,\"dewPoint\":null,\"dewPointKind\":\"dew\","
                   "\"file\":\"/var/lib/meter-logger/cellar-2026-12-07.csv\",\"humidity\":null,"
                   "\"humidityStatus\":\"none\",\"id\":\"cellar\",\"message\":\"\",\"meter\":2,"
                   "\"port\":\"/dev/<img src=x onerror=alert(1)>\\\"\\\\\",\"readings\":0,"
                   "\"state\":\"starting\",\"takenAt\":null,\"temperature\":null,"
                   "\"temperatureStatus\":\"none\",\"temperatureUnit\":\"°C\"}]}");

        MeterState recording;
        recording.id = QStringLiteral("1234");
        takeReading(recording, takenAt, row("45.2", "21.5", 'C'));
        QTest::newRow("a reading")
            << recording
            << QByteArrayLiteral(
                   "{\"meters\":[{\"batteryLow\":false,\"dewPoint\":9.1,\"dewPointKind\":\"dew\","
                   "\"file\":\"\",\"humidity\":45.2,\"humidityStatus\":\"ok\",\"id\":\"1234\","
                   "\"message\":\"\","
                   "\"meter\":0,\"port\":\"\",\"readings\":1,\"state\":\"recording\","
                   "\"takenAt\":1796634000123,\"temperature\":21.5,\"temperatureStatus\":\"ok\","
                   "\"temperatureUnit\":\"°C\"}]}");

        MeterState frost;
        ExportRow cold = row("60.0", "-5.0", 'C');
        cold.writtenUnit = TemperatureUnit::Fahrenheit;
        cold.batteryLow = true;
        takeReading(frost, takenAt, cold);
        takeReading(frost, takenAt, cold);
        QTest::newRow("below freezing, written in Fahrenheit")
            << frost
            << QByteArrayLiteral(
                   "{\"meters\":[{\"batteryLow\":true,\"dewPoint\":11.2,\"dewPointKind\":\"frost\","
                   "\"file\":\"\",\"humidity\":60,\"humidityStatus\":\"ok\",\"id\":\"\","
                   "\"message\":\"\","
                   "\"meter\":0,\"port\":\"\",\"readings\":2,\"state\":\"recording\","
                   "\"takenAt\":1796634000123,\"temperature\":23,\"temperatureStatus\":\"ok\","
                   "\"temperatureUnit\":\"°F\"}]}");

        MeterState overload;
        takeReading(overload, takenAt, row("45.0", "OL", 'C'));
        QTest::newRow("a temperature beyond the range")
            << overload
            << QByteArrayLiteral(
                   "{\"meters\":[{\"batteryLow\":false,\"dewPoint\":null,\"dewPointKind\":\"dew\","
                   "\"file\":\"\",\"humidity\":45,\"humidityStatus\":\"ok\",\"id\":\"\","
                   "\"message\":\"\","
                   "\"meter\":0,\"port\":\"\",\"readings\":1,\"state\":\"overload\","
                   "\"takenAt\":1796634000123,\"temperature\":null,"
                   "\"temperatureStatus\":\"overload\",\"temperatureUnit\":\"°C\"}]}");

        MeterState failed = recording;
        failed.standing = MeterState::Standing::Failed;
        failed.message = QStringLiteral("/data/m.csv: cannot write (No space left on device)");
        takeReading(failed, takenAt, row("-OL", "20.0", 'C'));
        QTest::newRow("a reading does not hide a failure")
            << failed
            << QByteArrayLiteral(
                   "{\"meters\":[{\"batteryLow\":false,\"dewPoint\":null,\"dewPointKind\":\"dew\","
                   "\"file\":\"\",\"humidity\":null,\"humidityStatus\":\"underload\",\"id\":"
                   "\"1234\","
                   "\"message\":\"/data/m.csv: cannot write (No space left on device)\","
                   "\"meter\":0,\"port\":\"\",\"readings\":2,\"state\":\"failed\","
                   "\"takenAt\":1796634000123,\"temperature\":20,\"temperatureStatus\":\"ok\","
                   "\"temperatureUnit\":\"°C\"}]}");
    }
    void meterStateJson() {
        QFETCH(MeterState, state);
        QFETCH(QByteArray, json);
        QCOMPARE(metersJson({state}), json);
    }

    void standingText_data() {
        QTest::addColumn<MeterState::Standing>("standing");
        QTest::addColumn<QString>("text");
        using Standing = MeterState::Standing;
        for (const auto& [standing, text] : {std::pair{Standing::Starting, "starting"},
                                             {Standing::Recording, "recording"},
                                             {Standing::NoReading, "no reading"},
                                             {Standing::Overload, "overload"},
                                             {Standing::PortGone, "port gone"},
                                             {Standing::Reconnecting, "reconnecting"},
                                             {Standing::Failed, "failed"}})
            QTest::newRow(text) << standing << QString::fromLatin1(text);
    }
    void standingText() {
        QFETCH(MeterState::Standing, standing);
        QFETCH(QString, text);
        QCOMPARE(::standingText(standing), text);
    }
};

QTEST_GUILESS_MAIN(LiveStateTest)
#include "live_state_test.moc"
