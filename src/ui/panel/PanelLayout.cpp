#include "ui/panel/PanelLayout.h"

#include "ui/platform/Colors.h"

namespace PanelLayout {

namespace {
constexpr const char* Times = "Times New Roman";
constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment Centre = Qt::AlignHCenter | Qt::AlignVCenter;
} // namespace

const std::vector<Shape>& shapes() {
    static const std::vector<Shape> table{
        {&PanelControls::Shape1, "Shape1", ShapeKind::RoundedRectangle, 120, 120, 4335, 6735,
         Colors::DarkBlue},
        {&PanelControls::Shape2, "Shape2", ShapeKind::RoundedRectangle, 240, 240, 4095, 2655,
         Colors::Grey},
        {&PanelControls::Shape3, "Shape3", ShapeKind::Rectangle, 480, 720, 3615, 1695,
         Colors::Yellow},
        {&PanelControls::Shape6, "Shape6", ShapeKind::RoundedRectangle, 480, 3120, 375, 975,
         Colors::Grey},
        {&PanelControls::Shape5, "Shape5", ShapeKind::RoundedRectangle, 1800, 3120, 375, 975,
         Colors::Grey},
        {&PanelControls::Shape4, "Shape4", ShapeKind::RoundedRectangle, 3600, 3120, 375, 975,
         Colors::Grey},
        {&PanelControls::Shape7, "Shape7", ShapeKind::Circle, 2220, 4800, 135, 135, Colors::Red},
    };
    return table;
}

const std::vector<Label>& labels() {
    // The value labels get design boxes so that their centring has a centre to keep. The
    // humidity starts where the humidity-large layout key puts it, so that the start layout and
    // that key's layout are one and the same, with the value clear of its unit.
    static const std::vector<Label> table{
        {&PanelControls::LBLDATALOGGER, "LBLDATALOGGER", 1365, 360, 0, "RS232 Datalogger", 12, true,
         Times, Centre, DefaultColor},
        {&PanelControls::LBLH, "LBLH", 1320, 720, 0, "H", 12, true, Times, Left, DefaultColor},
        {&PanelControls::LBLRECORD, "LBLRECORD", 1920, 720, 0, "RECORD", 12, true, Times, Centre,
         DefaultColor},
        {&PanelControls::LBLFULL, "LBLFULL", 3240, 720, 0, "FULL", 12, true, Times, Centre,
         DefaultColor},
        {&PanelControls::LBLVALrh, "LBLVALrh", 1365, 840, 1900, "", 48, true, Times, Centre,
         Colors::Blue},
        {&PanelControls::LBLUNITTOP, "LBLUNITTOP", 3285, 1440, 0, "%RH", 15.75, true, Times, Left,
         Colors::Blue},
        {&PanelControls::LBLVALtime, "LBLVALtime", 1110, 1920, 1380, "", 24, true, Times, Centre,
         DefaultColor},
        {&PanelControls::LBLVALtemp, "LBLVALtemp", 2610, 1920, 1900, "", 24, true, Times, Left,
         DefaultColor},
        {&PanelControls::LBLUNITbot, "LBLUNITbot", 3720, 2160, 375, "", 12, true, "Tahoma", Centre,
         DefaultColor},
        // Regular weight: in bold the title runs past the bezel's rounded corner into the body.
        {&PanelControls::LBLNAME, "LBLNAME", 660, 2520, 0, "HUMIDITY  &  TEMPERATURE  METER", 9.75,
         false, Times, Centre, DefaultColor},
        {&PanelControls::captionTEMP, "captionTEMP", 1080, 3120, 0, "TEMP", 9, false, Times, Centre,
         Colors::HighlightedText},
        {&PanelControls::captionRH, "captionRH", 1200, 3480, 0, "%RH", 9, false, Times, Centre,
         Colors::HighlightedText},
        {&PanelControls::captionRECORD, "captionRECORD", 960, 3840, 0, "RECORD", 9, false, Times,
         Centre, Colors::HighlightedText},
        {&PanelControls::captionC, "captionC", 2550, 3120, 0, "C", 9, false, Times, Centre,
         Colors::HighlightedText},
        {&PanelControls::captionF, "captionF", 2550, 3840, 0, "F", 9, false, Times, Centre,
         Colors::HighlightedText},
        {&PanelControls::captionHOLD, "captionHOLD", 3000, 3120, 0, "HOLD", 9, false, Times, Centre,
         Colors::HighlightedText},
        {&PanelControls::captionON, "captionON", 2880, 3480, 0, "ON", 9, false, Times, Centre,
         Colors::HighlightedText},
        {&PanelControls::captionOFF, "captionOFF", 3000, 3840, 0, "OFF", 9, false, Times, Centre,
         Colors::HighlightedText},
        {&PanelControls::Label9, "Label9", 240, 4920, 0, "Sampling Time", 12, true, Times, Left,
         Colors::HighlightedText},
        {&PanelControls::lblsample, "lblsample", 2160, 4920, 0, "2.0 SEC", 12, true, Times, Centre,
         Colors::Red},
        {&PanelControls::Label13, "Label13", 240, 5400, 0, "File", 12, true, Times, Left,
         Colors::HighlightedText},
        {&PanelControls::lblfile, "lblfile", 840, 5400, 0, "", 9.75, true, Times, Left,
         Colors::Red},
        {&PanelControls::LBLRECORDING, "LBLRECORDING", 240, 5880, 0, "RECORDING", 11.25, true,
         Times, Left, Colors::Red},
        {&PanelControls::LBLCOUNT, "LBLCOUNT", 2730, 5880, 0, "", 11.25, true, Times, Centre,
         Colors::Red},
        {&PanelControls::lblcomm, "lblcomm", 1485, 6240, 0, "COM1", 24, true, Times, Centre,
         Colors::Red},
    };
    return table;
}

const std::vector<Key>& keys() {
    static const std::vector<Key> table{
        {&PanelControls::LBLL1, "LBLL1", 600, 3360, Colors::White},
        {&PanelControls::LBLL2, "LBLL2", 600, 3540, Colors::Red},
        {&PanelControls::LBLL3, "LBLL3", 600, 3720, Colors::White},
        {&PanelControls::LBLM1, "LBLM1", 1920, 3440, Colors::White},
        {&PanelControls::LBLM2, "LBLM2", 1920, 3640, Colors::White},
        {&PanelControls::LBLR1, "LBLR1", 3720, 3360, Colors::White},
        {&PanelControls::LBLR2, "LBLR2", 3720, 3540, Colors::White},
        {&PanelControls::LBLR3, "LBLR3", 3720, 3720, Colors::White},
    };
    return table;
}

const LargeValueLayout& temperatureLarge() {
    static const LargeValueLayout layout{
        &PanelControls::LBLL1,
        &PanelControls::LBLL2,
        {{&PanelControls::LBLVALrh, 20, 2610, 1920, Colors::ButtonText},
         {&PanelControls::LBLUNITTOP, 8, 3600, 2160, Colors::ButtonText},
         {&PanelControls::LBLVALtemp, 48, 1365, 840, Colors::Blue},
         {&PanelControls::LBLUNITbot, 16, 3525, 1440, Colors::Blue}},
        Qt::AlignLeft | Qt::AlignVCenter,
        Qt::AlignCenter};
    return layout;
}

const LargeValueLayout& humidityLarge() {
    static const LargeValueLayout layout{
        &PanelControls::LBLL2,
        &PanelControls::LBLL1,
        {{&PanelControls::LBLVALrh, 48, 1365, 840, Colors::Blue},
         {&PanelControls::LBLUNITTOP, 16, 3285, 1440, Colors::Blue},
         {&PanelControls::LBLVALtemp, 20, 2610, 1920, Colors::ButtonText},
         {&PanelControls::LBLUNITbot, 12, 3720, 2160, Colors::ButtonText}},
        Qt::AlignCenter,
        {}};
    return layout;
}

} // namespace PanelLayout
