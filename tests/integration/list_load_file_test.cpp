#include "PanelRig.h"
#include "TestFiles.h"
#include "logic/recording/DataFileFormat.h"
#include "ui/lists/Grid.h"
#include "ui/lists/ListWindow.h"
#include "ui/lists/LiveListController.h"
#include "ui/lists/LoadFileIntoGrid.h"

#include <QTemporaryDir>
#include <QTest>

class ListLoadFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Recorder lines, LF-only and CR-only copies of them, and the record list's own save all show
    // the same rows.
    void dataFilesInEveryForm_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("rows");
        for (const char* name : {"recorder_two_runs.dat", "lf_only.dat", "cr_only.dat"})
            QTest::newRow(name) << name << 4;
        QTest::newRow("saved list") << "record_list_save.dat" << 3;
    }
    void dataFilesInEveryForm() {
        QFETCH(QString, name);
        QFETCH(int, rows);
        QWidget window;
        Grid grid(&window);
        QVERIFY(
            LoadFileIntoGrid(grid, qEnvironmentVariable("METER_TEST_DATA") + '/' + name).complete);
        QCOMPARE(grid.rowCount(), rows);
        const QStringList first{"1", "05-02-2003", "14:03:27", "45.6", "23.1", "C", ""};
        for (int column = 0; column < grid.columnCount(); ++column)
            QCOMPARE(grid.cellText(1, column), first[column]);
        QCOMPARE(grid.cellText(2, 6), QStringLiteral("LOW"));
        QCOMPARE(grid.cellText(rows - 1, 0), rows == 4 ? "1" : "2"); // a second run starts at 1
    }

    // A blank line, a line far longer than a read block and a last line without its line end,
    // under a path with spaces and non-ASCII letters; loading replaces the rows and keeps the
    // header. An empty file leaves the header only.
    void oddLinesReplaceTheRows() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Größe Ø €.dat"));
        const QByteArray longField(5 * 1024 * 1024 + 3, 'x');
        QVERIFY(writeFile(path, " 1\ta\r\n\r\n" + longField + "\tend\r\n 4\tc"));
        QWidget window;
        Grid grid(&window);
        grid.setCellText(0, 1, QStringLiteral("Date"));
        for (int i = 0; i < 10; ++i)
            grid.addRow(QStringLiteral("old"));
        QVERIFY(LoadFileIntoGrid(grid, path).complete);
        QCOMPARE(grid.rowCount(), 5);
        QCOMPARE(grid.cellText(0, 1), QStringLiteral("Date"));
        QCOMPARE(grid.cellText(2, 0), QString());
        QCOMPARE(grid.cellText(3, 0).size(), longField.size());
        QCOMPARE(grid.cellText(3, 1), QStringLiteral("end"));
        QCOMPARE(grid.cellText(4, 1), QStringLiteral("c"));

        QVERIFY(writeFile(path, {}));
        QVERIFY(LoadFileIntoGrid(grid, path).complete);
        QCOMPARE(grid.rowCount(), 1);
    }

    // OPEN FILE on a file it cannot open, or one cut short while it loads: the rows read so far
    // stay listed and a box says how far the file was read and why it stopped.
    void aFileNotReadToItsEndSaysSo_data() {
        QTest::addColumn<bool>("truncate");
        QTest::newRow("missing") << false;
        QTest::newRow("truncated while loading") << true;
    }
    void aFileNotReadToItsEndSaysSo() {
        QFETCH(bool, truncate);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cut.dat"));
        // Enough recorder lines to cross the reader's blocks.
        QByteArray bytes;
        for (int i = 1; i <= 60000; ++i)
            bytes += recorderLine(i, QStringLiteral("05-02-2003\t14:03:27\t45.6\t23.1\tC"));
        QVERIFY(writeFile(path, bytes));
        PanelRig rig;
        rig.trigger("CMDLIST");
        Grid& grid = rig.features.lists->window()->grid();
        grid.addRow(QStringLiteral("live row"));
        const QString chosen = truncate ? path : dir.filePath(QStringLiteral("gone.dat"));
        rig.dialogs.fileAnswers << chosen;
        // The first block is listed before the next is read.
        connect(grid.model(), &QAbstractItemModel::rowsInserted, &grid,
                [&] { QFile::resize(path, 100); });
        rig.trigger("CMDOPEN");
        const int rows = grid.rowCount() - 1;
        QVERIFY(truncate ? rows > 1000 && rows < 60000 : rows == 0);
        for (int row = 1; row < rows; ++row)
            QCOMPARE(grid.cellText(row, 0), QString::number(row));
        QCOMPARE(rig.dialogs.oneFailureBoxLacks(
                     truncate ? QStringList{"THE FILE WAS NOT READ TO ITS END !!", chosen,
                                            QStringLiteral("up to byte 1048576 of %1 (the file "
                                                           "became shorter while it was read)")
                                                .arg(bytes.size()),
                                            QStringLiteral("The %1 rows").arg(rows)}
                              : QStringList{"THE FILE WAS NOT OPENED !!", chosen,
                                            "could not be opened (No such file or directory)"}),
                 QString());
        QCOMPARE(rig.state.recording.ListLive, 1);
    }
};

QTEST_MAIN(ListLoadFileTest)
#include "list_load_file_test.moc"
