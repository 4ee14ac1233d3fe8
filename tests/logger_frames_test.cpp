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
        const auto row = [](const char* name, const char* letter, double value,
                            const char* parameterHex, const char* downloadHex) {
            QTest::newRow(name) << letter << value << QByteArray::fromHex(parameterHex)
                                << QByteArray::fromHex(downloadHex);
        };
        row("no parameter yet", "", 0, "", "4b030000000000");
        row("after W 2", "W", 2, "57000200000000", "4b030200000000");
        row("after X 65535", "X", 65535, "58ffff00000000", "4b03ff00000000");
        row("half to even down", "W", 2.5, "57000200000000", "4b030200000000");
        row("half to even up", "W", 3.5, "57000400000000", "4b030400000000");
        row("out of range sends 0", "X", 70000, "58000000000000", "4b030000000000");
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

    void parameterRange() {
        for (double valid : {0.0, 65535.0})
            QVERIFY(LoggerCommandBuffer::isValidParameter(valid));
        for (double invalid : {65535.4, -0.4, qInf(), qQNaN()})
            QVERIFY2(!LoggerCommandBuffer::isValidParameter(invalid),
                     qPrintable(QString::number(invalid)));
    }

    void clockFrame() {
        PanelCommandBuffer buffer;
        QCOMPARE(buffer.setClock(QDateTime(QDate(2003, 5, 2), QTime(14, 30, 15))),
                 QByteArray::fromHex("4403050214301500"));
        QCOMPARE(buffer.setClock(QDateTime(QDate(2100, 1, 1), QTime(0, 0, 0))),
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
