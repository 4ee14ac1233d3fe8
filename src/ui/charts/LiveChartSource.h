#pragma once

#include "logic/state/ChartKind.h"

#include <QString>
#include <functional>

// What the live charts read from the main window, afresh at every call: the captions of
// lblsample, of each kind's reading (LBLVALrh, LBLVALtemp) and of LBLUNITbot, and the main
// window's outer width, which the charts stand to the right of.
struct LiveChartSource {
    std::function<QString()> samplingCaption;
    PerKind<std::function<QString()>> readingCaption;
    std::function<QString()> unitCaption;
    std::function<int()> mainWindowWidth;
};
