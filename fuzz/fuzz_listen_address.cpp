// The listen address on any text: an accepted one has a port from 1 to 65535 and reads back the
// same from the text written for it; and a host is accepted, alone with a port or in brackets,
// exactly when the system's own address parser reads it as IPv4 or as IPv6.
#include "FuzzCheck.h"
#include "logic/metrics/ListenAddress.h"

#include <QString>
#include <arpa/inet.h>
#include <cstdint>

namespace {

bool accepted(const QString& text) {
    return parseListenAddress(text).ok();
}

bool systemReads(int family, const QByteArray& host) {
    unsigned char address[sizeof(in6_addr)];
    return inet_pton(family, host.constData(), address) == 1;
}

void checkAccepted(const QString& text) {
    const Result<ListenAddress> parsed = parseListenAddress(text);
    if (!parsed) {
        FUZZ_CHECK(parsed.failure().exitStatus == ExitStatus::Usage);
        FUZZ_CHECK(parsed.failure().message.startsWith(QLatin1Char('"') + text +
                                                       QLatin1String("\" is no listen address: ")));
        return;
    }
    FUZZ_CHECK(parsed->port >= 1);
    const Result<ListenAddress> again = parseListenAddress(listenAddressText(*parsed));
    FUZZ_CHECK(again && *again == *parsed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    checkAccepted(text);
    // The system's parser reads up to a NUL; ours reads the whole text.
    const QByteArray host = text.toUtf8();
    if (host.contains('\0'))
        return 0;
    if (!text.startsWith(QLatin1Char('[')))
        FUZZ_CHECK(accepted(text + QLatin1String(":1")) == systemReads(AF_INET, host));
    if (!text.contains(QLatin1Char(']')))
        FUZZ_CHECK(accepted(QLatin1Char('[') + text + QLatin1String("]:1")) ==
                   systemReads(AF_INET6, host));
    return 0;
}
