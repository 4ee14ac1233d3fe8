#include "FakeDialogs.h"
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

Q_DECLARE_METATYPE(Printer::Failure)

namespace {

QString row(int number, const char* battery = "") {
    return QStringLiteral("%1\t05-02-2003\t14:03:%2\t45.6\t23.1\tC\t%3")
        .arg(number)
        .arg(number % 60, 2, 10, QLatin1Char('0'))
        .arg(QString::fromLatin1(battery));
}

QString printed(const QString& tabText) {
    return printDataLine(tabText.split(QLatin1Char('\t')));
}

// A list of rows on the fake printer and waiter.
struct Rig {
    explicit Rig(int rows) {
        setUpListGrid(grid);
        for (int i = 1; i <= rows; ++i)
            grid.addRow(row(i, i % 2 == 0 ? "LOW" : ""));
    }
    void print() { PrintListReport(grid, printer, waiter, dialogs); }
    QWidget window;
    Grid grid{&window};
    FakePrinter printer;
    FakeWaiter waiter;
    FakeDialogs dialogs;
};

} // namespace

class PrintReportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A heading and a rule, then each row after a wait, under the hourglass.
    void oneLinePerRowEachAfterAWait() {
        Rig rig(2);
        QList<int> linesAtEachWait;
        Qt::CursorShape during = Qt::ArrowCursor;
        rig.waiter.onWait = [&](double) {
            linesAtEachWait << rig.printer.lines.size();
            if (const QCursor* cursor = QGuiApplication::overrideCursor())
                during = cursor->shape();
        };
        rig.print();
        QCOMPARE(rig.printer.lines, (QStringList{printHeadingLine(), printRuleLine(),
                                                 printed(row(1)), printed(row(2, "LOW"))}));
        QCOMPARE(rig.waiter.waits, (QList<double>{0.02, 0.02}));
        QCOMPARE(linesAtEachWait, (QList<int>{2, 3}));
        QCOMPARE(rig.printer.documentsEnded, 1);
        QCOMPARE(during, Qt::WaitCursor);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // No hourglass kept up as if pages were on their way: the report stops at once, the pointer
    // and PRINT come back, and a box says why nothing was printed.
    void noPrinterOrARefusedJobSaysNothingWasPrinted_data() {
        QTest::addColumn<Printer::Failure>("failure");
        QTest::addColumn<QString>("why");
        QTest::newRow("no printer")
            << Printer::Failure::NoPrinter
            << QStringLiteral("There is no default printer set up on this computer.");
        QTest::newRow("refused")
            << Printer::Failure::Refused
            << QStringLiteral("The printer refused the job (the queue is not accepting jobs).");
    }
    void noPrinterOrARefusedJobSaysNothingWasPrinted() {
        QFETCH(Printer::Failure, failure);
        QFETCH(QString, why);
        Rig rig(2);
        rig.printer.failing = failure;
        rig.printer.failingReason = QStringLiteral("the queue is not accepting jobs");
        bool hourglassDuringBox = true;
        rig.dialogs.onMessage = [&](const FakeDialogs::Message&) {
            hourglassDuringBox = QGuiApplication::overrideCursor() || rig.printer.busy().isBusy();
        };
        rig.print();
        QCOMPARE(rig.dialogs.oneFailureBoxLacks({"NOTHING WAS PRINTED !!\n" + why}), QString());
        QVERIFY(!hourglassDuringBox);
        QVERIFY(rig.waiter.waits.isEmpty());
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(rig.grid.rowCount(), 3);

        // Once the printer works again, PRINT prints.
        rig.printer.failing = Printer::Failure::None;
        rig.print();
        QCOMPARE(rig.printer.lines.size(), 4);
        QCOMPARE(rig.dialogs.messages.size(), 1);
    }

    // Rows added while printing are printed; the program ending stops the print.
    void theProgramEndingStopsThePrint() {
        Rig rig(1);
        rig.waiter.onWait = [&](double) {
            rig.grid.addRow(row(rig.grid.rowCount()));
            if (rig.waiter.waits.size() == 4)
                rig.waiter.stopAll();
        };
        rig.print();
        QCOMPARE(rig.printer.lines.size(), 2 + 3);
        QCOMPARE(rig.printer.lines.last(), printed(row(3)));
        QCOMPARE(rig.printer.documentsEnded, 1);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Through Qt's real print path into a PDF, read back with the place of every word: the lines
    // are all there, over more than one page, and each word stands at its character column times
    // one fixed pitch, so the columns line up on paper.
    void realPrintIntoPdf() {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
        Rig rig(150);
        QStringList expected{printHeadingLine(), printRuleLine()};
        for (int i = 1; i <= 150; ++i)
            expected << printed(row(i, i % 2 == 0 ? "LOW" : ""));
        {
            QtPrinter printer(pdf);
            PrintListReport(rig.grid, printer, rig.waiter, rig.dialogs);
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
