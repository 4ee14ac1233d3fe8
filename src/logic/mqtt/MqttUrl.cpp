#include "logic/mqtt/MqttUrl.h"

#include <QUrl>

std::variant<MqttUrl, QString> MqttUrl::parse(const QString& text) {
    const QString wrong =
        QStringLiteral("--mqtt takes mqtt://HOST[:PORT] or mqtts://HOST[:PORT], not \"%1\"");
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return wrong.arg(text);
    MqttUrl broker;
    if (url.scheme() == QLatin1String("mqtts"))
        broker.tls = true;
    else if (url.scheme() != QLatin1String("mqtt"))
        return wrong.arg(text);
    // A user name or password in the URL would show in ps: they come from a file or the
    // environment only.
    if (!url.userInfo().isEmpty())
        return QStringLiteral("--mqtt: give the user name and password with --mqtt-credentials "
                              "FILE or the environment, never in the URL (it shows in ps)");
    if ((!url.path().isEmpty() && url.path() != QLatin1String("/")) || url.hasQuery() ||
        url.hasFragment())
        return wrong.arg(text);
    broker.host = url.host();
    broker.port = url.port(broker.tls ? 8883 : 1883);
    if (broker.port <= 0)
        return wrong.arg(text);
    return broker;
}
