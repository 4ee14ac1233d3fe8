#include "ChartRig.h"
#include "charts/LimitDialog.h"

#include <QAction>
#include <QTest>

Q_DECLARE_METATYPE(ChartKind)

namespace {

LimitDialog* openDialog(ChartRig& rig, ChartKind kind) {
    ChartWindow* chart = rig.charts.openLiveChart(kind);
    chart->findChild<QAction*>(QStringLiteral("MNULIMIT"))->trigger();
    return rig.charts.limitDialog(kind);
}

} // namespace

class ChartLimitWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void confirm_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QString>("points");
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QList<double>>("stored"); // points, top, mid, bottom
        const ChartKind rh = ChartKind::Humidity;
        const ChartKind tem = ChartKind::Temperature;
        QTest::newRow("RHRANGE 20 to 80") << rh << "300"
                                          << "20"
                                          << "80" << true << QList<double>{301, 80, 50, 20};
        QTest::newRow("TEMRANGE one point") << tem << "1"
                                            << "0"
                                            << "100" << true << QList<double>{2, 100, 50, 0};
        QTest::newRow("no points") << rh << "0"
                                   << "0"
                                   << "100" << false << QList<double>{1, 100, 50, 0};
        QTest::newRow("top below bottom") << tem << "300"
                                          << "80"
                                          << "20" << false << QList<double>{301, 20, 50, 80};
        QTest::newRow("top 0") << rh << "300"
                               << "0"
                               << "0" << false << QList<double>{301, 0, 0, 0};
        QTest::newRow("RHRANGE keeps a negative MIN: mid 0")
            << rh << "300"
            << "-50"
            << "50" << false << QList<double>{301, 50, 0, -50};
    }
    void confirm() {
        QFETCH(ChartKind, kind);
        QFETCH(QString, points);
        QFETCH(QString, min);
        QFETCH(QString, max);
        QFETCH(bool, accepted);
        QFETCH(QList<double>, stored);
        ChartRig rig;
        LimitDialog* dialog = openDialog(rig, kind);
        ChartWindow* before = rig.charts.liveChart(kind);
        before->Timer1_Timer();
        ChartRig::box(dialog, "TXTT2")->setText(points);
        ChartRig::box(dialog, "TXTR1")->setText(min);
        ChartRig::box(dialog, "TXTR2")->setText(max);
        ChartRig::clickOk(dialog);

        const ChartLimits& limits = rig.state.chartLimits;
        const bool humidity = kind == ChartKind::Humidity;
        QCOMPARE((QList<double>{humidity ? limits.HumPoints : limits.TemPoints,
                                humidity ? limits.HumTop : limits.TemTop,
                                humidity ? limits.HumMid : limits.TemMid,
                                humidity ? limits.HumBottom : limits.TemBottom}),
                 stored);
        QCOMPARE(rig.charts.limitDialog(kind), dialog);
        QVERIFY(!before->isVisible());
        ChartWindow* after = rig.charts.liveChart(kind);
        if (accepted) {
            QVERIFY(rig.dialogs.messages.isEmpty());
            QVERIFY(after != nullptr && after != before && after->timerEnabled());
            QCOMPARE(humidity ? rig.state.chartProgress.HumStarted
                              : rig.state.chartProgress.TemStarted,
                     0);
        } else {
            QCOMPARE(rig.dialogs.messages.size(), 1);
            QCOMPARE(rig.dialogs.messages[0].text, QStringLiteral(" INVALID, TRY AGAIN!"));
            QCOMPARE(rig.dialogs.messages[0].buttons, Dialogs::Buttons::Ok);
            QCOMPARE(rig.dialogs.messages[0].title, QStringLiteral("Humidity_Temperature"));
            QVERIFY(after == nullptr);
        }
    }

    // Which box a change tests, and that an entry outside 0 to 100 is cleared at once.
    void changeClearsOutOfRange_data() {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QString>("preset"); // box given a value first, without a test
        QTest::addColumn<QString>("typedInto");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("minAfter");
        QTest::addColumn<QString>("maxAfter");
        const ChartKind rh = ChartKind::Humidity;
        const ChartKind tem = ChartKind::Temperature;
        QTest::newRow("RHRANGE MAX 150") << rh << ""
                                         << "TXTR2"
                                         << "150"
                                         << "0"
                                         << "";
        QTest::newRow("RHRANGE MIN -5 kept") << rh << ""
                                             << "TXTR1"
                                             << "-5"
                                             << "-5"
                                             << "100";
        QTest::newRow("RHRANGE points test MIN") << rh << "TXTR1=-5"
                                                 << "TXTT2"
                                                 << "10"
                                                 << ""
                                                 << "100";
        QTest::newRow("TEMRANGE MIN -5") << tem << ""
                                         << "TXTR1"
                                         << "-5"
                                         << ""
                                         << "100";
        QTest::newRow("TEMRANGE MAX 101") << tem << ""
                                          << "TXTR2"
                                          << "101"
                                          << "0"
                                          << "";
        QTest::newRow("TEMRANGE points test nothing") << tem << ""
                                                      << "TXTT2"
                                                      << "-3"
                                                      << "0"
                                                      << "100";
    }
    void changeClearsOutOfRange() {
        QFETCH(ChartKind, kind);
        QFETCH(QString, preset);
        QFETCH(QString, typedInto);
        QFETCH(QString, text);
        QFETCH(QString, minAfter);
        QFETCH(QString, maxAfter);
        ChartRig rig;
        LimitDialog* dialog = openDialog(rig, kind);
        if (!preset.isEmpty())
            ChartRig::box(dialog, qPrintable(preset.section('=', 0, 0)))
                ->setText(preset.section('=', 1));
        ChartRig::box(dialog, qPrintable(typedInto))->setText(text);
        QCOMPARE(ChartRig::box(dialog, "TXTR1")->text(), minAfter);
        QCOMPARE(ChartRig::box(dialog, "TXTR2")->text(), maxAfter);
    }

    void opensAtTheTopLeftWithTheStoredValues() {
        ChartRig rig;
        rig.state.chartLimits.HumBottom = 12.5;
        LimitDialog* dialog = openDialog(rig, ChartKind::Humidity);
        QCOMPARE(dialog->objectName(), QStringLiteral("RHRANGE"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("RANGE-----HUMIDITY"));
        QCOMPARE(dialog->pos(), QPoint(0, 0));
        QCOMPARE(ChartRig::box(dialog, "TXTR1")->text(), QStringLiteral("12.5"));
    }
};

QTEST_MAIN(ChartLimitWindowTest)
#include "chart_limit_window_test.moc"
