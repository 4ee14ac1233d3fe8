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

    void LBLL1_Click();
    void LBLL2_Click();
    void LBLL3_Click();
    void LBLM1_Click();
    void LBLM2_Click();
    void LBLR1_Click();
    void LBLR2_Click();
    void LBLR3_Click();
    void CMDREC_Click();
    void CMDRECORD_Click();
    void Label10_MouseDown();
    void Label10_MouseUp();
    void Label10_Click();

    // Key messages join their two lines with LF, CR, CR.
    static QString keyMessage(const QString& firstLine, const QString& secondLine);

private:
    void inform(const QString& firstLine, const QString& secondLine);
    bool meterRecording() const;

    PanelWindow* panel_;
    Dialogs& dialogs_;
};
