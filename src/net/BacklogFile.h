#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>
#include <vector>

// A meter's readings for the broker kept on disk as well, so that a restart of the logger (a
// crash, a reboot, a kill) does not lose those the broker has not taken yet: a header line saying
// how far the broker has taken them, then one payload a line, each on the disk before the next.
// Once the broker has taken everything the file starts over, so it never holds more than the
// readings of the longest outage, no more than the recording's own file grows meanwhile.
class BacklogFile {
public:
    struct Pending {
        QByteArray payload;
        // Just past its line: once the broker has it, the file is taken up to here.
        qint64 end = 0;
    };

    // Opens the file, making it when missing. The readings not yet taken, oldest first (a last
    // line cut short by a crash is dropped); nothing when the file cannot be used (errorText()).
    std::optional<std::vector<Pending>> open(const QString& path);
    // Appends one reading; where its line ends, or nothing when it could not be written.
    std::optional<qint64> append(const QByteArray& payload);
    // The broker has everything up to offset. When that is all, the file starts over.
    bool markTaken(qint64 offset);

    QString errorText() const { return file_.errorString(); }

private:
    bool writeHeader(qint64 taken);

    QFile file_;
};
