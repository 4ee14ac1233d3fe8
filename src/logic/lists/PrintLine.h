#pragma once

#include <QString>
#include <QStringList>

// The lines of the printed list: fixed columns meant for a fixed-pitch font.
QString printHeadingLine();
QString printRuleLine();

// One data line from the seven cells of a list row (row number, date, time, humidity,
// temperature, unit, battery; missing cells count as empty). Each cell is stripped of its
// surrounding spaces; the row number is filled to 8 characters, the date to 10, then two
// spaces and the time; the humidity is right-aligned in 8, three spaces, the temperature, the
// unit right-aligned in 6, two spaces and the battery right-aligned in 6. A cell longer than its
// field is printed whole rather than dropped: paper must not lose data. A row number, humidity
// or unit that fills its field or runs over it stands one space apart from its neighbour, so
// that no two fields run together.
QString printDataLine(const QStringList& cells);
