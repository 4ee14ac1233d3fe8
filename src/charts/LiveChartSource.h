#pragma once

#include <QString>
#include <functional>

// What the live charts read from the main window, afresh at every call: the captions of
// lblsample, LBLVALrh, LBLVALtemp and LBLUNITbot, and the main window's outer width, which the
// charts stand to the right of.
struct LiveChartSource {
    std::function<QString()> samplingCaption;
    std::function<QString()> humidityCaption;
    std::function<QString()> temperatureCaption;
    std::function<QString()> unitCaption;
    std::function<int()> mainWindowWidth;
};
