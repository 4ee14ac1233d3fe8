#include "logic/mqtt/MqttUrl.h"

#include <QUrl>

Result<MqttUrl> MqttUrl::parse(const QString& text) {
    const Failure wrong{
        ExitStatus::Usage,
        QStringLiteral("--mqtt takes mqtt://HOST[:PORT] or mqtts://HOST[:PORT], not \"%1\"")
            .arg(text)};
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return wrong;
    MqttUrl broker;
    if (url.scheme() == QLatin1String("mqtts"))
        broker.tls = true;
    else if (url.scheme() != QLatin1String("mqtt"))
        return wrong;
    // A user name or password in the URL would show in ps: they come from a file or the
    // environment only.
    if (!url.userInfo().isEmpty())
        return Failure{
            ExitStatus::Usage,
            QStringLiteral("--mqtt: give the user name and password with --mqtt-credentials "
                           "FILE or the environment, never in the URL (it shows in ps)")};
    if ((!url.path().isEmpty() && url.path() != QLatin1String("/")) || url.hasQuery() ||
        url.hasFragment())
        return wrong;
    broker.host = url.host();
    broker.port = url.port(broker.tls ? 8883 : 1883);
    if (broker.port <= 0)
        return wrong;
    return broker;
}
