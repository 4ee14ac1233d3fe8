#pragma once

// The two quantities a chart shows. The humidity charts have one half above the time axis; the
// temperature charts mirror it below for readings under zero.
enum class ChartKind { Humidity, Temperature };
