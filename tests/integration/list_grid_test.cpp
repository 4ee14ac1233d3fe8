#include "ui/lists/Grid.h"
#include "ui/lists/GridModel.h"
#include "ui/lists/ListGridLayout.h"

#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>

class ListGridTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addRowSplitsAtTabs_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("full row") << "1\t05-02-2003\t14:03:27\t45.6\t23.1\tC\tLOW"
                                  << QStringList{"1",    "05-02-2003", "14:03:27", "45.6",
                                                 "23.1", "C",          "LOW"};
        QTest::newRow("fewer fields leave empty cells")
            << "2\t05-02-2003" << QStringList{"2", "05-02-2003", "", "", "", "", ""};
        QTest::newRow("fields beyond the last column are not shown")
            << "a\tb\tc\td\te\tf\tg\th" << QStringList{"a", "b", "c", "d", "e", "f", "g"};
        QTest::newRow("latin-1 letters")
            << QStringLiteral("\u00b0C\t\u00e9")
            << QStringList{QStringLiteral("\u00b0C"), QStringLiteral("\u00e9"), "", "", "", "", ""};
    }
    void addRowSplitsAtTabs() {
        QFETCH(QString, text);
        QFETCH(QStringList, cells);
        QWidget window;
        Grid grid(&window);
        grid.addRow(text);
        QCOMPARE(grid.rowCount(), 2);
        QStringList actual;
        for (int column = 0; column < grid.columnCount(); ++column)
            actual << grid.cellText(1, column);
        QCOMPARE(actual, cells);
        // What the view shows is the same text.
        QCOMPARE(grid.model()->data(grid.model()->index(0, 2)).toString(), cells[2]);
    }

    void currentCellReadsAndWritesTheHeaderAndTheRows() {
        QWidget window;
        Grid grid(&window);
        grid.addRow(QStringLiteral("1\ta\tb"));
        grid.setCurrentRow(0);
        grid.setCurrentColumn(3);
        grid.setCurrentText(QStringLiteral(" %RH "));
        QCOMPARE(grid.currentText(), QStringLiteral(" %RH "));
        QCOMPARE(grid.model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral(" %RH "));

        grid.setCurrentRow(1);
        grid.setCurrentColumn(2);
        QCOMPARE(grid.currentText(), QStringLiteral("b"));
        grid.setCurrentColumn(5);
        grid.setCurrentText(QStringLiteral("F"));
        QCOMPARE(grid.cellText(1, 5), QStringLiteral("F"));
        QCOMPARE(grid.cellText(1, 2), QStringLiteral("b"));
        // The view follows the current cell.
        QTRY_COMPARE(grid.currentIndex(), grid.model()->index(0, 5));
    }

    void rowCountCutsAddsOrClearsToTheHeader() {
        QWidget window;
        Grid grid(&window);
        QCOMPARE(grid.rowCount(), 1);
        QCOMPARE(grid.columnCount(), 7);
        grid.setCurrentRow(0);
        grid.setCurrentText(QStringLiteral("No."));
        for (int i = 1; i <= 40; ++i)
            grid.addRow(QString::number(i));
        grid.setRowCount(3);
        QCOMPARE(grid.rowCount(), 3);
        QCOMPARE(grid.cellText(2, 0), QStringLiteral("2"));
        grid.setRowCount(5);
        QCOMPARE(grid.cellText(4, 0), QString());
        grid.setCurrentRow(4);
        grid.setFirstVisibleRow(3);
        grid.setRowCount(1);
        QCOMPARE(grid.rowCount(), 1);
        QCOMPARE(grid.cellText(0, 0), QStringLiteral("No."));
        QCOMPARE(grid.currentRow(), 0);
        QCOMPARE(grid.firstVisibleRow(), 1);
        grid.addRow(QStringLiteral("fresh"));
        QCOMPARE(grid.cellText(1, 0), QStringLiteral("fresh"));
    }

    void bulkRowsAppearInOneInsertion() {
        QWidget window;
        Grid grid(&window);
        QSignalSpy inserted(grid.model(), &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < 1000; ++i)
            grid.rows().stageRow(QByteArray::number(i) + "\tx");
        QCOMPARE(grid.rowCount(), 1);
        grid.rows().commitRows();
        QCOMPARE(grid.rowCount(), 1001);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(grid.cellText(1000, 0), QStringLiteral("999"));
    }

    void aHugeCellIsShownCutButKeptWhole() {
        QWidget window;
        Grid grid(&window);
        const QString huge(100000, QLatin1Char('x'));
        grid.addRow(huge);
        QCOMPARE(grid.cellText(1, 0), huge);
        QVERIFY(grid.model()->data(grid.model()->index(0, 0)).toString().size() < 5000);
    }

    // The windows' own moves of the top row, the user's scrolls, keys and clicks, in a list
    // longer than the view.
    void scrollingKeysAndClicks() {
        QWidget window;
        Grid grid(&window);
        grid.resize(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int i = 1; i <= 100; ++i)
            grid.addRow(QString::number(i) + QStringLiteral("\tx") + QString::number(i));
        grid.setFirstVisibleRow(10);
        QCOMPARE(grid.firstVisibleRow(), 10);
        // The view scrolls once it has laid out the new rows.
        QTRY_COMPARE(grid.rowAt(0), 9);
        // The list scrolls no further than its last row at the bottom.
        grid.scrollToBottom();
        QVERIFY(grid.viewport()->rect().contains(grid.visualRect(grid.model()->index(99, 0))));
        grid.scrollToTop();
        QCOMPARE(grid.firstVisibleRow(), 1);

        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_Down);
        QTest::keyClick(&grid, Qt::Key_End);
        QCOMPARE(grid.currentRow(), 100);
        QVERIFY(grid.viewport()->rect().contains(grid.visualRect(grid.model()->index(99, 0))));
        // A click on the top row of a scrolled list picks that row, not the first.
        QSignalSpy clicked(&grid, &Grid::cellClicked);
        const int top = grid.firstVisibleRow();
        QVERIFY(top > 1);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.model()->index(top - 1, 1)).center());
        QCOMPARE(clicked.value(0), (QVariantList{top, 1}));
        QCOMPARE(grid.currentText(), QStringLiteral("x") + QString::number(top));
        QTest::keyClick(&grid, Qt::Key_Home);
        QCOMPARE(grid.currentRow(), 1);
        QCOMPARE(grid.firstVisibleRow(), 1);
    }

    void listLayoutSetsHeadersAndMeasuredWidths() {
        QWidget window;
        Grid grid(&window);
        setUpListGrid(grid);
        const QStringList headers{"", "Date", "Time", " %RH ", "TEMP", "C/F", "BAT"};
        const QFontMetrics metrics(grid.font());
        const QStringList samples = listWidthSamples();
        for (int column = 0; column < 7; ++column) {
            QCOMPARE(grid.cellText(0, column), headers[column]);
            const int sampleWidth = metrics.horizontalAdvance(samples[column]);
            QVERIFY(grid.columnWidth(column) >= sampleWidth);
            QVERIFY(grid.columnWidth(column) <= sampleWidth + 12);
        }
    }
};

QTEST_MAIN(ListGridTest)
#include "list_grid_test.moc"
