#pragma once

#include "charts/RecordCells.h"

class Grid;

// The recorded charts' view of a record list grid. It reads the grid as it stands at each call
// and must not outlive it.
RecordCells gridRecordCells(const Grid& grid);
