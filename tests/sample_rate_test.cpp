#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "ScriptedSerialPort.h"
#include "logger/SampleRate.h"
#include "logger/SampleRateCommand.h"
#include "panel/PanelWindow.h"
#include "state/SharedState.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

namespace {

// The part of the main window the command uses: OPTION > SAMPLE RATE and lblsample.
struct SampleRig {
    QMainWindow panel;
    FakeDialogs dialogs;
    QLabel* lblsample;
    QAction* CMDSAMPLE;
    SampleRateCommand* command;

    SampleRig() {
        QMenu* option = panel.menuBar()->addMenu(QStringLiteral("OPTION"));
        option->setObjectName(QStringLiteral("CMDOPTION"));
        CMDSAMPLE = option->addAction(QStringLiteral("SAMPLE RATE"));
        CMDSAMPLE->setObjectName(QStringLiteral("CMDSAMPLE"));
        lblsample = new QLabel(QStringLiteral("2 Sec"), &panel);
        lblsample->setObjectName(QStringLiteral("lblsample"));
        command = new SampleRateCommand(&panel, dialogs);
    }
};

} // namespace

class SampleRateTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void captionForAnswer_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("caption");
        QTest::newRow("whole") << "10"
                               << "10 Sec";
        QTest::newRow("lowest") << "1"
                                << "1 Sec";
        QTest::newRow("highest") << "65"
                                 << "65 Sec";
        QTest::newRow("above the range") << "100"
                                         << "65 Sec";
        QTest::newRow("zero") << "0"
                              << "1 Sec";
        QTest::newRow("negative") << "-5"
                                  << "1 Sec";
        QTest::newRow("no number") << "abc"
                                   << "1 Sec";
        QTest::newRow("decimal comma") << "2,4"
                                       << "2 Sec";
        QTest::newRow("decimal comma like point") << "7,6"
                                                  << "8 Sec";
        QTest::newRow("decimal point") << "7.6"
                                       << "8 Sec";
        QTest::newRow("half rounds away from zero") << "2.5"
                                                    << "3 Sec";
        QTest::newRow("only the first comma") << "3,5,1"
                                              << "4 Sec";
        QTest::newRow("leading blanks and a unit") << "  30 seconds"
                                                   << "30 Sec";
        QTest::newRow("just above the top") << "65.4"
                                            << "65 Sec";
        QTest::newRow("just below one") << "0.9"
                                        << "1 Sec";
    }
    void captionForAnswer() {
        QFETCH(QString, answer);
        QFETCH(QString, caption);
        const std::optional<QString> result = sampleRateCaption(answer);
        QVERIFY(result.has_value());
        QCOMPARE(*result, caption);
    }

    void emptyAnswerChangesNothing() { QVERIFY(!sampleRateCaption(QString()).has_value()); }

    void periodAndDefaultText() {
        QCOMPARE(samplingPeriodSeconds(QStringLiteral("2 Sec")), 2.0);
        QCOMPARE(samplingPeriodSeconds(QStringLiteral("65 Sec")), 65.0);
        QCOMPARE(sampleRateDefaultText(QStringLiteral("2 Sec")), QStringLiteral("2"));
        QCOMPARE(sampleRateDefaultText(QStringLiteral("65 Sec")), QStringLiteral("65"));
    }

    void commandAsksAndSetsTheLabel() {
        SampleRig rig;
        rig.dialogs.inputAnswers << QStringLiteral("12,7");
        rig.CMDSAMPLE->trigger();
        QCOMPARE(rig.dialogs.inputs.size(), 1);
        QCOMPARE(rig.dialogs.inputs[0].title, QStringLiteral("Input Sampling Time"));
        QCOMPARE(rig.dialogs.inputs[0].prompt,
                 QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 65 ) "));
        QCOMPARE(rig.dialogs.inputs[0].defaultText, QStringLiteral("2"));
        QCOMPARE(rig.lblsample->text(), QStringLiteral("13 Sec"));

        // The next time the box offers the period now in use.
        rig.CMDSAMPLE->trigger();
        QCOMPARE(rig.dialogs.inputs[1].defaultText, QStringLiteral("13"));
    }

    void cancelLeavesTheLabel() {
        SampleRig rig;
        rig.CMDSAMPLE->trigger();
        QCOMPARE(rig.dialogs.inputs.size(), 1);
        QCOMPARE(rig.lblsample->text(), QStringLiteral("2 Sec"));
    }

    // The main window's sampling timer takes the new period at its next tick.
    void theSamplingTickReadsTheNewPeriod() {
        ScriptedSerialPort serial;
        FakeDialogs dialogs;
        FakePrinter printer;
        FakeClock clock;
        FakeWaiter waiter(&clock);
        SharedState state;
        PanelWindow panel(state, Platform{serial, dialogs, printer, clock, waiter});
        panel.findChild<QLabel*>(QStringLiteral("lblsample"))->setText(QStringLiteral("2 Sec"));
        new SampleRateCommand(&panel, dialogs);
        panel.Timer2_Timer();
        QCOMPARE(panel.Timer2()->interval(), 2000);
        dialogs.inputAnswers << QStringLiteral("30");
        panel.findChild<QAction*>(QStringLiteral("CMDSAMPLE"))->trigger();
        QCOMPARE(panel.findChild<QLabel*>(QStringLiteral("lblsample"))->text(),
                 QStringLiteral("30 Sec"));
        panel.Timer2_Timer();
        QCOMPARE(panel.Timer2()->interval(), 30000);
    }
};

QTEST_MAIN(SampleRateTest)
#include "sample_rate_test.moc"
