#include "PanelRig.h"
#include "logger/SampleRate.h"

#include <QTest>
#include <QTimer>

class SampleRateTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void captionForAnswer_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("caption");
        for (const auto& [answer, caption] : {std::pair{"65", "65 Sec"},
                                              {"100", "65 Sec"},
                                              {"0", "1 Sec"},
                                              {"abc", "1 Sec"},
                                              {"7,6", "8 Sec"},
                                              {"2.5", "3 Sec"},
                                              {"3,5,1", "4 Sec"},
                                              {"  30 seconds", "30 Sec"}})
            QTest::addRow("\"%s\"", answer)
                << QString::fromLatin1(answer) << QString::fromLatin1(caption);
    }
    void captionForAnswer() {
        QFETCH(QString, answer);
        QFETCH(QString, caption);
        QCOMPARE(sampleRateCaption(answer), std::optional<QString>(caption));
    }

    void emptyAnswerChangesNothing() { QVERIFY(!sampleRateCaption(QString()).has_value()); }

    void periodAndDefaultText() {
        QCOMPARE(samplingPeriodSeconds(QStringLiteral("65 Sec")), 65.0);
        QCOMPARE(sampleRateDefaultText(QStringLiteral("65 Sec")), QStringLiteral("65"));
    }

    // OPTION > SAMPLE RATE asks, sets lblsample, and the sampling tick takes the new period at
    // its next tick; a cancel leaves the period.
    void commandAsksAndTheTickFollows() {
        PanelRig rig;
        rig.tick();
        QCOMPARE(rig.panel.Timer2()->interval(), 2000);
        rig.dialogs.inputAnswers << QStringLiteral("12,7");
        rig.trigger("CMDSAMPLE");
        QCOMPARE(rig.dialogs.inputs.size(), 1);
        QCOMPARE(rig.dialogs.inputs[0].title, QStringLiteral("Input Sampling Time"));
        QCOMPARE(rig.dialogs.inputs[0].prompt,
                 QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 65 ) "));
        QCOMPARE(rig.dialogs.inputs[0].defaultText, QStringLiteral("2"));
        QCOMPARE(rig.caption("lblsample"), QStringLiteral("13 Sec"));
        rig.tick();
        QCOMPARE(rig.panel.Timer2()->interval(), 13000);

        // The next time the box offers the period now in use.
        rig.trigger("CMDSAMPLE");
        QCOMPARE(rig.dialogs.inputs[1].defaultText, QStringLiteral("13"));
        QCOMPARE(rig.panel.samplingPeriod(), 13.0);
    }
};

QTEST_MAIN(SampleRateTest)
#include "sample_rate_test.moc"
