// meter-sim as the program meets it: a serial device on a pseudo-terminal.
#include "SimProcess.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <QSignalSpy>
#include <QtTest>

namespace {

constexpr int WaitMs = 5000;

// Sends a command and collects the reply until it has the expected length or the wait ends; a
// little longer afterwards so that surplus bytes would show.
QByteArray exchange(QSerialPort& port, const QByteArray& command, int expected) {
    port.clear(QSerialPort::Input);
    port.write(command);
    port.waitForBytesWritten(WaitMs);
    QByteArray reply;
    const QDeadlineTimer deadline(WaitMs);
    while (reply.size() < expected && !deadline.hasExpired()) {
        if (port.waitForReadyRead(100))
            reply.append(port.readAll());
    }
    if (port.waitForReadyRead(50))
        reply.append(port.readAll());
    return reply;
}

// QSerialPort's defaults are the meter's 9600 8N1.
bool openPort(QSerialPort& port, const QString& path) {
    port.setPortName(path);
    return port.open(QIODevice::ReadWrite);
}

} // namespace

class SimPtyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pollStatusAndUnplug() {
        SimProcess sim;
        QVERIFY2(sim.start(), "meter-sim did not start");
        const QString link = sim.devicePath();
        const QString device = sim.readLine();
        QVERIFY2(device.startsWith(QStringLiteral("/dev/")), qPrintable(device));
        QCOMPARE(QFileInfo(link).symLinkTarget(), device);
        {
            QSerialPort port;
            QVERIFY2(openPort(port, link), qPrintable(port.errorString()));
            QCOMPARE(exchange(port, " ", 8).size(), 8);
            const QByteArray status = exchange(port, "Y", 9);
            QCOMPARE(status.size(), 9);
            QCOMPARE(quint8(status.at(4)), quint8(3));

            QSignalSpy errors(&port, &QSerialPort::errorOccurred);
            QCOMPARE(sim.ask(QStringLiteral("unplug")), QStringLiteral("ok"));
            QVERIFY(!QFileInfo::exists(link));
            QVERIFY(!QFileInfo::exists(device));
            // The open port notices: reads of a hung-up terminal fail at once (Qt calls it a read
            // error), and the next write fails as for a USB adapter pulled out.
            QTRY_VERIFY_WITH_TIMEOUT(!errors.isEmpty(), WaitMs);
            port.write(" ");
            QTRY_VERIFY_WITH_TIMEOUT(
                errors.contains(QVariantList{QVariant::fromValue(QSerialPort::ResourceError)}),
                WaitMs);
        }
        QCOMPARE(sim.ask(QStringLiteral("replug")), QStringLiteral("ok"));
        const QString again = sim.readLine();
        QVERIFY2(again.startsWith(QStringLiteral("/dev/")), qPrintable(again));
        QCOMPARE(sim.ask(QStringLiteral("nonsense")).left(6), QStringLiteral("error:"));
        QCOMPARE(QFileInfo(link).symLinkTarget(), again);
        {
            QSerialPort port;
            QVERIFY2(openPort(port, link), qPrintable(port.errorString()));
            QCOMPARE(exchange(port, " ", 8).size(), 8);
        }
        QCOMPARE(sim.ask(QStringLiteral("quit")), QStringLiteral("ok"));
        QVERIFY(sim.process().waitForFinished(WaitMs));
        QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.process().exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
    }
};

QTEST_GUILESS_MAIN(SimPtyTest)
#include "sim_pty_test.moc"
