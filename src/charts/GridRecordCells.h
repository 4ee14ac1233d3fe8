#pragma once

#include "charts/RecordCells.h"

class Grid;

// The record list's grid as the recorded charts read it. A grid that is gone (its list window
// was closed) reads as a list with no rows.
RecordCells gridRecordCells(const Grid* grid);
