#include "cli/NetworkOptions.h"

#include "cli/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QSet>

NetworkOptions::NetworkOptions()
    : mqtt_(QCommandLineOption(QStringLiteral("mqtt"),
                               QStringLiteral("Also publish every reading to this MQTT broker: "
                                              "mqtt://HOST[:PORT] or mqtts://HOST[:PORT] (TLS)."),
                               QStringLiteral("url"))),
      prefix_(
          QCommandLineOption(QStringLiteral("mqtt-prefix"),
                             QStringLiteral("Topics are PREFIX/ID/state and PREFIX/ID/availability "
                                            "(default: meter)."),
                             QStringLiteral("prefix"))),
      discovery_(QStringLiteral("ha-discovery"),
                 QStringLiteral("Announce each meter to Home Assistant (MQTT discovery).")),
      discoveryPrefix_(
          QCommandLineOption(QStringLiteral("ha-prefix"),
                             QStringLiteral("Home Assistant's discovery prefix (default: "
                                            "homeassistant)."),
                             QStringLiteral("prefix"))),
      caFile_(QCommandLineOption(QStringLiteral("mqtt-cafile"),
                                 QStringLiteral("mqtts: the CA certificates to trust (default: the "
                                                "system's)."),
                                 QStringLiteral("file"))),
      certificate_(QCommandLineOption(QStringLiteral("mqtt-cert"),
                                      QStringLiteral("mqtts: this client's certificate."),
                                      QStringLiteral("file"))),
      key_(QCommandLineOption(QStringLiteral("mqtt-key"),
                              QStringLiteral("mqtts: this client's private key."),
                              QStringLiteral("file"))),
      credentials_(
          QCommandLineOption(QStringLiteral("mqtt-credentials"),
                             QStringLiteral("The broker's user name (first line) and password "
                                            "(second line), in a file only its owner may read. "
                                            "Else METER_MQTT_USERNAME and METER_MQTT_PASSWORD, "
                                            "else the service credential \"mqtt\"."),
                             QStringLiteral("file"))),
      backlog_(QCommandLineOption(
          QStringLiteral("mqtt-backlog"),
          QStringLiteral("Readings kept per meter while the broker is away; past "
                         "it the oldest go (default: 86400, a day)."),
          QStringLiteral("N"))),
      metrics_(
          QCommandLineOption(QStringLiteral("metrics"),
                             QStringLiteral("Serve Prometheus metrics at http://ADDRESS/metrics: "
                                            "PORT, HOST:PORT or [IPV6]:PORT (host default: "
                                            "127.0.0.1)."),
                             QStringLiteral("address"))),
      http_(QCommandLineOption(
          QStringLiteral("http"),
          QStringLiteral("Serve a live page of the meters at http://ADDRESS/, beside the "
                         "metrics: the same listener as --metrics, given the same way."),
          QStringLiteral("address"))),
      id_(QCommandLineOption(
          QStringLiteral("id"),
          QStringLiteral("The meter's id on MQTT and in the metrics, once per --port "
                         "in order (default: the meter's ID code)."),
          QStringLiteral("id"))) {}

void NetworkOptions::addTo(QCommandLineParser& parser) const {
    parser.addOptions({mqtt_, prefix_, discovery_, discoveryPrefix_, caFile_, certificate_, key_,
                       credentials_, backlog_, metrics_, http_, id_});
}

