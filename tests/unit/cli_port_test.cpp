// How meter-logger takes a port as the user names it, and what it says when the device is not the
// user's to open.
#include "cli/MeterPort.h"

#include <QDir>
#include <QTest>
#include <sys/stat.h>

class LoggerPortTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void portNames_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<int>("number"); // -1: no port
        QTest::addColumn<QString>("device");
        const QString here = QDir::currentPath();
        QTest::newRow("COM") << QStringLiteral("com3") << 3 << QStringLiteral("/dev/ttyS2");
        QTest::newRow("device") << QStringLiteral("/dev/ttyUSB0") << 0
                                << QStringLiteral("/dev/ttyUSB0");
        QTest::newRow("from the working folder")
            << QStringLiteral("./sims/m1") << 0 << here + QStringLiteral("/sims/m1");
        QTest::newRow("up and down")
            << QStringLiteral("sims/../m1") << 0 << here + QStringLiteral("/m1");
        QTest::newRow("COM9") << QStringLiteral("COM9") << -1 << QString();
        QTest::newRow("a bare name") << QStringLiteral("ttyUSB0") << -1 << QString();
    }
    void portNames() {
        QFETCH(QString, given);
        QFETCH(int, number);
        QFETCH(QString, device);
        qunsetenv("METER_COM3");
        const std::optional<PortName> port = PortName::parse(given);
        QCOMPARE(port.has_value(), number >= 0);
        if (!port)
            return;
        QCOMPARE(port->given, given);
        QCOMPARE(port->number, number);
        QCOMPARE(port->devicePath(), device);
    }

    void permissionHint_data() {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("group");
        QTest::addColumn<uint>("mode");
        QTest::addColumn<QString>("said");
        const QString join = QStringLiteral(
            "/dev/ttyS9: permission denied: the user must be in the \"%1\" group (sudo usermod "
            "-aG %1 $USER, then log in again)");
        QTest::newRow("dialout") << QStringLiteral("root") << QStringLiteral("dialout")
                                 << uint(S_IFCHR | 0660) << join.arg(QStringLiteral("dialout"));
        QTest::newRow("uucp") << QStringLiteral("root") << QStringLiteral("uucp")
                              << uint(S_IFCHR | 0660) << join.arg(QStringLiteral("uucp"));
        QTest::newRow("root alone")
            << QStringLiteral("root") << QStringLiteral("root") << uint(S_IFCHR | 0600)
            << QStringLiteral("/dev/ttyS9: permission denied: only its owner root may open it "
                              "(group root, mode 600)");
        QTest::newRow("group may only read")
            << QStringLiteral("meter") << QStringLiteral("dialout") << uint(S_IFCHR | 0640)
            << QStringLiteral("/dev/ttyS9: permission denied: only its owner meter may open it "
                              "(group dialout, mode 640)");
    }
    void permissionHint() {
        QFETCH(QString, owner);
        QFETCH(QString, group);
        QFETCH(uint, mode);
        QFETCH(QString, said);
        QCOMPARE(::permissionHint(QStringLiteral("/dev/ttyS9"), owner, group, mode), said);
    }
};

QTEST_GUILESS_MAIN(LoggerPortTest)
#include "cli_port_test.moc"
