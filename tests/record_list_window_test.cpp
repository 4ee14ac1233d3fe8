#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "ScriptedSerialPort.h"
#include "WithoutRootsFileRights.h"
#include "lists/Grid.h"
#include "lists/ListGridLayout.h"
#include "lists/ListWindow.h"
#include "lists/LoadFileIntoGrid.h"
#include "lists/RecordListWindow.h"
#include "state/SharedState.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

struct Rig {
    ScriptedSerialPort serial;
    FakeDialogs dialogs;
    FakePrinter printer;
    FakeClock clock{QDateTime(QDate(2003, 5, 2), QTime(14, 0, 0))};
    FakeWaiter waiter{&clock};
    SharedState state;
    QWidget panel;
    RecordListWindow* window =
        new RecordListWindow(&panel, state, Platform{serial, dialogs, printer, clock, waiter});

    QAction* action(const char* name) const {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    }
    Grid& grid() const { return window->grid(); }
    // Records at 14:00:00, 14:00:02, ...; every third with a low battery.
    void fill(int records) {
        for (int i = 0; i < records; ++i)
            window->appendRecordRow(QStringLiteral("05-02-2003\t14:%1:%2\t45.6\t-3.1\tC%3")
                                        .arg(i * 2 / 60, 2, 10, QLatin1Char('0'))
                                        .arg(i * 2 % 60, 2, 10, QLatin1Char('0'))
                                        .arg(i % 3 == 2 ? QStringLiteral("\tLOW") : QString()));
    }
    QByteArray save(const QString& path) {
        dialogs.fileAnswers << path;
        action("MNUSAVE")->trigger();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }
};

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Files may grow to this many bytes; a longer write fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

} // namespace

class RecordListWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rowsAndCaption() {
        Rig rig;
        rig.window->show();
        QCOMPARE(rig.window->pos(), rig.window->screen()->availableGeometry().topLeft());
        auto* label = rig.window->findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(label->text().isEmpty());
        QVERIFY(label->geometry().bottom() < rig.grid().geometry().top());
        for (int column = 0; column < 7; ++column)
            QCOMPARE(rig.grid().cellText(0, column), listHeaderTexts()[column]);

