#pragma once

#include "device/datalogger/LoggerExchange.h"
#include "logic/datalogger/LoggedSetData.h"

class Datalogger;

// How often a set is asked for. A copy that arrives damaged or cut short is asked for again, up
// to retries more times. With verify a whole copy counts only once a second copy agrees with it
// byte for byte: a byte lost and another added in one copy keep its length, and the records
// between them can stay BCD while they are out of step.
struct SetCopyPolicy {
    int retries = 2;
    bool verify = false;
};

// A set downloaded until a copy arrives whole. A lost or added byte puts every later record out
// of step, and the check sees it only where a digit stops being BCD, so records before that sign
// may be garbled too: nothing of a damaged copy is kept. A copy cut short has lost nothing before
// its end; without verify the longest one is kept when no copy arrives whole.
struct WholeSetDownload {
    enum class Outcome { Whole, Short, Damaged, Unconfirmed, Cancelled };

    Outcome outcome = Outcome::Damaged;
    // The copy kept, and how many of its records to list; nothing when none is kept.
    LoggedSetData data;
    int listed = 0;
    // The most records a copy cut short brought, kept or not.
    int arrived = 0;
    // The copies asked for.
    int copies = 0;

    static WholeSetDownload fetch(Datalogger& session, const QByteArray& frame, int setRecords,
                                  const SetCopyPolicy& policy,
                                  const LoggerExchange::Progress& progress = {});
};
