#include "logic/recording/DataFileFormat.h"
#include "logic/text/RowText.h"

#include <QTest>

class RecordingFormatTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void linesAreByteExact() {
        const QString body =
            rowBody(QDateTime(QDate(2003, 5, 2), QTime(14, 3, 27)), QStringLiteral("45.6"),
                    QStringLiteral("23.1"), QStringLiteral("C"), true);
        QCOMPARE(recorderLine(4294967296, body),
                 QByteArray(" 4294967296\t05-02-2003\t14:03:27\t45.6\t23.1\tC\tLOW\r\n"));
        // A quote inside a cell is not escaped; text goes out as Latin-1.
        QCOMPARE(saveLine(1, {"a\"b", QStringLiteral("25\u00b0")}),
                 QByteArray("\"1\ta\"b\t25\xb0\"\r\n"));
    }

    // Wherever a block ends, the fields are the same as from the whole file at once.
    void fieldsWhereverABlockEnds_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("commas and quotes") << QByteArray("a,b\r\n\"c,d\" junk,e\r\n\"f\r\ng,\r\n")
                                           << QStringList{"a", "b", "c,d", "e", "f", "g", ""};
        QTest::newRow("line ends and blanks") << QByteArray("  x\r\n\r\n\ty\r\rz\n\rlast\r\n   ")
                                              << QStringList{"x", "", "\ty", "", "z", "", "last"};
        QTest::newRow("nul and high bytes pass through")
            << QByteArray("a\0b\xff\r\nc", 7)
            << QStringList{QString::fromLatin1(QByteArray("a\0b\xff", 4)), "c"};
    }
    void fieldsWhereverABlockEnds() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
        // Cut at every position as a block reader feeds them: the unused tail of the first call
        // comes first in the second. A cut at 0 feeds the bytes whole.
        for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
            QStringList split;
            const auto collect = [&](QByteArrayView field) { split << QString::fromLatin1(field); };
            const qsizetype used =
                splitDataFields(QByteArrayView(bytes).first(cut), false, collect);
            QCOMPARE(splitDataFields(QByteArrayView(bytes).sliced(used), true, collect),
                     bytes.size() - used);
            QCOMPARE(split, fields);
        }
    }
};

QTEST_GUILESS_MAIN(RecordingFormatTest)
#include "recording_format_test.moc"
