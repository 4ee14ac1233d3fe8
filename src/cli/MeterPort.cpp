#include "cli/MeterPort.h"

#include "cli/CommandLine.h"
#include "platform/QtSerialPort.h"

#include <QRegularExpression>
#include <cerrno>
#include <unistd.h>

QString PortName::devicePath() const {
    return number != 0 ? serialDeviceName(number) : path;
}

std::optional<PortName> PortName::parse(const QString& text) {
    static const QRegularExpression comPort(QStringLiteral("^COM([1-8])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch match = comPort.match(text); match.hasMatch())
        return PortName{text, match.captured(1).toInt(), QString()};
    if (text.startsWith(QLatin1Char('/')))
        return PortName{text, 0, text};
    return std::nullopt;
}

std::optional<PortFailure> openMeterPort(QtSerialPort& port, const PortName& name) {
    const QString device = name.devicePath();
    const QByteArray encoded = device.toLocal8Bit();
    const QString shown =
        device == name.given ? device : QStringLiteral("%1 (%2)").arg(name.given, device);
    if (::access(encoded.constData(), F_OK) != 0)
        return PortFailure{ExitStatus::NoInput, QStringLiteral("%1: no such port").arg(shown)};
    if (::access(encoded.constData(), R_OK | W_OK) != 0 && errno == EACCES)
        return PortFailure{ExitStatus::NoPermission,
                           QStringLiteral("%1: permission denied: the user must be in the "
                                          "\"dialout\" group (sudo usermod -aG dialout $USER, "
                                          "then log in again)")
                               .arg(shown)};
    const bool opened = name.number != 0 ? port.open(name.number) : port.openDevice(name.path);
    if (opened)
        return std::nullopt;
    if (port.inUseByAnother())
        return PortFailure{ExitStatus::Unavailable,
                           QStringLiteral("%1: in use by another program").arg(shown)};
    return PortFailure{ExitStatus::Unavailable,
                       QStringLiteral("%1: cannot open (%2)").arg(shown, port.errorText())};
}