Result<NetworkPlan> NetworkOptions::read(const QCommandLineParser& parser,
                                         qsizetype portCount) const {
    NetworkPlan plan;
    if (parser.isSet(mqtt_)) {
        Result<PublishSettings> mqtt = readMqtt(parser);
        if (!mqtt)
            return mqtt.failure();
        plan.mqtt = std::move(mqtt).value();
    } else {
        for (const QCommandLineOption* option : {&prefix_, &discovery_, &discoveryPrefix_, &caFile_,
                                                 &certificate_, &key_, &credentials_, &backlog_}) {
            if (parser.isSet(*option))
                return wrongCall(QStringLiteral("--%1 needs --mqtt").arg(option->names().first()));
        }
    }
    if (parser.isSet(metrics_) && parser.isSet(http_))
        return wrongCall(QStringLiteral("--http and --metrics name the same listener: give one"));
    if (parser.isSet(metrics_) || parser.isSet(http_)) {
        const Result<ListenAddress> address =
            parseListenAddress(parser.value(parser.isSet(http_) ? http_ : metrics_));
        if (!address)
            return address.failure();
        plan.metricsAddress = *address;
    }
    plan.meterIds = parser.values(id_);
    if (plan.meterIds.isEmpty())
        return plan;
    if (!plan.needsMeterIds())
        return wrongCall(QStringLiteral("--id needs --mqtt, --http or --metrics"));
    if (plan.meterIds.size() != portCount)
        return wrongCall(QStringLiteral("give --id once for every --port, or not at all"));
    QSet<QString> seen;
    for (const QString& id : std::as_const(plan.meterIds)) {
        if (!isMeterId(id))
            return wrongCall(
                QStringLiteral("--id takes 1 to 64 letters, digits, '_' or '-', not \"%1\"")
                    .arg(id));
        if (seen.contains(id))
            return wrongCall(QStringLiteral("two meters have the id \"%1\"").arg(id));
        seen.insert(id);
    }
    return plan;
}

Result<PublishSettings> NetworkOptions::readMqtt(const QCommandLineParser& parser) const {
    PublishSettings settings;
    const Result<MqttUrl> broker = MqttUrl::parse(parser.value(mqtt_));
    if (!broker)
        return broker.failure();
    settings.connection.broker = *broker;
    if (parser.isSet(prefix_))
        settings.prefix = parser.value(prefix_);
    if (parser.isSet(discoveryPrefix_))
        settings.discoveryPrefix = parser.value(discoveryPrefix_);
    for (const QString& prefix : {settings.prefix, settings.discoveryPrefix}) {
        if (!isTopicPrefix(prefix))
            return wrongCall(
                QStringLiteral("\"%1\" is no topic prefix: levels of letters, digits, '_', "
                               "'-' or '.', split by '/'")
                    .arg(prefix));
    }
    settings.discovery = parser.isSet(discovery_);
    if (!settings.connection.broker.tls &&
        (parser.isSet(caFile_) || parser.isSet(certificate_) || parser.isSet(key_)))
        return wrongCall(
            QStringLiteral("--mqtt-cafile, --mqtt-cert and --mqtt-key need an mqtts:// broker"));
    if (parser.isSet(certificate_) != parser.isSet(key_))
        return wrongCall(QStringLiteral("--mqtt-cert and --mqtt-key go together"));
    settings.connection.caFile = parser.value(caFile_);
    settings.connection.certificateFile = parser.value(certificate_);
    settings.connection.keyFile = parser.value(key_);
    if (parser.isSet(backlog_)) {
        bool number = false;
        settings.backlogLimit = parser.value(backlog_).toLongLong(&number);
        if (!number || settings.backlogLimit <= 0)
            return wrongCall(QStringLiteral("--mqtt-backlog takes a positive whole number"));
    }
    // The credentials file given, else the environment, else the service's credential "mqtt"
    // (systemd's LoadCredential=), readable by the service alone.
    QString credentialsFile = parser.value(credentials_);
    if (credentialsFile.isEmpty()) {
        settings.connection.credentials = MqttCredentials::fromEnvironment();
        const QString service = qEnvironmentVariable("CREDENTIALS_DIRECTORY");
        if (!settings.connection.credentials && !service.isEmpty() &&
            QFileInfo::exists(service + QStringLiteral("/mqtt")))
            credentialsFile = service + QStringLiteral("/mqtt");
    }
    if (!credentialsFile.isEmpty()) {
        Result<MqttCredentials> credentials = MqttCredentials::readFile(credentialsFile);
        if (!credentials)
            return credentials.failure();
        settings.connection.credentials = std::move(credentials).value();
    }
    return settings;
}
