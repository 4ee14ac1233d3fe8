#include "FakeDialogs.h"
#include "FakePrinter.h"
#include "FakeWaiter.h"
#include "logic/lists/PrintLine.h"
#include "ui/lists/Grid.h"
#include "ui/lists/ListGridLayout.h"
#include "ui/lists/PrintListReport.h"
#include "ui/platform/QtPrinter.h"

#include <QApplication>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString row(int number) {
    return QStringLiteral("%1\t05-02-2003\t14:03:%2\t45.6\t23.1\tC\t%3")
        .arg(number)
        .arg(number % 60, 2, 10, QLatin1Char('0'))
        .arg(number % 2 == 0 ? "LOW" : "");
}

QString printed(int number) {
    return printDataLine(row(number).split(QLatin1Char('\t')));
}

// A list of rows on the fake printer and waiter.
struct Rig {
    explicit Rig(int rows) {
        setUpListGrid(grid);
        for (int i = 1; i <= rows; ++i)
            grid.addRow(row(i));
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
    // Without a printer no hourglass is kept up as if pages were on their way: the report stops
    // at once, the pointer and PRINT come back, and a box says why nothing was printed. Once the
    // printer works, a heading and a rule, then each row after a wait, under the hourglass; rows
    // added while printing are printed, and the program ending stops the print.
    void noPrinterThenOneLinePerRowEachAfterAWait() {
        Rig rig(1);
        rig.printer.failing = Printer::Failure::NoPrinter;
        bool hourglassDuringBox = true;
        rig.dialogs.onMessage = [&](const FakeDialogs::Message&) {
            hourglassDuringBox = QGuiApplication::overrideCursor() || rig.printer.busy().isBusy();
        };
        rig.print();
        QCOMPARE(rig.dialogs.oneFailureBoxLacks(
                     {"NOTHING WAS PRINTED !!\nThere is no default printer set up on this "
                      "computer."}),
                 QString());
        QVERIFY(!hourglassDuringBox);
        QVERIFY(rig.waiter.waits.isEmpty());

        rig.printer.failing = Printer::Failure::None;
        QList<int> linesAtEachWait;
        Qt::CursorShape during = Qt::ArrowCursor;
        rig.waiter.onWait = [&](double) {
            linesAtEachWait << rig.printer.lines.size();
            if (const QCursor* cursor = QGuiApplication::overrideCursor())
                during = cursor->shape();
            rig.grid.addRow(row(rig.grid.rowCount()));
            if (rig.waiter.waits.size() == 4)
                rig.waiter.stopAll();
        };
        rig.print();
        QCOMPARE(rig.printer.lines, (QStringList{printHeadingLine(), printRuleLine(), printed(1),
                                                 printed(2), printed(3)}));
        QCOMPARE(rig.waiter.waits, QList<double>(4, 0.02));
        QCOMPARE(linesAtEachWait, (QList<int>{2, 3, 4, 5}));
        QCOMPARE(rig.printer.documentsEnded, 1);
        QCOMPARE(during, Qt::WaitCursor);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Through Qt's real print path into a PDF, read back with the place of every word: each line,
    // rebuilt from its words at their character columns of one fixed pitch, is the line sent, over
    // more than one page, so the columns line up on paper.
    void realPrintIntoPdf() {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
        Rig rig(150);
        {
            QtPrinter printer(pdf);
            PrintListReport(rig.grid, printer, rig.waiter, rig.dialogs);
        }
        QProcess convert;
        convert.start(pdftotext, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        QVERIFY(convert.waitForFinished(30000));

        // The words by page and height; pdftotext lists a line's words left to right.
        static const QRegularExpression pageOrWord(QStringLiteral(
            R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
        QMap<std::pair<int, int>, QList<QRegularExpressionMatch>> lines;
        int page = -1;
        for (const QRegularExpressionMatch& match :
             pageOrWord.globalMatch(QString::fromUtf8(convert.readAllStandardOutput()))) {
            if (match.captured(0).startsWith(QStringLiteral("<page")))
                ++page;
            else
                lines[{page, qRound(match.captured(2).toDouble())}] << match;
        }
        QCOMPARE(lines.size(), 2 + 150);
        QVERIFY(lines.lastKey().first >= 1);
        const QRegularExpressionMatch first = lines.values().at(2).first();
        const double origin = first.captured(1).toDouble();
        const double pitch = (first.captured(3).toDouble() - origin) / first.captured(4).size();
        static const QRegularExpression trailingSpaces(QStringLiteral(" +$"));
        int i = -1;
        for (const QList<QRegularExpressionMatch>& words : std::as_const(lines)) {
            QString rebuilt;
            for (const QRegularExpressionMatch& word : words) {
                const double at = (word.captured(1).toDouble() - origin) / pitch;
                QVERIFY2(qAbs(at - qRound(at)) < 0.25, qPrintable(word.captured(4)));
                rebuilt = rebuilt.leftJustified(qRound(at), QLatin1Char(' ')) + word.captured(4);
            }
            const QString sent = i == -1  ? printHeadingLine()
                                 : i == 0 ? printRuleLine()
                                          : printed(i);
            QCOMPARE(rebuilt, QString(sent).remove(trailingSpaces));
            ++i;
        }
    }
};

QTEST_MAIN(PrintReportTest)
#include "print_report_test.moc"
