#pragma once

#include "logic/metrics/MeterGauges.h"

#include <QByteArray>
#include <vector>

// The meters' gauges as a scrape reads them, in the text exposition format 0.0.4:
// - one family after the other, each opened by its "# HELP" and "# TYPE" lines and holding every
//   meter's sample of it, the meters in the order given; a family no meter has a sample of is left
//   out whole (the MQTT families when no meter publishes);
// - every sample labelled meter="<id>",port="<port>", meter_overload also quantity="humidity" or
//   "temperature"; in a label value a backslash, a double quote and a line feed are escaped as
//   \\, \" and \n;
// - what a meter said last (humidity, temperature, dew point, battery low, overload) is left out
// when it is
//   stale, that is when the link is down or the last reading is more than 10 s older than
//   nowSeconds, and so is a value the meter showed without a number (overload)
//   or that is not finite: a scraper sees a gap, never a made-up value;
// - meter_up, the counters and the time of the last reading (once there was one) are always
//   there, so that a dead link shows as meter_up 0 with its counters standing still;
// - numbers in the shortest text that reads back as the same double ("0.453", "21.5", "-10.2",
//   "1765000000.25"), counters as whole numbers.
QByteArray metricsText(const std::vector<MeterGauges>& meters, double nowSeconds);

// The ratio for a humidity the meter shows in tenths of a percent, as a double whose shortest text
// is those digits (54.3 gives 0.543, where 54.3 / 100 reads 0.5429999999999999).
double humidityRatioFromPercent(double percent);
