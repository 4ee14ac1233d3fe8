#include "logic/mqtt/MqttCredentials.h"

#include <QByteArrayList>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Larger than any user name and password a broker takes; a bigger file is not a credentials file.
constexpr qsizetype MaximumFileSize = 4096;

} // namespace

std::variant<MqttCredentials, QString> MqttCredentials::parse(QByteArrayView text) {
    if (text.size() > MaximumFileSize)
        return QStringLiteral("is larger than %1 bytes").arg(MaximumFileSize);
    QByteArrayList lines = text.toByteArray().split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines.first().isEmpty())
        return QStringLiteral("has no user name on its first line");
    if (lines.size() > 2)
        return QStringLiteral("has more than two lines (user name, then password)");
    // A stray CR is an editor's leftover, never part of a name or a password the user meant.
    for (const QByteArray& line : lines) {
        if (line.contains('\0') || line.contains('\r'))
            return QStringLiteral("holds a NUL byte or a stray carriage return");
    }
    return MqttCredentials{lines.first(), lines.size() == 2 ? lines.last() : QByteArray()};
}

std::variant<MqttCredentials, QString> MqttCredentials::readFile(const QString& path) {
    const auto wrong = [&path](const QString& why) {
        return QStringLiteral("%1: %2").arg(path, why);
    };
    // Opened without waiting, so that a FIFO or a device given here is refused rather than read
    // from whenever something writes to it.
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return wrong(QString::fromLocal8Bit(std::strerror(errno)));
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return wrong(file.errorString());
    }
    struct stat status {};
    if (::fstat(file.handle(), &status) != 0 || !S_ISREG(status.st_mode))
        return wrong(QStringLiteral("is not a plain file"));
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return wrong(QStringLiteral("group or others may read it; allow its owner alone "
                                    "(chmod 600 %1)")
                         .arg(path));
    const std::variant<MqttCredentials, QString> credentials =
        parse(file.read(MaximumFileSize + 1));
    if (const QString* why = std::get_if<QString>(&credentials))
        return wrong(*why);
    return credentials;
}

std::optional<MqttCredentials> MqttCredentials::fromEnvironment() {
    const QByteArray userName = qgetenv("METER_MQTT_USERNAME");
    if (userName.isEmpty())
        return std::nullopt;
    return MqttCredentials{userName, qgetenv("METER_MQTT_PASSWORD")};
}
