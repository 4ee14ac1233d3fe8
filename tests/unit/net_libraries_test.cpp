#include "net/libraries/OpenedLibrary.h"

#include <QTest>
#include <cstring>

// The system libraries the network opens when asked for: what the user reads when one is missing.
class NetLibrariesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opened_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QByteArray>("function");
        QTest::addColumn<QString>("error");
        QTest::newRow("found") << "c"
                               << "6" << QByteArray("strlen") << "";
        QTest::newRow("no such library")
            << "meter-no-such"
            << "1" << QByteArray("strlen")
            << "libmeter-no-such.so.1 cannot be opened (is meter-no-such1 installed?)";
        QTest::newRow("no such function") << "c"
                                          << "6" << QByteArray("meter_no_such_function")
                                          << "libc.so.6 has no meter_no_such_function";
    }
    void opened() {
        QFETCH(QString, name);
        QFETCH(QString, version);
        QFETCH(QByteArray, function);
        QFETCH(QString, error);
        OpenedLibrary library(name, version, name + version);
        decltype(&::strlen) length = nullptr;
        library.resolve(length, function.constData());
        QCOMPARE(library.error(), error);
        if (error.isEmpty())
            QCOMPARE(length("four"), size_t(4));
        else
            QVERIFY(length == nullptr);
    }

    // Once a function is missing, the library is not used: the next one found does not hide it.
    void aMissingFunctionStaysSaid() {
        OpenedLibrary library(QStringLiteral("c"), QStringLiteral("6"), QStringLiteral("libc6"));
        decltype(&::strlen) missing = nullptr;
        decltype(&::strlen) present = nullptr;
        library.resolve(missing, "meter_no_such_function");
        library.resolve(present, "strlen");
        QVERIFY(
            library.error().startsWith(QStringLiteral("libc.so.6 has no meter_no_such_function")));
    }
};

QTEST_GUILESS_MAIN(NetLibrariesTest)
#include "net_libraries_test.moc"
