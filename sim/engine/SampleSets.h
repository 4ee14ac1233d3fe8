#pragma once

class DataloggerMemory;

// The memory the simulated meter starts with: a set that runs over midnight and a month end
// (31 Jan 23:58:30, 30 s, 12 records, below freezing, battery low at the end), a set of a single
// record, and an ordinary set of 30 records at 10 s.
void loadSampleSets(DataloggerMemory& memory);
