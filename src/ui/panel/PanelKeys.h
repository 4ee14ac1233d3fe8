#pragma once

class KeyLabel;
class QPushButton;
class ShapeWidget;

// The front panel's keys as their handlers see them: the labels drawn as keys, the erase spot
// with the red circle it lies over, and the two recording buttons.
struct PanelKeys {
    KeyLabel* LBLL1 = nullptr;
    KeyLabel* LBLL2 = nullptr;
    KeyLabel* LBLL3 = nullptr;
    KeyLabel* LBLM1 = nullptr;
    KeyLabel* LBLM2 = nullptr;
    KeyLabel* LBLR1 = nullptr;
    KeyLabel* LBLR2 = nullptr;
    KeyLabel* LBLR3 = nullptr;
    KeyLabel* Label10 = nullptr;
    ShapeWidget* Shape7 = nullptr;
    QPushButton* CMDREC = nullptr;
    QPushButton* CMDRECORD = nullptr;
};
