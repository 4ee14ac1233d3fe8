#include "logger/LoggerBytes.h"
#include "logger/LoggerCommandBuffer.h"
#include "logger/PanelCommandBuffer.h"

#include <QDateTime>
#include <QTest>

// The datalogger's parameter frames, byte by byte, and the BCD the replies are written in.
class LoggerFramesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Halves round to even.
    void parameterFrames() {
        LoggerCommandBuffer buffer;
        QCOMPARE(buffer.interval(2.5), QByteArray::fromHex("57000200000000"));
        QCOMPARE(buffer.idCode(65535), QByteArray::fromHex("58ffff00000000"));
        QCOMPARE(buffer.idCode(3.5), QByteArray::fromHex("58000400000000"));
    }

    void parameterRange() {
        for (double valid : {0.0, 65535.0})
            QVERIFY(LoggerCommandBuffer::isValidParameter(valid));
        for (double invalid : {65535.4, -0.4, qInf(), qQNaN()})
            QVERIFY2(!LoggerCommandBuffer::isValidParameter(invalid),
                     qPrintable(QString::number(invalid)));
    }

    // The year's two digits roll over with the century.
    void clockFrame() {
        QCOMPARE(PanelCommandBuffer().setClock(QDateTime(QDate(2100, 1, 1), QTime(0, 0, 0))),
                 QByteArray::fromHex("4400010100000000"));
    }

    void bcdNumbers() {
        const QList<std::pair<int, int>> bytesAndNumbers{
            {0x59, 59}, {0x1A, 1}, {0xA5, 0}}; // a bad low nibble ends it, a bad high one is 0
        for (const auto& [byte, number] : bytesAndNumbers)
            QCOMPARE(bcdNumber(static_cast<quint8>(byte)), number);
    }
};

QTEST_APPLESS_MAIN(LoggerFramesTest)
#include "logger_frames_test.moc"
