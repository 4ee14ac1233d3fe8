#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The meter's end of a pseudo-terminal. The program under test opens the slave device as its
// serial port; the simulator reads and writes the master. A slave descriptor stays open inside
// the simulator so that the master never sees a hang-up while no client has the device open.
class PtyDevice final : public QObject {
    Q_OBJECT
public:
    // linkPath: where a symbolic link to the slave device is kept (none when empty).
    explicit PtyDevice(QString linkPath, QObject* parent);
    ~PtyDevice() override;

    // Opens a fresh pseudo-terminal and points the link at it.
    bool open();
    // Closes both ends and removes the link: the client's device disappears.
    void close();
    bool isOpen() const { return master_ >= 0; }
    QString slavePath() const { return slavePath_; }
    QString errorText() const { return errorText_; }

    // Puts every byte on the line in order: what the terminal cannot take yet waits until the
    // client has read enough. Closing the terminal drops what still waits, as a meter talking to
    // an unplugged cable would lose it.
    void write(const QByteArray& bytes);

Q_SIGNALS:
    void received(const QByteArray& bytes);

private:
    bool fail(const QString& what);
    bool placeLink();
    void removeLink();
    void readMaster();
    void writePending();

    QString linkPath_;
    QString slavePath_;
    QString errorText_;
    int master_ = -1;
    int slaveKeeper_ = -1;
    QSocketNotifier* readNotifier_ = nullptr;
    QSocketNotifier* writeNotifier_ = nullptr;
    QByteArray pending_;
};
