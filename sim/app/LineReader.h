#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// Control lines from a file descriptor (standard input, or a FIFO), read as they arrive through a
// socket notifier.
class LineReader final : public QObject {
    Q_OBJECT
public:
    // Reads fd until its end; the descriptor is not closed here.
    LineReader(int fd, QObject* parent);
    ~LineReader() override;

    // Creates the FIFO when missing and opens it so that it never reports an end: the simulator
    // holds a writing end itself, so writers may come and go. Returns nullptr (and sets
    // errorText) when path exists but is not a FIFO or cannot be opened.
    static LineReader* openFifo(const QString& path, QObject* parent, QString* errorText);

Q_SIGNALS:
    void lineReceived(const QString& line);
    void finished();

private:
    void readAvailable();

    int fd_;
    bool ownsFd_ = false;
    QString createdFifo_;
    QSocketNotifier* notifier_;
    QByteArray partial_;
};
