#pragma once

// One reading as the meter holds it before it is packed into bytes. The temperature is in the
// unit the meter shows; the flags are the meter's own state at the time of the reading.
struct SimReading {
    double humidity = 50.0;
    double temperature = 22.0;
    bool fahrenheit = false;
    bool overload = false;
    bool batteryLow = false;
    bool hold = false;
    bool memoryFull = false;
    bool recording = false;
};
