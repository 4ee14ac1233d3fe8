#include "cli/MeterPort.h"

#include "device/platform/QtSerialPort.h"
#include "device/platform/TermiosSerialPort.h"
#include "logic/result/ExitStatus.h"

#include <QDir>
#include <QRegularExpression>
#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The device's owner and group by name, as ls shows them (the number when it has none).
QString deviceOwnerHint(const QString& shown, const QByteArray& device) {
    struct stat status {};
    if (::stat(device.constData(), &status) != 0)
        return QStringLiteral("%1: permission denied").arg(shown);
    const passwd* user = ::getpwuid(status.st_uid);
    const group* owningGroup = ::getgrgid(status.st_gid);
    return permissionHint(
        shown, user ? QString::fromLocal8Bit(user->pw_name) : QString::number(status.st_uid),
        owningGroup ? QString::fromLocal8Bit(owningGroup->gr_name) : QString::number(status.st_gid),
        status.st_mode);
}

} // namespace

QString PortName::devicePath() const {
    return number != 0 ? serialDeviceName(number) : path;
}

std::optional<PortName> PortName::parse(const QString& text) {
    static const QRegularExpression comPort(QStringLiteral("^COM([1-8])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch match = comPort.match(text); match.hasMatch())
        return PortName{text, match.captured(1).toInt(), QString()};
    // A path from the working folder (./sims/m1) is opened as the same device from anywhere.
    if (text.contains(QLatin1Char('/')))
        return PortName{text, 0, QDir::cleanPath(QDir::current().absoluteFilePath(text))};
    return std::nullopt;
}

QString permissionHint(const QString& shown, const QString& owner, const QString& group,
                       unsigned mode) {
    constexpr unsigned groupReadWrite = S_IRGRP | S_IWGRP;
    if ((mode & groupReadWrite) == groupReadWrite)
        return QStringLiteral("%1: permission denied: the user must be in the \"%2\" group "
                              "(sudo usermod -aG %2 $USER, then log in again)")
            .arg(shown, group);
    return QStringLiteral("%1: permission denied: only its owner %2 may open it (group %3, "
                          "mode %4)")
        .arg(shown, owner, group)
        .arg(mode & 0777, 3, 8, QLatin1Char('0'));
}

namespace {

template <typename Port> Result<> openPort(Port& port, const PortName& name) {
    const QString device = name.devicePath();
    const QByteArray encoded = device.toLocal8Bit();
    const QString shown =
        device == name.given ? device : QStringLiteral("%1 (%2)").arg(name.given, device);
    if (::access(encoded.constData(), F_OK) != 0)
        return Failure{ExitStatus::NoInput, QStringLiteral("%1: no such port").arg(shown)};
    if (::access(encoded.constData(), R_OK | W_OK) != 0 && errno == EACCES)
        return Failure{ExitStatus::NoPermission, deviceOwnerHint(shown, encoded)};
    const bool opened = name.number != 0 ? port.open(name.number) : port.openDevice(name.path);
    if (opened)
        return {};
    if (port.inUseByAnother())
        return Failure{ExitStatus::Unavailable,
                       QStringLiteral("%1: in use by another program").arg(shown)};
    return Failure{ExitStatus::Unavailable,
                   QStringLiteral("%1: cannot open (%2)").arg(shown, port.errorText())};
}

} // namespace

Result<> openMeterPort(QtSerialPort& port, const PortName& name) {
    return openPort(port, name);
}

Result<> openMeterPort(TermiosSerialPort& port, const PortName& name) {
    return openPort(port, name);
}
