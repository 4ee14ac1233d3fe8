#include "TestFiles.h"
#include "logic/recording/DataFileWriter.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

class RecordingWriterTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Lines go after what the file holds, and another reader sees each one as soon as it is
    // written, before the file is closed: a program killed after the tick loses nothing. A disk
    // that fills up in the middle of a line: the torn part is taken back, so the lines before
    // stay whole and the next run does not start on a broken line.
    void linesReachTheSystemAtOnceAndATornOneIsTakenBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Messungen Größe € Ø 1.dat"));
        QVERIFY(writeFile(path, " 0\tearlier\r\n"));
        DataFileWriter writer;
        QVERIFY(writer.open(path));
        QVERIFY(writer.writeLine(" 1\ta\r\n"));
        QCOMPARE(readFile(path), QByteArray(" 0\tearlier\r\n 1\ta\r\n"));
        // The file size limit stands for the full disk: the system takes a part of the line.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 30;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = writer.writeLine(" 2\ta longer second line\r\n");
        const QString reason = writer.errorText();
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);
        QVERIFY(!written && !reason.isEmpty());
        QCOMPARE(readFile(path), QByteArray(" 0\tearlier\r\n 1\ta\r\n"));
    }

    // A device takes lines as they come, with nothing from Qt on stderr: the reason a line was
    // refused is the user's one message.
    void aDeviceTakesLinesAsTheyCome_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QString>("reason");
        QTest::newRow("null") << QStringLiteral("/dev/null") << true << QString();
        QTest::newRow("full") << QStringLiteral("/dev/full") << false
                              << QStringLiteral("No space left on device");
    }
    void aDeviceTakesLinesAsTheyCome() {
        QFETCH(QString, device);
        QFETCH(bool, taken);
        QFETCH(QString, reason);
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        DataFileWriter writer;
        QVERIFY(writer.open(device));
        QCOMPARE(writer.writeLine(" 1\ta\r\n"), taken);
        QCOMPARE(writer.errorText(), reason);
    }

    // A deleted file, or a new file under the old name, is not the file being recorded: writing on
    // would put the lines where nobody looks for them.
    void aDeletedOrReplacedFileFailsTheNextLine() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("recorded.dat"));
        const QString moved = dir.filePath(QStringLiteral("moved.dat"));
        DataFileWriter writer;
        QVERIFY(writer.open(path));
        QVERIFY(writer.writeLine(" 1\tx\r\n"));
        QVERIFY(QFile::rename(path, moved));
        QVERIFY(writeFile(path, {}));
        QVERIFY(!writer.writeLine(" 2\tx\r\n"));
        QCOMPARE(readFile(path), QByteArray());
        QCOMPARE(readFile(moved), QByteArray(" 1\tx\r\n"));

        QVERIFY(writer.open(path));
        QVERIFY(QFile::remove(path));
        QVERIFY(!writer.writeLine(" 3\tx\r\n"));
        QVERIFY(writer.errorText().contains(QStringLiteral("deleted")));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(RecordingWriterTest)
#include "recording_writer_test.moc"
