#pragma once

#include <QByteArray>
#include <QFile>
#include <QMutex>
#include <QString>
#include <deque>
#include <optional>
#include <variant>

// A meter's readings for the broker kept on disk as well, so that a restart of the logger (a
// crash, a reboot, a kill) does not lose those the broker has not taken yet: a header line saying
// how far the broker has taken them, then one payload a line, each on the disk before the next.
// Once the broker has taken everything the file starts over, so it never holds more than the
// readings of the longest outage, no more than the recording's own file grows meanwhile.
// The meter's thread appends while the publisher's marks what was taken: every call takes a lock.
// The file is locked as well for as long as it is open, so that no second logger ever publishes as
// the same meter; the system lets go of that lock with the process, however it ends.
class BacklogFile {
public:
    struct Pending {
        QByteArray payload;
        // Just past its line: once the broker has it, the file is taken up to here.
        qint64 end = 0;
    };
    // What the runs before this one could not publish.
    struct Loaded {
        // The newest readings not yet taken, no more than the limit, oldest first.
        std::deque<Pending> pending;
        // Older ones past the limit, let go.
        quint64 dropped = 0;
        // Lines that are no reading this program wrote (a crash's zeros, a torn or foreign line),
        // left out.
        quint64 unreadable = 0;
    };
    struct Unusable {
        QString reason;
        // Another process has the file open: a logger publishing as the same meter.
        bool heldByAnother = false;
    };

    // Opens and locks the file, making it when missing, and reads it in pieces: nothing but the
    // newest `limit` readings is kept in memory, whatever the file's size.
    std::variant<Loaded, Unusable> open(const QString& path, qsizetype limit);
    // Appends one reading; where its line ends, or nothing when it could not be written (then
    // the file ends as it did before, and takes no more until resume()).
    std::optional<qint64> append(const QByteArray& payload);
    // The broker has everything up to offset. When that is all, the file starts over.
    bool markTaken(qint64 offset);
    // Takes readings again after a failure, once nothing else appends (a reading the file missed
    // in between would leave a hole).
    void resume();

    // Why the last write failed.
    QString failure() const;

private:
    bool writeAt(qint64 offset, QByteArrayView bytes);
    bool writeHeader(qint64 taken);
    bool startOver();
    bool read(qint64 from, qsizetype limit, Loaded& loaded, qint64& whole);
    bool fail(const QString& reason);

    mutable QMutex mutex_;
    QFile file_;
    // What the header says.
    qint64 taken_ = -1;
    QString failure_;
    bool failed_ = false;
};
