#include "FakeWaiter.h"
#include "FrameBytes.h"
#include "ScriptedSerialPort.h"
#include "device/link/FleetPoller.h"
#include "device/link/MeterLink.h"
#include "logic/link/LiveReading.h"

#include <QTest>
#include <memory>
#include <vector>

namespace {

const QByteArray Frame = frameOf({0x00, 0x12, 0x05, 0x02, 0x35, 0x85, 0x43, 0x00});

// Meters on scripted ports, polled together by one poller on the real clock.
struct Fleet {
    struct Meter {
        explicit Meter(QObject* owner) : link(owner, serial, waiter, reading) {}
        ScriptedSerialPort serial;
        FakeWaiter waiter;
        LiveReading reading;
        MeterLink link;
        int frames = 0;
        int lost = 0;
        int back = 0;
        // How many bytes had been written when the meter was given up on.
        qsizetype writesWhenLost = -1;
    };

    explicit Fleet(int count) {
        for (int index = 0; index < count; ++index) {
            auto meter = std::make_unique<Meter>(&owner);
            Meter* m = meter.get();
            m->serial.open(index + 1);
            QObject::connect(&m->link, &MeterLink::frameDecoded, &owner, [m] { ++m->frames; });
            QObject::connect(&m->link, &MeterLink::noDeviceEntered, &owner, [m] {
                ++m->lost;
                m->writesWhenLost = m->serial.writes.size();
            });
            QObject::connect(&m->link, &MeterLink::noDeviceLeft, &owner, [m] { ++m->back; });
            meters.push_back(std::move(meter));
        }
    }
    void start() {
        for (const auto& meter : meters)
            poller.add(meter->link);
    }
    Meter& operator[](int index) { return *meters[static_cast<size_t>(index)]; }

    QObject owner;
    FleetPoller poller{&owner};
    std::vector<std::unique_ptr<Meter>> meters;
};

void answerEverySpace(Fleet::Meter& meter) {
    meter.serial.responder = [](const QByteArray&) { return Frame; };
}

} // namespace

class FleetPollerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aSilentMeterHoldsUpNoOther() {
        Fleet fleet(2);
        answerEverySpace(fleet[0]);
        fleet.start();
        QTRY_COMPARE_WITH_TIMEOUT(fleet[0].frames, 2, 5000);

        QCOMPARE(fleet[0].serial.writes.size(), 2);
        QCOMPARE(fleet[0].lost, 0);
        // Fifty questions, then a call every tenth of a second.
        QCOMPARE(fleet[1].lost, 1);
        QCOMPARE(fleet[1].writesWhenLost, 50);
        QTRY_VERIFY_WITH_TIMEOUT(fleet[1].serial.writes.size() >= 50 + 3, 1000);
        QCOMPARE(fleet[1].frames, 0);
    }

    void aMeterIsAskedAgainUntilItAnswers() {
        Fleet fleet(1);
        fleet[0].serial.responder = [&fleet](const QByteArray&) {
            return fleet[0].serial.writes.size() % 3 == 0 ? Frame : QByteArray();
        };
        fleet.start();
        QTRY_COMPARE_WITH_TIMEOUT(fleet[0].frames, 2, 5000);

        QCOMPARE(fleet[0].serial.writes.size(), 6);
        QCOMPARE(fleet[0].lost, 0);
    }

    void aMeterThatCallsBackIsPolledAgain() {
        Fleet fleet(1);
        fleet.start();
        QTRY_COMPARE_WITH_TIMEOUT(fleet[0].lost, 1, 3000);
        answerEverySpace(fleet[0]);
        QTRY_COMPARE_WITH_TIMEOUT(fleet[0].back, 1, 1000);
        QCOMPARE(fleet[0].frames, 0);
        QTRY_COMPARE_WITH_TIMEOUT(fleet[0].frames, 1, 2000);
        QCOMPARE(fleet[0].lost, 1);
    }

    void aGoneDeviceIsOpenedAgainEverySecond() {
        Fleet fleet(1);
        answerEverySpace(fleet[0]);
        fleet[0].serial.availablePorts = {};
        fleet[0].serial.unplug();
        const int opensBefore = fleet[0].serial.openCount;
        fleet.start();
        QTRY_COMPARE_WITH_TIMEOUT(fleet[0].lost, 1, 2000);
        // Lost at once: a closed port is not asked fifty times.
        QCOMPARE(fleet[0].serial.writes.size(), 0);
        QTest::qWait(2100);
        const int opens = fleet[0].serial.openCount - opensBefore;
        QVERIFY2(opens >= 2 && opens <= 4, qPrintable(QString::number(opens)));

        fleet[0].serial.availablePorts = {1};
        QTRY_COMPARE_WITH_TIMEOUT(fleet[0].back, 1, 1500);
        QTRY_COMPARE_WITH_TIMEOUT(fleet[0].frames, 1, 2000);
    }

    void aLinkRemovedInItsFrameIsNotAskedAgain() {
        Fleet fleet(2);
        answerEverySpace(fleet[0]);
        answerEverySpace(fleet[1]);
        QObject::connect(&fleet[0].link, &MeterLink::frameDecoded, &fleet.owner,
                         [&fleet] { fleet.poller.remove(fleet[0].link); });
        fleet.start();
        QTRY_COMPARE_WITH_TIMEOUT(fleet[1].frames, 2, 5000);

        QCOMPARE(fleet[0].serial.writes.size(), 1);
    }

    void theFramesOfAMomentAreTakenBeforeItEnds() {
        Fleet fleet(3);
        for (int index = 0; index < 3; ++index)
            answerEverySpace(fleet[index]);
        QList<QList<int>> framesAtEachEnd;
        QObject::connect(
            &fleet.poller, &FleetPoller::framesTaken, &fleet.owner, [&fleet, &framesAtEachEnd] {
                framesAtEachEnd.append({fleet[0].frames, fleet[1].frames, fleet[2].frames});
            });
        fleet.start();
        QTRY_COMPARE_WITH_TIMEOUT(framesAtEachEnd.size(), 2, 5000);

        const QList<QList<int>> expected{{1, 1, 1}, {2, 2, 2}};
        QCOMPARE(framesAtEachEnd, expected);
    }

    void aSilentMomentEndsWithNothingTaken() {
        Fleet fleet(1);
        int ends = 0;
        QObject::connect(&fleet.poller, &FleetPoller::framesTaken, &fleet.owner,
                         [&ends] { ++ends; });
        fleet.start();
        QTRY_COMPARE_WITH_TIMEOUT(fleet[0].lost, 1, 5000);
        QCOMPARE(ends, 0);
    }
};

QTEST_GUILESS_MAIN(FleetPollerTest)
#include "fleet_poller_test.moc"
