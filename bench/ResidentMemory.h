#pragma once

#include <QFile>
#include <QString>

// The resident memory (VmRSS) a /proc/<pid>/status file reports, in MB; 0 when it cannot be read.
inline double residentMegabytesIn(const QString& statusPath) {
    QFile status(statusPath);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}
