#include "panel/PanelLayout.h"

#include "platform/Colors.h"

namespace PanelLayout {

namespace {
constexpr const char* Times = "Times New Roman";
constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment Centre = Qt::AlignHCenter | Qt::AlignVCenter;
} // namespace

const std::vector<Shape>& shapes() {
    static const std::vector<Shape> table{
        {"Shape1", ShapeKind::RoundedRectangle, 120, 120, 4335, 6735, Colors::DarkBlue},
        {"Shape2", ShapeKind::RoundedRectangle, 240, 240, 4095, 2655, Colors::Grey},
        {"Shape3", ShapeKind::Rectangle, 480, 720, 3615, 1695, Colors::Yellow},
        {"Shape6", ShapeKind::RoundedRectangle, 480, 3120, 375, 975, Colors::Grey},
        {"Shape5", ShapeKind::RoundedRectangle, 1800, 3120, 375, 975, Colors::Grey},
        {"Shape4", ShapeKind::RoundedRectangle, 3600, 3120, 375, 975, Colors::Grey},
        {"Shape7", ShapeKind::Circle, 2220, 4800, 135, 135, Colors::Red},
    };
    return table;
}

const std::vector<Label>& labels() {
    // The value labels get design boxes so that their centring has a centre to keep. The
    // humidity starts where the humidity-large layout key puts it, so that the start layout and
    // that key's layout are one and the same, with the value clear of its unit.
    static const std::vector<Label> table{
        {"LBLDATALOGGER", 1365, 360, 0, "RS232 Datalogger", 12, true, Times, Centre, DefaultColor},
        {"LBLH", 1320, 720, 0, "H", 12, true, Times, Left, DefaultColor},
        {"LBLRECORD", 1920, 720, 0, "RECORD", 12, true, Times, Centre, DefaultColor},
        {"LBLFULL", 3240, 720, 0, "FULL", 12, true, Times, Centre, DefaultColor},
        {"LBLVALrh", 1365, 840, 1900, "", 48, true, Times, Centre, Colors::Blue},
        {"LBLUNITTOP", 3285, 1440, 0, "%RH", 15.75, true, Times, Left, Colors::Blue},
        {"LBLVALtime", 1110, 1920, 1380, "", 24, true, Times, Centre, DefaultColor},
        {"LBLVALtemp", 2610, 1920, 1900, "", 24, true, Times, Left, DefaultColor},
        {"LBLUNITbot", 3720, 2160, 375, "", 12, true, "Tahoma", Centre, DefaultColor},
        // Regular weight: in bold the title runs past the bezel's rounded corner into the body.
        {"LBLNAME", 660, 2520, 0, "HUMIDITY  &  TEMPERATURE  METER", 9.75, false, Times, Centre,
         DefaultColor},
        {"captionTEMP", 1080, 3120, 0, "TEMP", 9, false, Times, Centre, Colors::HighlightedText},
        {"captionRH", 1200, 3480, 0, "%RH", 9, false, Times, Centre, Colors::HighlightedText},
        {"captionRECORD", 960, 3840, 0, "RECORD", 9, false, Times, Centre, Colors::HighlightedText},
        {"captionC", 2550, 3120, 0, "C", 9, false, Times, Centre, Colors::HighlightedText},
        {"captionF", 2550, 3840, 0, "F", 9, false, Times, Centre, Colors::HighlightedText},
        {"captionHOLD", 3000, 3120, 0, "HOLD", 9, false, Times, Centre, Colors::HighlightedText},
        {"captionON", 2880, 3480, 0, "ON", 9, false, Times, Centre, Colors::HighlightedText},
        {"captionOFF", 3000, 3840, 0, "OFF", 9, false, Times, Centre, Colors::HighlightedText},
        {"Label9", 240, 4920, 0, "Sampling Time", 12, true, Times, Left, Colors::HighlightedText},
        {"lblsample", 2160, 4920, 0, "2.0 SEC", 12, true, Times, Centre, Colors::Red},
        {"Label13", 240, 5400, 0, "File", 12, true, Times, Left, Colors::HighlightedText},
        {"lblfile", 840, 5400, 0, "", 9.75, true, Times, Left, Colors::Red},
        {"LBLRECORDING", 240, 5880, 0, "RECORDING", 11.25, true, Times, Left, Colors::Red},
        {"LBLCOUNT", 2730, 5880, 0, "", 11.25, true, Times, Centre, Colors::Red},
        {"lblcomm", 1485, 6240, 0, "COM1", 24, true, Times, Centre, Colors::Red},
    };
    return table;
}

const std::vector<Key>& keys() {
    static const std::vector<Key> table{
        {"LBLL1", 600, 3360, Colors::White},  {"LBLL2", 600, 3540, Colors::Red},
        {"LBLL3", 600, 3720, Colors::White},  {"LBLM1", 1920, 3440, Colors::White},
        {"LBLM2", 1920, 3640, Colors::White}, {"LBLR1", 3720, 3360, Colors::White},
        {"LBLR2", 3720, 3540, Colors::White}, {"LBLR3", 3720, 3720, Colors::White},
    };
    return table;
}

} // namespace PanelLayout
