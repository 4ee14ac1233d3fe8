#pragma once

#include <QObject>

class Dialogs;
class PanelWindow;

// The panel's keys: two choose which value the display shows large, the others explain that
// only the meter's own switches do that; the REC buttons start and stop the meter's recording
// and the red spot erases its memory.
class FrontPanelKeys final : public QObject {
    Q_OBJECT
public:
    FrontPanelKeys(PanelWindow* panel, Dialogs& dialogs);

    // The user clicked the upper left key: the temperature is shown large.
    void LBLL1_Click();
    // The user clicked the middle left key: the humidity is shown large.
    void LBLL2_Click();
    // The user clicked the lower left (record) key: says only the meter's switches record.
    void LBLL3_Click();
    // The user clicked the °C key: says only the meter's switch changes the unit.
    void LBLM1_Click();
    // The user clicked the °F key: the same message as the °C key.
    void LBLM2_Click();
    // The user clicked the hold key: says only the meter's switch holds the reading.
    void LBLR1_Click();
    // The user clicked the upper power key: says only the meter's switch does that.
    void LBLR2_Click();
    // The user clicked the lower power key: the same message as the upper one.
    void LBLR3_Click();
    // The user clicked "rec": the meter starts recording ("S") or stops ("T").
    void CMDREC_Click();
    // The user clicked "REC": the meter starts recording ("R") or stops ("T").
    void CMDRECORD_Click();
    // The user pressed the mouse on the red erase spot: it turns white.
    void Label10_MouseDown();
    // The user released the mouse on the erase spot: it turns red again.
    void Label10_MouseUp();
    // The user clicked the erase spot: the meter's memory is erased ("EEE").
    void Label10_Click();

    // Key messages join their two lines with LF, CR, CR.
    static QString keyMessage(const QString& firstLine, const QString& secondLine);

private:
    void inform(const QString& firstLine, const QString& secondLine);

    PanelWindow* panel_;
    Dialogs& dialogs_;
};
