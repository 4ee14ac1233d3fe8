#pragma once

#include "logic/charts/LimitDialogLogic.h"
#include "logic/state/ChartKind.h"

#include <QWidget>

class Dialogs;
class QLineEdit;
class QPushButton;
struct ChartLimits;
struct LiveChartProgress;

// RHRANGE (humidity) and TEMRANGE (temperature): the live chart's number of points and its bottom
// and top values. It stays open after OK, whether the entries were taken or not. Deleted when
// closed.
class LimitDialog final : public QWidget {
    Q_OBJECT
public:
    // limits and progress are the dialog's kind's.
    LimitDialog(ChartKind kind, QWidget* parent, ChartLimits& limits, LiveChartProgress& progress,
                Dialogs& dialogs);

    ChartKind kind() const { return kind_; }

public Q_SLOTS:
    // OK: checks the three boxes and, when they hold, gives the chart its new limits.
    void Command1_Click();

Q_SIGNALS:
    // OK was pressed: a visible chart of this quantity closes before the entries are stored.
    void chartCloseRequested();
    // The entries were taken: a fresh chart opens with its timer running.
    void freshChartRequested();

private:
    // Fills the boxes with the limits the chart has now.
    void Form_Load();
    void boxChanged(LimitBox changed);
    QLineEdit* box(LimitBox which) const;

    ChartKind kind_;
    ChartLimits& limits_;
    LiveChartProgress& progress_;
    Dialogs& dialogs_;
    QLineEdit* TXTT2;
    QLineEdit* TXTR1;
    QLineEdit* TXTR2;
    QPushButton* Command1;
};
