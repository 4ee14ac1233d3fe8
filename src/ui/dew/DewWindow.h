#pragma once

#include <QWidget>
#include <functional>

class Dialogs;
class QLabel;
class QPushButton;
class QTimer;
struct LiveReading;
struct VapourTables;

// DEW: the live humidity, temperature and their dew (frost) point, renewed once per sampling
// period. Created when opened from the main window, destroyed when closed.
class DewWindow final : public QWidget {
    Q_OBJECT
public:
    // samplingPeriodSeconds reads the main window's sampling period afresh at every call.
    DewWindow(QWidget* mainWindow, const LiveReading& reading, const VapourTables& tables,
              Dialogs& dialogs, std::function<double()> samplingPeriodSeconds);

    // The main window's DEW(FROST)-POINT TEMPERATURE command: shows the open DEW window, or a new
    // one, and starts its timer at the sampling period.
    static DewWindow* open(QWidget* mainWindow, const LiveReading& reading,
                           const VapourTables& tables, Dialogs& dialogs,
                           std::function<double()> samplingPeriodSeconds);

public Q_SLOTS:
    // Once per sampling period: the live humidity, temperature and their dew point are shown.
    void Timer1_Timer();
    // The user clicked the hidden test button: the timer stops and Label3 shows the saturation
    // pressure at 20 C.
    void Command1_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* addLabel(const char* name, const QString& caption, int left, int top, int width,
                     int height);
    void setTimerInterval();
    void setTimerEnabled(bool enabled);
    void showOutOfRange();

    const LiveReading& reading_;
    const VapourTables& tables_;
    Dialogs& dialogs_;
    std::function<double()> samplingPeriodSeconds_;
    bool timerEnabled_ = false;
    bool closing_ = false;

    QTimer* Timer1;
    QLabel* Label1;
    QLabel* UnitHead;
    QLabel* ValueHead;
    QLabel* lblrh;
    QLabel* lblc;
    QLabel* lblvalue;
    QPushButton* Command1;
    QLabel* Label3;
};
