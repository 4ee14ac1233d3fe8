#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "lists/Grid.h"
#include "lists/ListGridLayout.h"
#include "lists/PrintLine.h"
#include "lists/PrintListReport.h"
#include "platform/QtPrinter.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

QString row(int number, const char* battery = "") {
    return QStringLiteral("%1\t05-02-2003\t14:03:%2\t45.6\t23.1\tC\t%3")
        .arg(number)
        .arg(number % 60, 2, 10, QLatin1Char('0'))
        .arg(QString::fromLatin1(battery));
}

QStringList cells(const QString& tabText) {
    return tabText.split(QLatin1Char('\t'));
}

} // namespace

class PrintReportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headerOnlyPrintsHeadingAndRule() {
        QWidget window;
        Grid grid(&window);
        setUpListGrid(grid);
        FakePrinter printer;
        FakeWaiter waiter;
        PrintListReport(grid, printer, waiter);
        QCOMPARE(printer.lines, (QStringList{printHeadingLine(), printRuleLine()}));
        QCOMPARE(printer.documentsEnded, 1);
        QVERIFY(waiter.waits.isEmpty());
    }

    void oneLinePerRowEachAfterAWait() {
        QWidget window;
        Grid grid(&window);
        setUpListGrid(grid);
        grid.addRow(row(1));
        grid.addRow(row(2, "LOW"));
        FakePrinter printer;
        FakeWaiter waiter;
        QList<int> linesAtEachWait;
        waiter.onWait = [&](double) { linesAtEachWait << printer.lines.size(); };
        PrintListReport(grid, printer, waiter);
        QCOMPARE(printer.lines,
                 (QStringList{printHeadingLine(), printRuleLine(), printDataLine(cells(row(1))),
                              printDataLine(cells(row(2, "LOW")))}));
        QCOMPARE(waiter.waits, (QList<double>{0.02, 0.02}));
        // The wait comes before its row is printed.
        QCOMPARE(linesAtEachWait, (QList<int>{2, 3}));
        QCOMPARE(printer.documentsEnded, 1);
    }

    void rowsAddedWhilePrintingArePrinted() {
        QWidget window;
        Grid grid(&window);
        grid.addRow(row(1));
        FakePrinter printer;
        FakeWaiter waiter;
        waiter.onWait = [&](double) {
            if (grid.rowCount() < 4)
                grid.addRow(row(grid.rowCount()));
        };
        PrintListReport(grid, printer, waiter);
        QCOMPARE(printer.lines.size(), 2 + 3);
        QCOMPARE(printer.lines.last(), printDataLine(cells(row(3))));
    }

    void hourglassWhilePrintingOnly() {
        QWidget window;
        Grid grid(&window);
        grid.addRow(row(1));
        FakePrinter printer;
        FakeWaiter waiter;
        Qt::CursorShape during = Qt::ArrowCursor;
        waiter.onWait = [&](double) {
            if (const QCursor* cursor = QGuiApplication::overrideCursor())
                during = cursor->shape();
        };
        PrintListReport(grid, printer, waiter);
        QCOMPARE(during, Qt::WaitCursor);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void noPrinterPrintsNothingAndGoesOn() {
        QWidget window;
        Grid grid(&window);
        grid.addRow(row(1));
        grid.addRow(row(2));
        FakePrinter printer;
        printer.available = false;
        FakeWaiter waiter;
        PrintListReport(grid, printer, waiter);
        QVERIFY(printer.lines.isEmpty());
        QCOMPARE(printer.documentsEnded, 0);
        QCOMPARE(waiter.waits.size(), 2);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void theProgramEndingStopsThePrint() {
        QWidget window;
        Grid grid(&window);
        for (int i = 1; i <= 10; ++i)
            grid.addRow(row(i));
        FakePrinter printer;
        FakeWaiter waiter;
        waiter.onWait = [&](double) {
            if (waiter.waits.size() == 3)
                waiter.stopAll();
        };
        PrintListReport(grid, printer, waiter);
        QCOMPARE(printer.lines.size(), 2 + 2);
        QCOMPARE(printer.documentsEnded, 1);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Through Qt's real print path into a PDF, read back with the place of every word: the lines
    // are all there, over more than one page, and each word stands at its character column
    // times one fixed pitch, so the columns line up on paper.
    void realPrintIntoPdf() {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
        QWidget window;
        Grid grid(&window);
        setUpListGrid(grid);
        const int rows = 150;
        QStringList expected{printHeadingLine(), printRuleLine()};
        for (int i = 1; i <= rows; ++i) {
            grid.addRow(row(i, i % 10 == 0 ? "LOW" : ""));
            expected << printDataLine(cells(row(i, i % 10 == 0 ? "LOW" : "")));
        }
        {
            QtPrinter printer(pdf);
            FakeWaiter waiter;
            PrintListReport(grid, printer, waiter);
        }
        QProcess convert;
        convert.start(pdftotext, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        QVERIFY(convert.waitForFinished(30000));
        QCOMPARE(convert.exitCode(), 0);
        const QList<PrintedLine> lines =
            printedLines(QString::fromUtf8(convert.readAllStandardOutput()));

        QCOMPARE(lines.size(), expected.size());
        QVERIFY(lines.constLast().page >= 1);
        QCOMPARE(lines[0].page, 0);
        const PrintedWord& first = lines[2].words[0];
        const double pitch = (first.right - first.left) / first.text.size();
        const double origin = first.left;
        for (int i = 0; i < lines.size(); ++i) {
            const QString& want = expected[i];
            const QStringList wantWords = want.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QCOMPARE(lines[i].words.size(), wantWords.size());
            qsizetype column = 0;
            for (int w = 0; w < wantWords.size(); ++w) {
                column = want.indexOf(wantWords[w], column);
                const PrintedWord& word = lines[i].words[w];
                QCOMPARE(word.text, wantWords[w]);
                QVERIFY2(qAbs(word.left - (origin + column * pitch)) < pitch / 4,
                         qPrintable(QStringLiteral("line %1 word %2").arg(i).arg(word.text)));
                column += wantWords[w].size();
            }
        }
    }

private:
    struct PrintedWord {
        double left;
        double right;
        QString text;
    };
    struct PrintedLine {
        int page;
        double top;
        QList<PrintedWord> words;
    };

    // The words of pdftotext's box listing, gathered into lines by page and height.
    static QList<PrintedLine> printedLines(const QString& boxes) {
        static const QRegularExpression pageOrWord(QStringLiteral(
            R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
        QList<PrintedLine> lines;
        int page = -1;
        for (const QRegularExpressionMatch& match : pageOrWord.globalMatch(boxes)) {
            if (match.captured(0).startsWith(QStringLiteral("<page"))) {
                ++page;
                continue;
            }
            const PrintedWord word{match.captured(1).toDouble(), match.captured(3).toDouble(),
                                   match.captured(4)};
            const double top = match.captured(2).toDouble();
            auto line = std::find_if(lines.begin(), lines.end(), [&](const PrintedLine& l) {
                return l.page == page && qAbs(l.top - top) < 1.0;
            });
            if (line == lines.end())
                lines.append({page, top, {word}});
            else
                line->words.append(word);
        }
        for (PrintedLine& line : lines)
            std::sort(line.words.begin(), line.words.end(),
                      [](const PrintedWord& a, const PrintedWord& b) { return a.left < b.left; });
        std::sort(lines.begin(), lines.end(), [](const PrintedLine& a, const PrintedLine& b) {
            return a.page != b.page ? a.page < b.page : a.top < b.top;
        });
        return lines;
    }
};

QTEST_MAIN(PrintReportTest)
#include "print_report_test.moc"
