#pragma once

#include "ui/panel/PanelControls.h"
#include "ui/panel/PanelMenus.h"
#include "ui/platform/Platform.h"

#include <QHash>
#include <QMainWindow>
#include <functional>

class MeterLink;
class QLabel;
class QTimer;
struct LiveReading;
struct RecordingState;
namespace PanelLayout {
struct LargeValueLayout;
}

// PANEL, the main window drawn like the meter: the live display, its indicators and keys, the
// PC's status lines and the menu bar. Its meter link polls the meter; its sampling timer builds
// one row per period and hands it on through rowSampled.
//
// Other windows and commands reach it only through this face; the application connects them.
class PanelWindow final : public QMainWindow {
    Q_OBJECT
public:
    // reading: what the poll decodes. recording: what the tick lists and records. portNumber: the
    // COM port open, for lblcomm's caption.
    PanelWindow(LiveReading& reading, RecordingState& recording, std::function<int()> portNumber,
                const Platform& platform);
    ~PanelWindow() override;

    const PanelMenus& menus() const { return menus_; }
    // The exchange with the meter: commands outside the poll pause and resume it through this.
    MeterLink& link() { return *link_; }
    // The keys, for the handlers that answer them.
    const PanelKeys& keys() const { return controls_; }

    // The sampling tick (Timer2): starting it brings the first tick at once.
    void startSampling();
    void stopSampling();

    // "Com" and the port number, as lblcomm shows it while the meter answers.
    QString portText() const;
    // lblcomm: the port text, " NO COM ", or "WAIT" while a long command runs.
    void setCommCaption(const QString& caption);
    // The PC sampling period in seconds: the number lblsample starts with.
    double samplingPeriod() const;
    QString samplingCaption() const;
    void setSamplingCaption(const QString& caption);
    // The live values as the display shows them (LBLVALrh, LBLVALtemp, LBLUNITbot).
    QString humidityCaption() const;
    QString temperatureCaption() const;
    QString unitCaption() const;
    // The last frame said the meter records (LBLRECORD is shown).
    bool meterRecording() const;
    // lblfile: the data file chosen for recording.
    QString fileCaption() const;
    void setFileCaption(const QString& path);
    // A recording starts or stops: START/STOP RECORDING, RECORDING and the record count follow.
    void showRecording(bool on);
    void setRecordCount(const QString& countText);
    // The layout keys: the temperature or the humidity shown large, its key lit.
    void showTemperatureLarge();
    void showHumidityLarge();

    // The panel update after a frame.
    void showReading();
    // The meter switched between C and F (the unit label changed): tells unitChanged, since the
    // temperature chart's scale was drawn for the other unit.
    void LBLUNITbot_Change();
    void showNoDevice();
    void showMeterBack();

    // The sampling tick: sets its next interval from lblsample and hands on the row of this tick.
    void Timer2_Timer();

Q_SIGNALS:
    // One row per sampling tick while the live list takes rows or a recording runs: date, time,
    // humidity, temperature, unit and, with a low battery, LOW.
    void rowSampled(const QString& rowBody);
    // The meter stopped answering; the panel waits for it.
    void linkLost();
    // A live frame reports that the meter records into its own memory.
    void meterRecordingReported();
    // The REC key of the panel was used.
    void recKeyUsed();
    // The temperature unit changed (LBLUNITbot_Change).
    void unitChanged();
    // The user closed the panel: the program ends.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildDisplay(QWidget* client);
    void buildButtons(QWidget* client);
    // Sizes a label to its caption around its design anchor and keeps the unit beside a value
    // clear of it.
    void fitToText(QLabel* label);
    void placeUnit(QLabel* unit, const QLabel* value);

    void showLarge(const PanelLayout::LargeValueLayout& layout);
    // Caption changes go through here: labels sized to their text follow it, and a change of
    // the unit runs LBLUNITbot_Change.
    void setCaption(QLabel* label, const QString& caption);
    void setLabelFont(QLabel* label, double points);
    void placeLabel(QLabel* label, int leftTwips, int topTwips);
    void setLabelAlignment(QLabel* label, Qt::Alignment alignment);

    LiveReading& reading_;
    RecordingState& recording_;
    std::function<int()> portNumber_;
    Platform platform_;
    PanelMenus menus_;
    PanelControls controls_;
    // Each display label's design box in twips: its anchor (left, centre or right edge by its
    // alignment) stays put whatever the caption's width.
    QHash<const QLabel*, QRect> designBoxes_;
    QTimer* timer2_;
    // Disabled and without a handler, as designed: kept so PANEL has every timer it was drawn with.
    QTimer* timer3_;
    MeterLink* link_;
    double tickOverrun_ = 0.0;
};
