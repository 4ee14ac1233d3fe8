#include "PanelRig.h"
#include "app/Application.h"
#include "app/SelectionWindow.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

struct StartRig {
    ScriptedSerialPort serial{nullptr};
    FakeDialogs dialogs;
    FakePrinter printer;
    FakeClock clock;
    FakeWaiter waiter{&clock};
    Platform platform{serial, dialogs, printer, clock, waiter};
    Application application{platform};
    QSignalSpy finished{&application, &Application::finished};

    StartRig() { application.start(); }

    SelectionWindow* selection() const { return application.selection(); }
    void choose(const QString& text) {
        selection()->TxtCOM()->setEditText(text);
        selection()->findChild<QPushButton*>(QStringLiteral("CmdOK"))->click();
    }
    int exitCode() const { return finished.isEmpty() ? -1 : finished.constFirst().at(0).toInt(); }
    QString caption(const char* name) const {
        return application.panel()->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
    QTemporaryDir dataDir;
private Q_SLOTS:
    void portNames_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("port");
        QTest::newRow("last") << "COM8" << 8;
        QTest::newRow("lower case") << "com3" << 0;
        QTest::newRow("ninth") << "COM9" << 0;
        QTest::newRow("blank after") << "COM3 " << 0;
    }
    void portNames() {
        QFETCH(QString, text);
        QFETCH(int, port);
        QCOMPARE(SelectionWindow::portNumberOf(text), port);
    }

    void okStartsThePanel() {
        StartRig rig;
        rig.choose(QStringLiteral("COM3"));
        PanelWindow* panel = rig.application.panel();
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(rig.application.state().ComPortNumber, 3);
        QVERIFY(rig.serial.isOpen());
        QCOMPARE(rig.serial.portNumber(), 3);
        QCOMPARE(rig.caption("lblcomm"), QStringLiteral("Com3"));
        QVERIFY(panel->Timer1()->isActive() && panel->Timer2()->isActive());
        QVERIFY(panel->findChild<QLabel*>(QStringLiteral("LBLRECORDING"))->isHidden());
        QVERIFY(!panel->menus().CMDSTOP->isEnabled());
        QVERIFY(panel->menus().CMDSTART->isEnabled());
        QWidget* splash = panel->findChild<QWidget*>(QStringLiteral("VORMAK"));
        QVERIFY(splash && splash->isVisible());
        QTRY_VERIFY(!rig.selection()->isVisible());
        QVERIFY(rig.finished.isEmpty());
        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    void menusReachTheirCommands() {
        StartRig rig;
        rig.choose(QStringLiteral("COM1"));
        PanelWindow* panel = rig.application.panel();
        const QString path = QDir(dataDir.path()).filePath(QStringLiteral("run.dat"));
        rig.dialogs.fileAnswers << path;
        rig.dialogs.inputAnswers << QStringLiteral("5");
        panel->menus().CMDSAMPLE->trigger();
        QCOMPARE(panel->samplingCaption(), QStringLiteral("5 Sec"));
        panel->menus().CMDSAVE->trigger();
        panel->menus().CMDSTART->trigger();
        panel->menus().CMDLIST->trigger();
        panel->Timer2_Timer();
        panel->Timer2_Timer();
        QCOMPARE(panel->Timer2()->interval(), 5000);
        QCOMPARE(rig.caption("LBLCOUNT"), QStringLiteral(" 2"));
        QCOMPARE(panel->fileCaption(), path);
        QVERIFY(panel->findChild<QWidget*>(QStringLiteral("LIST"))->isVisible());
        QCOMPARE(rig.application.state().recording.ListLive, 1);
        panel->menus().CMDSTOP->trigger();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 3); // two lines and what follows the last line end
        QVERIFY(lines[0].startsWith(" 1\t05-02-2003\t14:03:27\t"));
        QVERIFY(lines[1].startsWith(" 2\t"));

        // DEW opens on the tables the start-up filled.
        QVERIFY(rig.application.state().vapourTables.positive(0, 0).has_value());
        panel->menus().cmddew->trigger();
        QWidget* dew = panel->findChild<QWidget*>(QStringLiteral("DEW"));
        QVERIFY(dew && dew->isVisible());
        QVERIFY(dew->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    void hiddenButtonChoosesPortTwoAndOnlyHidesTheDialog() {
        StartRig rig;
        rig.selection()->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        QCOMPARE(rig.serial.portNumber(), 2);
        QCOMPARE(rig.caption("lblcomm"), QStringLiteral("Com2"));
        QVERIFY(rig.selection()->isHidden());
        QVERIFY(rig.finished.isEmpty());
    }

    void aPortThatCannotBeOpenedEndsTheProgram_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("existingPorts");
        QTest::newRow("lower case name") << "com3" << QList<int>{1, 2, 3};
        QTest::newRow("port held by another program") << "COM2" << QList<int>{1};
    }
    void aPortThatCannotBeOpenedEndsTheProgram() {
        QFETCH(QString, text);
        QFETCH(QList<int>, existingPorts);
        StartRig rig;
        rig.serial.availablePorts = existingPorts;
        rig.choose(text);
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].text, QStringLiteral("No device found, try again!"));
        QCOMPARE(rig.exitCode(), 1);
        QVERIFY(!rig.application.panel()->isVisible());
        QVERIFY(!rig.application.panel()->Timer1()->isActive());
    }

    void closingThePortDialogEndsWithoutOpeningAPort() {
        StartRig rig;
        rig.selection()->close();
        QCOMPARE(rig.exitCode(), 0);
        QCOMPARE(rig.serial.openCount, 0);
    }

    void closingThePanelEndsTheProgram() {
        StartRig rig;
        rig.choose(QStringLiteral("COM1"));
        PanelWindow* panel = rig.application.panel();
        auto* other = new QWidget(panel, Qt::Window);
        other->show();
        panel->close();
        QCOMPARE(rig.exitCode(), 0);
        QVERIFY(rig.waiter.stopping());
        QVERIFY(!rig.serial.isOpen());
        QVERIFY(!panel->Timer1()->isActive());
        QVERIFY(!panel->Timer2()->isActive());
    }

    void closingThePanelInsideTheNoDeviceStateEndsIt() {
        StartRig rig;
        rig.choose(QStringLiteral("COM1"));
        PanelWindow* panel = rig.application.panel();
        int rounds = 0;
        rig.waiter.onWait = [&](double seconds) {
            if (seconds == 0.1 && ++rounds == 2)
                panel->close();
        };
        panel->link().Timer1_Timer();
        QCOMPARE(rounds, 2);
        QCOMPARE(rig.exitCode(), 0);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
