#pragma once

#include "panel/PanelMenus.h"
#include "platform/Platform.h"

#include <QHash>
#include <QMainWindow>

class KeyLabel;
class MeterLink;
class QLabel;
class QPushButton;
class QTimer;
class ShapeWidget;
class LiveRowSink;
class RecordSink;
struct SharedState;

// PANEL, the main window drawn like the meter: the live display, its indicators and keys, the
// PC's status lines and the menu bar. Its poll timer drives the meter link; its sampling timer
// hands one row per period to the live list and the recorder.
class PanelWindow final : public QMainWindow {
    Q_OBJECT
public:
    PanelWindow(SharedState& state, const Platform& platform);
    ~PanelWindow() override;

    QLabel* label(const QString& name) const;
    KeyLabel* key(const QString& name) const;
    ShapeWidget* shape(const QString& name) const;
    const PanelMenus& menus() const { return menus_; }
    MeterLink& link() { return *link_; }
    QTimer* Timer1() const { return timer1_; }
    QTimer* Timer2() const { return timer2_; }

    // Caption changes go through here: labels sized to their text follow it, and a change of
    // the unit runs LBLUNITbot_Change.
    void setCaption(QLabel* label, const QString& caption);
    void setCaption(const QString& labelName, const QString& caption);
    void setLabelFont(QLabel* label, double points);
    void placeLabel(QLabel* label, int leftTwips, int topTwips);
    void setLabelAlignment(QLabel* label, Qt::Alignment alignment);

    // "Com" and the port number, as lblcomm shows it while the meter answers.
    QString portText() const;
    // The PC sampling period in seconds: the number lblsample starts with.
    double samplingPeriod() const;

    // The panel update after a frame.
    void showReading();
    void LBLUNITbot_Change();
    void showNoDevice();
    void showMeterBack();

    // The sampling tick.
    void Timer2_Timer();
    void setLiveRowSink(LiveRowSink* sink) { liveRowSink_ = sink; }
    void setRecordSink(RecordSink* sink) { recordSink_ = sink; }

    // Closes a secondary window of this panel by its name when it is open and visible.
    void closeWindowNamed(const QString& name);

Q_SIGNALS:
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

    SharedState& state_;
    Platform platform_;
    PanelMenus menus_;
    QHash<QString, QLabel*> labels_;
    // Each display label's design box in twips: its anchor (left, centre or right edge by its
    // alignment) stays put whatever the caption's width.
    QHash<const QLabel*, QRect> designBoxes_;
    QHash<QString, KeyLabel*> keys_;
    QHash<QString, ShapeWidget*> shapes_;
    QTimer* timer1_;
    QTimer* timer2_;
    QTimer* timer3_;
    MeterLink* link_;
    LiveRowSink* liveRowSink_ = nullptr;
    RecordSink* recordSink_ = nullptr;
    double tickOverrun_ = 0.0;
};
