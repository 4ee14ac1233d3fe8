#pragma once

#include <QString>
#include <optional>

// The PC sampling period, shown on the main window as a whole number of seconds followed by
// " Sec" and read by every sampling timer at each of its ticks.

// The period a caption holds: the number at its start ("2 Sec" gives 2).
double samplingPeriodSeconds(const QString& caption);

// What SAMPLE RATE asks and offers.
QString sampleRatePrompt();
QString sampleRateTitle();
QString sampleRateDefaultText(const QString& caption);

// The new caption for an answer of the input box, or nothing when the answer is empty (the
// user cancelled). A decimal comma counts as a point; the number at the start of the answer is
// taken (none gives 0), clamped to 1..65 and shown whole: "100" gives "65 Sec", "0" and "abc"
// give "1 Sec", "2,5" gives "3 Sec".
std::optional<QString> sampleRateCaption(const QString& answer);