        rig.window->setStatusCaption(QStringLiteral(" 3  RECORDS IN NO.  1  SET"));
        QCOMPARE(label->text(), QStringLiteral(" 3  RECORDS IN NO.  1  SET"));
        rig.fill(26);
        QCOMPARE(rig.grid().cellText(1, 0), QStringLiteral(" 1"));
        QCOMPARE(rig.grid().cellText(3, 6), QStringLiteral("LOW"));
        QCOMPARE(rig.grid().cellText(26, 0), QStringLiteral(" 26"));
        QCOMPARE(rig.grid().currentRow(), 26);
        QCOMPARE(rig.grid().firstVisibleRow(), 1);
        rig.fill(2);
        QCOMPARE(rig.grid().currentRow(), 28);
        QCOMPARE(rig.grid().firstVisibleRow(), 3);
        QTRY_COMPARE(rig.grid().rowAt(rig.grid().viewport()->height() - 2) + 1, 28);
    }

    void saveReadsBackIntoTheSameColumns() {
        QTemporaryDir dir;
        Rig rig;
        rig.fill(3);
        const QByteArray saved = rig.save(dir.filePath(QStringLiteral("set.dat")));
        QCOMPARE(saved, QByteArray("\"1\t05-02-2003\t14:00:00\t45.6\t-3.1\tC\t\"\r\n"
                                   "\"2\t05-02-2003\t14:00:02\t45.6\t-3.1\tC\t\"\r\n"
                                   "\"3\t05-02-2003\t14:00:04\t45.6\t-3.1\tC\tLOW\"\r\n"));
        QCOMPARE(rig.dialogs.fileRequests.constLast().filter,
                 QStringLiteral("Data File[*.dat]|*.dat|All type[*.*]|*.*"));
        QVERIFY(rig.dialogs.fileRequests.constLast().save);

        QWidget view;
        Grid loaded(&view);
        QVERIFY(LoadFileIntoGrid(loaded, dir.filePath(QStringLiteral("set.dat"))).complete);
        QCOMPARE(loaded.rowCount(), rig.grid().rowCount());
        for (int row = 1; row < loaded.rowCount(); ++row)
            for (int column = 0; column < 7; ++column)
                QCOMPARE(loaded.cellText(row, column), rig.grid().cellText(row, column).trimmed());
        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    void emptyTableSavesAnEmptyFile() {
        QTemporaryDir dir;
        Rig rig;
        const QString path = dir.filePath(QStringLiteral("empty.dat"));
        writeFile(path, "old");
        QCOMPARE(rig.save(path), QByteArray());
    }

    // Also after an earlier save in the same window chose a name.
    void cancelWritesNothing() {
        QTemporaryDir dir;
        Rig rig;
        rig.fill(2);
        const QString path = dir.filePath(QStringLiteral("a.dat"));
        rig.save(path);
        writeFile(path, "kept");
        rig.action("MNUSAVE")->trigger();
        QCOMPARE(rig.dialogs.fileRequests.size(), 2);
        QCOMPARE(rig.dialogs.fileRequests[1].initialPath, path);
        QCOMPARE(readFile(path), QByteArray("kept"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.dat"});
    }

    void failedSaveKeepsTheOldFileAndSaysWhy_data() {
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only folder") << true << QStringLiteral("Permission denied");
        QTest::newRow("write fails part-way") << false << QStringLiteral("File too large");
    }
    void failedSaveKeepsTheOldFileAndSaysWhy() {
        QFETCH(bool, readOnlyFolder);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(),
                              QFile::permissions(dir.path()) | QFile::ReadOther | QFile::ExeOther);
        const QString folder = dir.filePath(QStringLiteral("sets"));
        QVERIFY(QDir().mkdir(folder));
        const QString path = folder + QStringLiteral("/set.dat");
        writeFile(path, "the old records\r\n");
        Rig rig;
        rig.fill(300);
        if (readOnlyFolder) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                              QFile::ExeOther);
            const WithoutRootsFileRights user;
            rig.save(path);
        } else {
            const FileSizeLimit limit(4096);
            rig.save(path);
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(readFile(path), QByteArray("the old records\r\n"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"set.dat"});
        QCOMPARE(rig.dialogs.oneFailureBoxLacks({"THE RECORDS WERE NOT SAVED !!", path, reason}),
                 QString());
    }

    void chartValues_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("setRecordCount");
        QTest::addColumn<double>("count");
        QTest::addColumn<QStringList>("times");
        QTest::newRow("seven") << 7 << QStringLiteral("7") << 7.0
                               << QStringList{"14:00:00", "14:00:04", "14:00:12"};
        QTest::newRow("one record")
            << 1 << QStringLiteral("1") << 1.0 << QStringList{"14:00:00", "Time", "14:00:00"};
        QTest::newRow("count above the rows")
            << 4 << QStringLiteral("812") << 4.0 << QStringList{"14:00:00", "14:00:02", "14:00:06"};
    }
    void chartValues() {
        QFETCH(int, records);
        QFETCH(QString, setRecordCount);
        QFETCH(double, count);
        QFETCH(QStringList, times);
        Rig rig;
        rig.fill(records);
        rig.state.logger.SetRecordCount = setRecordCount;
        rig.state.recordedCharts.RecHumTopNow = QStringLiteral("80");
        rig.state.recordedCharts.RecTemMidNow = 20;
        QSignalSpy humidity(rig.window, &RecordListWindow::humidityChartRequested);
        QSignalSpy temperature(rig.window, &RecordListWindow::temperatureChartRequested);

        rig.action("HUMIDITY")->trigger();
        const RecordedChartValues& values = rig.state.recordedCharts;
        QCOMPARE(values.RecHumCount, count);
        QCOMPARE((QStringList{values.RecHumTime1, values.RecHumTime2, values.RecHumTime3}), times);
        QCOMPARE(values.RecHumTopNow, QStringLiteral("100"));
        QCOMPARE(humidity.size(), 1);
        QCOMPARE(values.RecTemMidNow, 20.0);

        rig.action("TEMPERATURE")->trigger();
        QCOMPARE(values.RecTemCount, count);
        QCOMPARE((QStringList{values.RecTemTime1, values.RecTemTime2, values.RecTemTime3}), times);
        QCOMPARE(values.RecTemMidNow, 50.0);
        QCOMPARE(values.RecTemNegTop, -100.0);
        QCOMPARE(temperature.size(), 1);
        QCOMPARE(humidity.size(), 1);
    }

    // LIST and REC_LIST share the printer: while either prints, neither offers PRINT.
    void printGreysEveryListsPrint() {
        Rig rig;
        rig.fill(3);
        auto* list = new ListWindow(&rig.panel, rig.state, rig.dialogs, rig.printer, rig.waiter);
        QList<bool> enabledDuringPrint;
        rig.waiter.onWait = [&](double) {
            enabledDuringPrint << rig.action("PRINT")->isEnabled()
                               << list->findChild<QAction*>(QStringLiteral("PRINT"))->isEnabled();
        };
        rig.action("PRINT")->trigger();
        QCOMPARE(rig.printer.lines.size(), 5);
        QVERIFY(rig.printer.lines[4].startsWith(QStringLiteral("3       05-02-2003  14:00:04")));
        QCOMPARE(rig.printer.documentsEnded, 1);
        QCOMPARE(enabledDuringPrint, QList<bool>(6, false));
        QVERIFY(rig.action("PRINT")->isEnabled());

        enabledDuringPrint.clear();
        list->grid().addRow(QStringLiteral("1\t05-02-2003\t14:00:00\t45.6\t23.1\tC"));
        list->PRINT_Click();
        QCOMPARE(enabledDuringPrint, QList<bool>(2, false));
        QVERIFY(rig.action("PRINT")->isEnabled());
        QCOMPARE(rig.printer.documentsEnded, 2);
    }

    void closingSaysUnloaded() {
        Rig rig;
        QSignalSpy unloaded(rig.window, &RecordListWindow::unloaded);
        rig.window->show();
        QPointer<RecordListWindow> window = rig.window;
        window->close();
        QCOMPARE(unloaded.size(), 1);
        QTRY_VERIFY(!window);
    }
};

QTEST_MAIN(RecordListWindowTest)
#include "record_list_window_test.moc"
