#include "PanelRig.h"
#include "logic/datalogger/SampleRate.h"

#include <QTest>

class SampleRateTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Clamped to 1..65; the first comma is the decimal point; an empty answer (a cancel) changes
    // nothing.
    void captionForAnswer_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("caption");
        for (const auto& [answer, caption] :
             {std::pair{"100", "65 Sec"}, {"0", "1 Sec"}, {"3,5,1", "4 Sec"}, {"", ""}})
            QTest::addRow("\"%s\"", answer)
                << QString::fromLatin1(answer) << QString::fromLatin1(caption);
    }
    void captionForAnswer() {
        QFETCH(QString, answer);
        QFETCH(QString, caption);
        QCOMPARE(sampleRateCaption(answer).value_or(QString()), caption);
    }

    // OPTION > SAMPLE RATE asks and sets lblsample; the next time the box offers the period now
    // in use.
    void commandAsksAndTheTickFollows() {
        PanelRig rig;
        rig.dialogs.inputAnswers << QStringLiteral("12,7");
        rig.trigger("CMDSAMPLE");
        QCOMPARE(rig.dialogs.inputs[0].title, QStringLiteral("Input Sampling Time"));
        QCOMPARE(rig.dialogs.inputs[0].prompt,
                 QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 65 ) "));
        QCOMPARE(rig.dialogs.inputs[0].defaultText, QStringLiteral("2"));
        QCOMPARE(rig.caption("lblsample"), QStringLiteral("13 Sec"));
        rig.trigger("CMDSAMPLE");
        QCOMPARE(rig.dialogs.inputs[1].defaultText, QStringLiteral("13"));
        QCOMPARE(rig.caption("lblsample"), QStringLiteral("13 Sec"));
    }
};

QTEST_MAIN(SampleRateTest)
#include "sample_rate_test.moc"
