#include "logic/live/PageQuery.h"

#include <QTest>

namespace {

// 2026-12-07T10:00:00Z
constexpr qint64 Now = 1796637600000;
constexpr qint64 Day = 24 * 3600 * 1000;

} // namespace

// The meter and the span of time a download asks for, and what a person who wrote them wrongly
// reads.
class PageQueryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ranges_data() {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<qint64>("fromMs");
        QTest::addColumn<qint64>("toMs");
        QTest::newRow("the last day") << QByteArray() << QByteArray() << Now - Day << Now;
        QTest::newRow("a day before to") << QByteArray() << QByteArray("1796600000000")
                                         << 1796600000000 - Day << qint64(1796600000000);
        QTest::newRow("from to now")
            << QByteArray("2026-12-07T09:00:00+01:00") << QByteArray() << Now - 2 * 3600000 << Now;
        QTest::newRow("Z and ms") << QByteArray("2026-12-07T09:30:00.250Z")
                                  << QByteArray("2026-12-07T10:00Z") << Now - 1800000 + 250 << Now;
        QTest::newRow("a plus read as a space")
            << QByteArray("2026-12-07T10:00:00 01:00") << QByteArray() << Now - 3600000 << Now;
        QTest::newRow("31 days") << QByteArray("2026-11-06T10:00:00Z") << QByteArray()
                                 << Now - 31 * Day << Now;
    }
    void ranges() {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        const Result<ReadingRange> range =
            parseReadingRange(from.isNull() ? std::nullopt : std::optional(from),
                              to.isNull() ? std::nullopt : std::optional(to), Now);
        QVERIFY2(range, qPrintable(range ? QString() : range.failure().message));
        QTEST(range->fromMs, "fromMs");
        QTEST(range->toMs, "toMs");
    }

    void badRanges_data() {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("why");
        QTest::newRow("a word") << QByteArray("yesterday") << QByteArray()
                                << "from is not a time: 'yesterday'";
        QTest::newRow("no offset") << QByteArray() << QByteArray("2026-12-07T10:00:00")
                                   << "to is not a time: '2026-12-07T10:00:00'";
        QTest::newRow("no such day") << QByteArray("2026-02-30T10:00:00Z") << QByteArray()
                                     << "from is not a time: '2026-02-30T10:00:00Z'";
        QTest::newRow("empty") << QByteArray("") << QByteArray() << "from is not a time: ''";
        QTest::newRow("from at to") << QByteArray("1796637600000") << QByteArray("1796637600000")
                                    << "from must come before to";
        QTest::newRow("from after to")
            << QByteArray("2026-12-08T00:00:00Z") << QByteArray() << "from must come before to";
        QTest::newRow("past 31 days") << QByteArray("2026-11-06T09:59:59Z") << QByteArray()
                                      << "from and to are more than 31 days apart";
    }
    void badRanges() {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        const Result<ReadingRange> range =
            parseReadingRange(from.isNull() ? std::nullopt : std::optional(from),
                              to.isNull() ? std::nullopt : std::optional(to), Now);
        QVERIFY(!range);
        QTEST(range.failure().message, "why");
    }

    void meters_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("meters");
        QTest::addColumn<int>("meter");
        QTest::addColumn<QString>("why");
        QTest::newRow("the first") << QByteArray("0") << 3 << 0 << QString();
        QTest::newRow("the last") << QByteArray("2") << 3 << 2 << QString();
        QTest::newRow("missing") << QByteArray() << 3 << -1
                                 << "meter is missing: this logger has meters 0 to 2";
        QTest::newRow("one past") << QByteArray("3") << 3 << -1
                                  << "no meter '3': this logger has meters 0 to 2";
        QTest::newRow("negative") << QByteArray("-1") << 1 << -1
                                  << "no meter '-1': this logger has meter 0";
        QTest::newRow("a word") << QByteArray("cellar") << 3 << -1
                                << "no meter 'cellar': this logger has meters 0 to 2";
    }
    void meters() {
        QFETCH(QByteArray, text);
        QFETCH(int, meters);
        QFETCH(int, meter);
        const Result<int> parsed =
            parseMeterNumber(text.isNull() ? std::nullopt : std::optional(text), meters);
        if (meter >= 0) {
            QVERIFY(parsed);
            QCOMPARE(*parsed, meter);
        } else {
            QVERIFY(!parsed);
            QTEST(parsed.failure().message, "why");
        }
    }
};

QTEST_GUILESS_MAIN(PageQueryTest)
#include "page_query_test.moc"
