#pragma once

#include "FakePlatform.h"
#include "logic/state/SharedState.h"
#include "ui/charts/ChartCanvas.h"
#include "ui/charts/ChartWindow.h"
#include "ui/charts/ChartWindows.h"
#include "ui/lists/Grid.h"
#include "ui/lists/GridRecordCells.h"
#include "ui/lists/ListGridLayout.h"
#include "ui/platform/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTime>

// The chart windows over faked platform services, a stand-in main window and its captions, and
// a record list grid the test fills.
struct ChartRig : FakePlatform {
    SharedState state;
    QWidget mainWindow;
    Grid records{nullptr};
    QString sampling = QStringLiteral("2 Sec");
    QString humidity = QStringLiteral("50.0");
    QString temperature = QStringLiteral("20.0");
    QString unit = QStringLiteral("C");
    ChartWindows charts{
        &mainWindow, state.charts, state.logger, platform,
        LiveChartSource{[this] { return sampling; },
                        {{[this] { return humidity; }, [this] { return temperature; }}},
                        [this] { return unit; },
                        [] { return 420; }}};

    ChartRig() {
        for (ChartState& chart : state.charts)
            chart.limits = {300, 100, 50, 0};
        setUpListGrid(records);
    }

    // Record k at time 10:00:00 + k minutes, with the given humidity and temperature texts.
    void addRecord(const QString& humidityText, const QString& temperatureText,
                   const QString& unitText = QStringLiteral("C")) {
        const int k = records.rowCount();
        const QString time = QTime(10, 0).addSecs(60 * k).toString(QStringLiteral("hh:mm:ss"));
        records.addRow(QStringLiteral(" %1\t05-02-2003\t%2\t%3\t%4\t%5\t")
                           .arg(k)
                           .arg(time, humidityText, temperatureText, unitText));
    }

    // The recorded chart of every record in the grid, as the record list asks for it.
    ChartWindow* openRecordedChart(ChartKind kind) {
        state.logger.SetRecordCount = QString::number(records.rowCount() - 1);
        return charts.openRecordedChart(kind, recordCells());
    }
    // The charts' view of the record grid, as the application hands it over.
    std::function<RecordCells()> recordCells() {
        return [this] { return gridRecordCells(&records); };
    }

    // The captions of a chart's labels, found by their names.
    static QString caption(const QWidget* chart, const char* name) {
        return chart->findChild<QLabel*>(QLatin1String(name))->text();
    }
    static QStringList captions(const QWidget* chart, const QStringList& names) {
        QStringList captions;
        for (const QString& name : names)
            captions.append(chart->findChild<QLabel*>(name)->text());
        return captions;
    }

    // Types into the dialog's boxes (name, text, name, text, ...), then presses OK.
    static void confirm(QWidget* dialog, const QStringList& entries) {
        for (qsizetype i = 0; i + 1 < entries.size(); i += 2)
            box(dialog, entries[i])->setText(entries[i + 1]);
        dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    }
    static QLineEdit* box(QWidget* dialog, const QString& name) {
        return dialog->findChild<QLineEdit*>(name);
    }
    static QStringList texts(QWidget* dialog, const QStringList& names) {
        QStringList texts;
        for (const QString& name : names)
            texts.append(box(dialog, name)->text());
        return texts;
    }
};

// True when the trace shows in the chart image's pixel column at x (twips) and every trace
// pixel there lies within a pixel and a half of the height y (twips).
inline bool traceOnlyAt(const ChartWindow& chart, double xTwips, double yTwips) {
    const QImage image = chart.chartImage().convertToFormat(QImage::Format_RGB32);
    const Twips twips(&chart);
    QList<double> heights; // top down
    for (int y = 0; y < image.height(); ++y)
        if (image.pixelColor(twips.toPixels(xTwips), y) == ChartCanvas::traceColour())
            heights.append(twips.toTwips(y));
    const double tolerance = 1.5 * twips.toTwips(1);
    return !heights.isEmpty() && heights.first() >= yTwips - tolerance &&
           heights.last() <= yTwips + tolerance;
}
