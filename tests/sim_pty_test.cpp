// meter-sim as the program meets it: a serial device on a pseudo-terminal.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int WaitMs = 5000;

QString readLine(QProcess& process) {
    QElapsedTimer waited;
    waited.start();
    while (!process.canReadLine() && waited.elapsed() < WaitMs)
        process.waitForReadyRead(100);
    return QString::fromLocal8Bit(process.readLine()).trimmed();
}

// Serial ports are locked by their base name, so a link name of its own keeps this test apart from
// others running at the same time.
QString uniqueLinkName() {
    return QStringLiteral("meter-sim-test-%1").arg(QCoreApplication::applicationPid());
}

// A simulator that a failed check leaves running is stopped on the way out of the test.
struct SimProcess : QProcess {
    ~SimProcess() override {
        if (state() != QProcess::NotRunning) {
            kill();
            waitForFinished(WaitMs);
        }
    }
};

QString startSim(QProcess& process, const QStringList& arguments) {
    process.start(qEnvironmentVariable("METER_SIM"), arguments);
    if (!process.waitForStarted(WaitMs))
        return {};
    return readLine(process);
}

QString control(QProcess& process, const QByteArray& line) {
    process.write(line + '\n');
    return readLine(process);
}

// Sends a command and collects the reply until it has the expected length or the wait ends; a
// little longer afterwards so that surplus bytes would show.
QByteArray exchange(QSerialPort& port, const QByteArray& command, int expected) {
    port.clear(QSerialPort::Input);
    port.write(command);
    port.waitForBytesWritten(WaitMs);
    QByteArray reply;
    QElapsedTimer waited;
    waited.start();
    while (reply.size() < expected && waited.elapsed() < WaitMs) {
        if (port.waitForReadyRead(100))
            reply.append(port.readAll());
    }
    if (port.waitForReadyRead(50))
        reply.append(port.readAll());
    return reply;
}

bool openPort(QSerialPort& port, const QString& path) {
    port.setPortName(path);
    if (!port.open(QIODevice::ReadWrite))
        return false;
    port.setBaudRate(QSerialPort::Baud9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

} // namespace

class SimPtyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void pollStatusAndUnplug();
};

void SimPtyTest::initTestCase() {
    const QString sim = qEnvironmentVariable("METER_SIM");
    QVERIFY2(QFileInfo(sim).isExecutable(), "METER_SIM must name the built meter-sim");
}

void SimPtyTest::pollStatusAndUnplug() {
    QTemporaryDir dir;
    const QString link = dir.filePath(uniqueLinkName());
    SimProcess sim;
    const QString device = startSim(sim, {QStringLiteral("--link"), link});
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
        QCOMPARE(control(sim, "unplug"), QStringLiteral("ok"));
        QVERIFY(!QFileInfo::exists(link));
        QVERIFY(!QFileInfo::exists(device));
        // The client's open port notices: reads of a hung-up terminal fail at once (Qt calls it a
        // read error), and the next write fails as for a USB adapter pulled out.
        QTRY_VERIFY_WITH_TIMEOUT(!errors.isEmpty(), WaitMs);
        port.write(" ");
        QTRY_VERIFY_WITH_TIMEOUT(
            errors.contains(QVariantList{QVariant::fromValue(QSerialPort::ResourceError)}), WaitMs);
        port.close();
    }

    QCOMPARE(control(sim, "replug"), QStringLiteral("ok"));
    const QString again = readLine(sim);
    QVERIFY2(again.startsWith(QStringLiteral("/dev/")), qPrintable(again));
    QCOMPARE(control(sim, "nonsense").left(6), QStringLiteral("error:"));
    QCOMPARE(QFileInfo(link).symLinkTarget(), again);
    {
        QSerialPort port;
        QVERIFY2(openPort(port, link), qPrintable(port.errorString()));
        QCOMPARE(exchange(port, " ", 8).size(), 8);
    }

    QCOMPARE(control(sim, "quit"), QStringLiteral("ok"));
    QVERIFY(sim.waitForFinished(WaitMs));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(SimPtyTest)
#include "sim_pty_test.moc"
