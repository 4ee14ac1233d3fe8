#include "recording/DataFileFormat.h"
#include "text/RowText.h"

#include <QTest>

namespace {

QStringList splitAll(const QByteArray& bytes) {
    QStringList fields;
    const qsizetype used = splitDataFields(
        bytes, true, [&](QByteArrayView field) { fields << QString::fromLatin1(field); });
    if (used != bytes.size())
        fields << QStringLiteral("<unused %1>").arg(bytes.size() - used);
    return fields;
}

// Feeds the bytes cut at the given position, as a block reader would: the unused tail of the first
// call comes first in the second.
QStringList splitInTwo(const QByteArray& bytes, qsizetype cut) {
    QStringList fields;
    const auto collect = [&](QByteArrayView field) { fields << QString::fromLatin1(field); };
    const qsizetype used = splitDataFields(QByteArrayView(bytes).first(cut), false, collect);
    splitDataFields(QByteArrayView(bytes).sliced(used), true, collect);
    return fields;
}

QString body(bool batteryLow) {
    return rowBody(QDateTime(QDate(2003, 5, 2), QTime(14, 3, 27)), QStringLiteral("45.6"),
                   QStringLiteral("23.1"), QStringLiteral("C"), batteryLow);
}

} // namespace

class RecordingFormatTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recorderLineIsByteExact() {
        QCOMPARE(recorderLine(9, body(false)),
                 QByteArray(" 9\t05-02-2003\t14:03:27\t45.6\t23.1\tC\r\n"));
        QCOMPARE(recorderLine(4294967296, body(false)),
                 QByteArray(" 4294967296\t05-02-2003\t14:03:27\t45.6\t23.1\tC\r\n"));
        QCOMPARE(recordNumberText(32768), QStringLiteral(" 32768"));
    }

    void saveLineIsByteExact() {
        QCOMPARE(saveLine(3, {"05-02-2003", "14:03:27", "45.6", "23.1", "C", ""}),
                 QByteArray("\"3\t05-02-2003\t14:03:27\t45.6\t23.1\tC\t\"\r\n"));
        // A quote inside a cell is not escaped; text goes out as Latin-1.
        QCOMPARE(saveLine(1, {"a\"b", QStringLiteral("25\u00b0")}),
                 QByteArray("\"1\ta\"b\t25\xb0\"\r\n"));
    }

    void readerRule_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("commas split, inside quotes too")
            << QByteArray("a,b\r\n\"c,d\",e\r\n") << QStringList{"a", "b", "c,d", "e"};
        QTest::newRow("rest after the closing quote is dropped")
            << QByteArray("\"a\" junk,next\r\n\"b\"xyz\r\nc\r\n")
            << QStringList{"a", "next", "b", "c"};
        QTest::newRow("leading spaces skipped, tabs kept")
            << QByteArray("   x\r\n\ty\r\n  \"q\"\r\n") << QStringList{"x", "\ty", "q"};
        QTest::newRow("blank line is an empty field")
            << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("last line without CR LF") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("CR CR is a blank line") << QByteArray("a\r\rb") << QStringList{"a", "", "b"};
        QTest::newRow("LF CR is two line ends")
            << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("unclosed quote ends with its line")
            << QByteArray("\"abc\r\ndef\r\n") << QStringList{"abc", "def"};
        QTest::newRow("trailing comma gives an empty field")
            << QByteArray("a,\r\n") << QStringList{"a", ""};
        QTest::newRow("only blanks at the end give nothing")
            << QByteArray("a\r\n   ") << QStringList{"a"};
        QTest::newRow("nul and high bytes pass through")
            << QByteArray("a\0b\xff\r\n", 6)
            << QStringList{QString::fromLatin1(QByteArray("a\0b\xff", 4))};
    }
    void readerRule() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
        QCOMPARE(splitAll(bytes), fields);
    }

    // Wherever a block ends, the fields are the same as from the whole file at once.
    void blockBoundariesDoNotChangeTheFields_data() { readerRule_data(); }
    void blockBoundariesDoNotChangeTheFields() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
        for (qsizetype cut = 0; cut <= bytes.size(); ++cut)
            QCOMPARE(splitInTwo(bytes, cut), fields);
    }

    void bothWritersReadBackIntoTheSameColumns() {
        const QByteArray file =
            recorderLine(7, body(true)) +
            saveLine(7, QStringList{"05-02-2003", "14:03:27", "45.6", "23.1", "C", "LOW"});
        const QStringList fields = splitAll(file);
        QCOMPARE(fields.size(), 2);
        const QStringList expected{"7", "05-02-2003", "14:03:27", "45.6", "23.1", "C", "LOW"};
        QCOMPARE(fields[0].split(QLatin1Char('\t')), expected);
        QCOMPARE(fields[1].split(QLatin1Char('\t')), expected);
    }
};

QTEST_GUILESS_MAIN(RecordingFormatTest)
#include "recording_format_test.moc"
