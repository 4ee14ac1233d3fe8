// What a user hands the MQTT side in files and options: a credentials file of any bytes, any
// broker URL and any topic prefix or meter id. A credentials file that is taken gives a user
// name and a password free of line ends, carriage returns and NUL bytes that read back the same
// when written out again; a URL that is taken names a host and a port in range and reads back the
// same from its own parts; a prefix or id that is taken makes topics without wildcards or empty
// levels.
#include "FuzzCheck.h"
#include "logic/mqtt/MqttCredentials.h"
#include "logic/mqtt/MqttMessages.h"
#include "logic/mqtt/MqttUrl.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

void checkCredentials(const QByteArray& text) {
    const Result<MqttCredentials> credentials = MqttCredentials::parse(text);
    if (!credentials) {
        FUZZ_CHECK(!credentials.failure().message.isEmpty());
        return;
    }
    FUZZ_CHECK(text.size() <= 4096);
    FUZZ_CHECK(!credentials->userName.isEmpty());
    for (const QByteArray& field : {credentials->userName, credentials->password})
        FUZZ_CHECK(!field.contains('\n') && !field.contains('\0') && !field.contains('\r'));
    const Result<MqttCredentials> same =
        MqttCredentials::parse(credentials->userName + '\n' + credentials->password + '\n');
    FUZZ_CHECK(same && same->userName == credentials->userName &&
               same->password == credentials->password);
}

void checkUrl(const QString& text) {
    const Result<MqttUrl> url = MqttUrl::parse(text);
    if (!url)
        return;
    FUZZ_CHECK(!url->host.isEmpty());
    FUZZ_CHECK(url->port >= 1 && url->port <= 65535);
    const QString host = url->host.contains(u':') ? u'[' + url->host + u']' : url->host;
    const Result<MqttUrl> same =
        MqttUrl::parse(QStringLiteral("%1://%2:%3")
                           .arg(url->tls ? QStringLiteral("mqtts") : QStringLiteral("mqtt"), host)
                           .arg(url->port));
    FUZZ_CHECK(same && same->host == url->host && same->port == url->port && same->tls == url->tls);
}

void checkTopics(const QString& prefix, const QString& id) {
    if (!isTopicPrefix(prefix) || !isMeterId(id))
        return;
    const QByteArray state = MeterTopics(prefix, id).state();
    FUZZ_CHECK(!state.contains('+') && !state.contains('#') && !state.contains('\0'));
    FUZZ_CHECK(!state.contains("//") && !state.startsWith('/') && !state.startsWith('$'));
    FUZZ_CHECK(state == (prefix + u'/' + id + QStringLiteral("/state")).toUtf8());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string prefix = input.ConsumeRandomLengthString(80);
    const std::string id = input.ConsumeRandomLengthString(80);
    const std::string url = input.ConsumeRandomLengthString(200);
    const std::string credentials = input.ConsumeRemainingBytesAsString();
    checkTopics(QString::fromStdString(prefix), QString::fromStdString(id));
    checkUrl(QString::fromStdString(url));
    checkCredentials(QByteArray::fromStdString(credentials));
    return 0;
}
