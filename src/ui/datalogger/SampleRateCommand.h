#pragma once

#include <QObject>
#include <functional>

class Dialogs;
class QWidget;

// OPTION > SAMPLE RATE: asks for the PC sampling period and announces the new caption of
// lblsample, where every sampling timer reads it at its next tick. Nothing goes to the meter.
class SampleRateCommand final : public QObject {
    Q_OBJECT

public:
    // dialogParent: the window the input box stands over; it is also the parent.
    // currentCaption reads lblsample afresh at every call.
    SampleRateCommand(QWidget* dialogParent, Dialogs& dialogs,
                      std::function<QString()> currentCaption);

    // The user chose OPTION > SAMPLE RATE: asks for the period in seconds.
    void CMDSAMPLE_Click();

Q_SIGNALS:
    void sampleRateChosen(const QString& caption);

private:
    QWidget* dialogParent_;
    Dialogs& dialogs_;
    std::function<QString()> currentCaption_;
};
