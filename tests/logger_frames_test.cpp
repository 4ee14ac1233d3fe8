#include "logger/LoggerBytes.h"
#include "logger/LoggerCommandBuffer.h"
#include "logger/PanelCommandBuffer.h"

#include <QDateTime>
#include <QTest>

// The datalogger's parameter frames, byte by byte, and the BCD the replies are written in.
class LoggerFramesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void downloadKeepsTheLastParameterLowByte_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("parameterFrame");
        QTest::addColumn<QByteArray>("downloadFrame");
        QTest::newRow("no parameter yet")
            << "" << 0.0 << QByteArray() << QByteArray::fromHex("4b030000000000");
        QTest::newRow("after W 2") << "W" << 2.0 << QByteArray::fromHex("57000200000000")
                                   << QByteArray::fromHex("4b030200000000");
        QTest::newRow("after X 1234") << "X" << 1234.0 << QByteArray::fromHex("5804d200000000")
                                      << QByteArray::fromHex("4b03d200000000");
        QTest::newRow("after X 65535") << "X" << 65535.0 << QByteArray::fromHex("58ffff00000000")
                                       << QByteArray::fromHex("4b03ff00000000");
        QTest::newRow("half to even down") << "W" << 2.5 << QByteArray::fromHex("57000200000000")
                                           << QByteArray::fromHex("4b030200000000");
        QTest::newRow("half to even up") << "W" << 3.5 << QByteArray::fromHex("57000400000000")
                                         << QByteArray::fromHex("4b030400000000");
        QTest::newRow("out of range sends 0")
            << "X" << 70000.0 << QByteArray::fromHex("58000000000000")
            << QByteArray::fromHex("4b030000000000");
    }
    void downloadKeepsTheLastParameterLowByte() {
        QFETCH(QString, before);
        QFETCH(double, value);
        QFETCH(QByteArray, parameterFrame);
        QFETCH(QByteArray, downloadFrame);
        LoggerCommandBuffer buffer;
        if (before == QLatin1String("W"))
            QCOMPARE(buffer.interval(value), parameterFrame);
        else if (before == QLatin1String("X"))
            QCOMPARE(buffer.idCode(value), parameterFrame);
        QCOMPARE(buffer.download(3), downloadFrame);
    }

    void parameterRange_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("valid");
        QTest::newRow("0") << 0.0 << true;
        QTest::newRow("65535") << 65535.0 << true;
        QTest::newRow("0.4") << 0.4 << true;
        QTest::newRow("65535.4") << 65535.4 << false;
        QTest::newRow("65535.5") << 65535.5 << false;
        QTest::newRow("70000") << 70000.0 << false;
        QTest::newRow("-1") << -1.0 << false;
        QTest::newRow("-0.4") << -0.4 << false;
        QTest::newRow("infinite") << qInf() << false;
    }
    void parameterRange() {
        QFETCH(double, value);
        QFETCH(bool, valid);
        QCOMPARE(LoggerCommandBuffer::isValidParameter(value), valid);
    }

    void clockFrame_data() {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("2003-05-02 14:30:15") << QDateTime(QDate(2003, 5, 2), QTime(14, 30, 15))
                                             << QByteArray::fromHex("4403050214301500");
        QTest::newRow("2009-12-31 23:59:59") << QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59))
                                             << QByteArray::fromHex("4409123123595900");
        QTest::newRow("2100-01-01 00:00:00") << QDateTime(QDate(2100, 1, 1), QTime(0, 0, 0))
                                             << QByteArray::fromHex("4400010100000000");
    }
    void clockFrame() {
        QFETCH(QDateTime, moment);
        QFETCH(QByteArray, frame);
        PanelCommandBuffer buffer;
        QCOMPARE(buffer.setClock(moment), frame);
    }

    void bcdNumbers_data() {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("number");
        QTest::newRow("0x00") << 0x00 << 0;
        QTest::newRow("0x05") << 0x05 << 5;
        QTest::newRow("0x59") << 0x59 << 59;
        QTest::newRow("low nibble ends it") << 0x1A << 1;
        QTest::newRow("high nibble ends it") << 0xA5 << 0;
        QTest::newRow("0xFF") << 0xFF << 0;
    }
    void bcdNumbers() {
        QFETCH(int, byte);
        QFETCH(int, number);
        QCOMPARE(bcdNumber(static_cast<quint8>(byte)), number);
    }
};

QTEST_APPLESS_MAIN(LoggerFramesTest)
#include "logger_frames_test.moc"
