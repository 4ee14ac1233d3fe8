#pragma once

#include "logic/text/RecordCells.h"

class Grid;

// The recorded charts' view of a record list grid, read as it stands at each call. A grid that
// is gone (its list window was closed) reads as a list with no rows.
RecordCells gridRecordCells(const Grid* grid);
