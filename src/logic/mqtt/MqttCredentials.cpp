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

Failure wrongText(const QString& why) {
    return {ExitStatus::Usage, why};
}

} // namespace

Result<MqttCredentials> MqttCredentials::parse(QByteArrayView text) {
    if (text.size() > MaximumFileSize)
        return wrongText(QStringLiteral("is larger than %1 bytes").arg(MaximumFileSize));
    QByteArrayList lines = text.toByteArray().split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines.first().isEmpty())
        return wrongText(QStringLiteral("has no user name on its first line"));
    if (lines.size() > 2)
        return wrongText(QStringLiteral("has more than two lines (user name, then password)"));
    // A stray CR is an editor's leftover, never part of a name or a password the user meant.
    for (const QByteArray& line : lines) {
        if (line.contains('\0') || line.contains('\r'))
            return wrongText(QStringLiteral("holds a NUL byte or a stray carriage return"));
    }
    return MqttCredentials{lines.first(), lines.size() == 2 ? lines.last() : QByteArray()};
}

Result<MqttCredentials> MqttCredentials::readFile(const QString& path) {
    const auto wrong = [&path](const QString& why) {
        return wrongText(QStringLiteral("%1: %2").arg(path, why));
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
    Result<MqttCredentials> credentials = parse(file.read(MaximumFileSize + 1));
    if (!credentials)
        return wrong(credentials.failure().message);
    return credentials;
}

std::optional<MqttCredentials> MqttCredentials::fromEnvironment() {
    const QByteArray userName = qgetenv("METER_MQTT_USERNAME");
    if (userName.isEmpty())
        return std::nullopt;
    return MqttCredentials{userName, qgetenv("METER_MQTT_PASSWORD")};
}
