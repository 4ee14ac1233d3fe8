#pragma once

#include "ui/panel/PanelKeys.h"

class QLabel;

// Every control of the front panel under its system name. The keys are the part that their
// handlers are given; the rest belongs to the panel alone.
struct PanelControls : PanelKeys {
    ShapeWidget* Shape1 = nullptr;
    ShapeWidget* Shape2 = nullptr;
    ShapeWidget* Shape3 = nullptr;
    ShapeWidget* Shape4 = nullptr;
    ShapeWidget* Shape5 = nullptr;
    ShapeWidget* Shape6 = nullptr;

    QLabel* LBLBT = nullptr;
    QLabel* LBLDATALOGGER = nullptr;
    QLabel* LBLH = nullptr;
    QLabel* LBLRECORD = nullptr;
    QLabel* LBLFULL = nullptr;
    QLabel* LBLVALrh = nullptr;
    QLabel* LBLUNITTOP = nullptr;
    QLabel* LBLVALtime = nullptr;
    QLabel* LBLVALtemp = nullptr;
    QLabel* LBLUNITbot = nullptr;
    QLabel* LBLNAME = nullptr;
    QLabel* captionTEMP = nullptr;
    QLabel* captionRH = nullptr;
    QLabel* captionRECORD = nullptr;
    QLabel* captionC = nullptr;
    QLabel* captionF = nullptr;
    QLabel* captionHOLD = nullptr;
    QLabel* captionON = nullptr;
    QLabel* captionOFF = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* lblsample = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* lblfile = nullptr;
    QLabel* LBLRECORDING = nullptr;
    QLabel* LBLCOUNT = nullptr;
    QLabel* lblcomm = nullptr;
};
