#pragma once

#include <QPixmap>

// The battery-low symbol shown on the display: a battery outline with one low bar.
QPixmap batterySymbol(int size);
