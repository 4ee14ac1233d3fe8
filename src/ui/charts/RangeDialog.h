#pragma once

#include "logic/state/ChartKind.h"
#include "logic/text/RecordCells.h"

#include <QWidget>
#include <functional>

class Dialogs;
class QLineEdit;
class QPushButton;
struct LoggerSelection;
struct RecordedChartValues;

// RANGEFORM (humidity) and RANGEFORM2 (temperature): the records a recorded chart shows, FROM to
// TO, and its bottom and top values. It stays open after OK; while it is open, its FROM decides
// the chart's first record. Deleted when closed.
class RangeDialog final : public QWidget {
    Q_OBJECT
public:
    // values are the chart's; logger holds the set's record count. bottomLabel and topLabel are
    // the chart's LBL0 and LBLVALTOP captions; the dialog opens at (left, 0), to the right of the
    // chart. cells reads the records the chart draws.
    RangeDialog(ChartKind kind, QWidget* parent, RecordedChartValues& values,
                const LoggerSelection& logger, Dialogs& dialogs, std::function<RecordCells()> cells,
                const QString& bottomLabel, const QString& topLabel, int left);

    ChartKind kind() const { return kind_; }
    // The FROM box's text.
    QString fromText() const;

public Q_SLOTS:
    // OK: checks the range of records and the value limits and, when they hold, redraws the chart.
    void Command1_Click();

Q_SIGNALS:
    // OK was pressed: a visible chart of this quantity closes before the entries are stored.
    void chartCloseRequested();
    // The entries were taken: a fresh chart opens and draws the range.
    void freshChartRequested();

private:
    // Fills the boxes with the records and limits the chart shows now.
    void Form_Load(const QString& bottomLabel, const QString& topLabel, int left);

    ChartKind kind_;
    RecordedChartValues& values_;
    const LoggerSelection& logger_;
    Dialogs& dialogs_;
    std::function<RecordCells()> cells_;
    QLineEdit* TXTT1;
    QLineEdit* TXTT2;
    QLineEdit* TXTR1;
    QLineEdit* TXTR2;
    QPushButton* Command1;
};
