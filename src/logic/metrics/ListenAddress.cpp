#include "logic/metrics/ListenAddress.h"

#include <QList>
#include <algorithm>

namespace {

const QString loopback = QStringLiteral("127.0.0.1");

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isHexDigit(QChar c) {
    return isAsciiDigit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

bool allOf(QStringView text, bool (*test)(QChar)) {
    return std::all_of(text.begin(), text.end(), test);
}

// "010" could be read as octal by one program and as ten by another: it is none.
bool isIpv4Part(QStringView part) {
    if (part.isEmpty() || part.size() > 3 || !allOf(part, isAsciiDigit))
        return false;
    return (part.size() == 1 || part.front() != QLatin1Char('0')) && part.toInt() <= 255;
}

bool isIpv4(QStringView text) {
    const QList<QStringView> parts = text.split(QLatin1Char('.'));
    return parts.size() == 4 && std::all_of(parts.begin(), parts.end(), isIpv4Part);
}

// The number of 16-bit groups a run of groups between "::" stands for, or -1 when it is none.
// Only the last run of the address may end in an IPv4 address, which stands for two groups.
int groupCount(QStringView run, bool last) {
    if (run.isEmpty())
        return 0;
    const QList<QStringView> groups = run.split(QLatin1Char(':'));
    int count = 0;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QStringView group = groups[i];
        if (last && i == groups.size() - 1 && isIpv4(group))
            count += 2;
        else if (!group.isEmpty() && group.size() <= 4 && allOf(group, isHexDigit))
            count += 1;
        else
            return -1;
    }
    return count;
}

bool isIpv6(QStringView text) {
    const qsizetype gap = text.indexOf(QLatin1String("::"));
    if (gap < 0)
        return groupCount(text, true) == 8;
    const QStringView before = text.left(gap);
    const QStringView after = text.mid(gap + 2);
    if (after.contains(QLatin1String("::")))
        return false;
    const int head = groupCount(before, false);
    const int tail = groupCount(after, true);
    // "::" stands for at least one group of zeros.
    return head >= 0 && tail >= 0 && head + tail <= 7;
}

std::optional<quint16> portOf(QStringView text) {
    if (text.isEmpty() || text.size() > 5 || !allOf(text, isAsciiDigit))
        return std::nullopt;
    const int port = text.toInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}

} // namespace

Result<ListenAddress> parseListenAddress(const QString& text) {
    const QString none = QStringLiteral("\"%1\" is no listen address: ").arg(text);
    const Failure badHost{ExitStatus::Usage,
                          none + QStringLiteral("the host must be an IPv4 address "
                                                "(127.0.0.1:9464) or an IPv6 address in "
                                                "brackets ([::1]:9464)")};
    QStringView host = loopback;
    QStringView port = text;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0)
            return badHost;
        host = QStringView(text).mid(1, close - 1);
        if (!isIpv6(host))
            return badHost;
        // "[::1]" or "[::1]x" is no port: left empty, the port check says so.
        const QStringView rest = QStringView(text).mid(close + 1);
        port = rest.startsWith(QLatin1Char(':')) ? rest.mid(1) : QStringView();
    } else if (const qsizetype colon = text.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        host = QStringView(text).left(colon);
        port = QStringView(text).mid(colon + 1);
        if (!isIpv4(host))
            return badHost;
    }
    const std::optional<quint16> number = portOf(port);
    if (!number)
        return Failure{ExitStatus::Usage,
                       none + QStringLiteral("the port must be a number from 1 to 65535")};
    return ListenAddress{host.toString(), *number};
}

QString listenAddressText(const ListenAddress& address) {
    const QString host =
        address.isIpv6() ? QLatin1Char('[') + address.host + QLatin1Char(']') : address.host;
    return host + QLatin1Char(':') + QString::number(address.port);
}
