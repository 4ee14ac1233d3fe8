#pragma once

#include "logic/recording/ExportRow.h"
#include "logic/recording/FileFormat.h"
#include "net/http/RouteTable.h"

#include <QString>
#include <vector>

class HistoryBoard;
class MeterStateBoard;

// Where a meter's readings are recorded: the file name as given (with {date} or {month} when the
// files rotate), their format, and whether a CSV file carries the dew point.
struct RecordedFiles {
    QString pattern;
    FileFormat format = FileFormat::Csv;
    DewPointColumn dewPoint = DewPointColumn::Without;
};

// The live page's paths to what was recorded: /api/history, a meter's last day a point a minute,
// and /readings.csv, its readings in a range streamed from its files. The boards are read at each
// request and must outlive the routes.
void addRecordedPaths(RouteTable& routes, const HistoryBoard& histories,
                      const MeterStateBoard& states, std::vector<RecordedFiles> files);
