#pragma once

#include <QObject>

class Dialogs;
class QWidget;

// OPTION > SAMPLE RATE: asks for the PC sampling period and writes it into lblsample, where
// every sampling timer reads it at its next tick. Nothing goes to the meter.
class SampleRateCommand final : public QObject {
    Q_OBJECT

public:
    // panel: the main window, which holds the menu item CMDSAMPLE and the label lblsample; it is
    // also the parent.
    SampleRateCommand(QWidget* panel, Dialogs& dialogs);

    void CMDSAMPLE_Click();

private:
    QWidget* panel_;
    Dialogs& dialogs_;
};
