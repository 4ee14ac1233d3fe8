#pragma once

#include "charts/ChartKind.h"
#include "charts/LimitDialogLogic.h"

#include <QWidget>

class Dialogs;
class QLineEdit;
class QPushButton;
struct SharedState;

// RHRANGE (humidity) and TEMRANGE (temperature): the live chart's number of points and its bottom
// and top values. It stays open after OK, whether the entries were taken or not. Deleted when
// closed.
class LimitDialog final : public QWidget {
    Q_OBJECT
public:
    LimitDialog(ChartKind kind, QWidget* parent, SharedState& state, Dialogs& dialogs);

    ChartKind kind() const { return kind_; }

public Q_SLOTS:
    void Command1_Click();

Q_SIGNALS:
    // OK was pressed: a visible chart of this quantity closes before the entries are stored.
    void chartCloseRequested();
    // The entries were taken: a fresh chart opens with its timer running.
    void freshChartRequested();

private:
    void Form_Load();
    void boxChanged(LimitBox changed);
    QLineEdit* box(LimitBox which) const;

    ChartKind kind_;
    SharedState& state_;
    Dialogs& dialogs_;
    QLineEdit* TXTT2;
    QLineEdit* TXTR1;
    QLineEdit* TXTR2;
    QPushButton* Command1;
};
