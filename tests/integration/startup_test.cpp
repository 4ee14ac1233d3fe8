#include "PanelRig.h"
#include "app/Application.h"
#include "ui/startup/SelectionWindow.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

bool running(const QObject* owner, const char* timer) {
    return owner->findChild<QTimer*>(QString::fromLatin1(timer))->isActive();
}

struct StartRig : FakePlatform {
    Application application{platform};
    QSignalSpy finished{&application, &Application::finished};

    StartRig() { application.start(); }

    SelectionWindow* selection() const { return application.selection(); }
    PanelWindow* choose(const QString& text) {
        selection()->TxtCOM()->setEditText(text);
        selection()->findChild<QPushButton*>(QStringLiteral("CmdOK"))->click();
        return application.panel();
    }
    int exitCode() const { return finished.isEmpty() ? -1 : finished.constFirst().at(0).toInt(); }
    QString caption(const char* name) const {
        return application.panel()->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void okStartsThePanel() {
        StartRig rig;
        PanelWindow* panel = rig.choose(QStringLiteral("COM8"));
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(rig.application.state().ComPortNumber, 8);
        QCOMPARE(rig.serial.portNumber(), 8);
        QCOMPARE(rig.caption("lblcomm"), QStringLiteral("Com8"));
        QVERIFY(running(&panel->link(), "Timer1") && running(panel, "Timer2"));
        QCOMPARE(panel->samplingCaption(), QStringLiteral("2 Sec"));
        QVERIFY(panel->findChild<QLabel*>(QStringLiteral("LBLRECORDING"))->isHidden());
        QVERIFY(!panel->menus().CMDSTOP->isEnabled());
        QWidget* splash = panel->findChild<QWidget*>(QStringLiteral("VORMAK"));
        QVERIFY(splash && splash->isVisible());
        QTRY_VERIFY(!rig.selection()->isVisible());
        QVERIFY(rig.finished.isEmpty());

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

    // Only the names the list offers, exactly as it writes them, choose a port.
    void aPortThatCannotBeOpenedEndsTheProgram_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("existingPorts");
        QTest::newRow("lower case name") << "com3" << QList<int>{1, 2, 3};
        QTest::newRow("blank after the name") << "COM3 " << QList<int>{1, 2, 3};
        QTest::newRow("ninth") << "COM9" << QList<int>{1, 9};
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
        QVERIFY(!running(&rig.application.panel()->link(), "Timer1"));
    }

    void closingThePortDialogEndsWithoutOpeningAPort() {
        StartRig rig;
        rig.selection()->close();
        QCOMPARE(rig.exitCode(), 0);
        QCOMPARE(rig.serial.openCount, 0);
    }

    // Inside the no-device state the poll waits in its own loop: closing the panel there, with
    // another window open, ends that loop and the program, and no later poll starts another.
    void closingThePanelEndsTheProgram() {
        StartRig rig;
        PanelWindow* panel = rig.choose(QStringLiteral("COM1"));
        (new QWidget(panel, Qt::Window))->show();
        int rounds = 0;
        rig.waiter.onWait = [&](double seconds) {
            if (seconds == 0.1 && ++rounds == 2)
                panel->close();
        };
        panel->link().Timer1_Timer();
        QCOMPARE(rounds, 2);
        QCOMPARE(rig.exitCode(), 0);
        QVERIFY(!rig.serial.isOpen());
        QVERIFY(!running(&panel->link(), "Timer1"));
        QVERIFY(!running(panel, "Timer2"));
        panel->link().Timer1_Timer();
        QCOMPARE(rounds, 2);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
