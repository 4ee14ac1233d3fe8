#include "device/datalogger/WholeSetDownload.h"

#include "device/datalogger/Datalogger.h"

#include <QList>
#include <algorithm>

WholeSetDownload WholeSetDownload::fetch(Datalogger& session, const QByteArray& frame,
                                         int setRecords, const SetCopyPolicy& policy,
                                         const LoggerExchange::Progress& progress) {
    WholeSetDownload result;
    const int allowed = 1 + std::max(0, policy.retries) + (policy.verify ? 1 : 0);
    QList<QByteArray> unconfirmed;
    bool cutShort = false;
    while (result.copies < allowed) {
        const Datalogger::SetRead read = session.downloadSet(frame, setRecords, true, progress);
        ++result.copies;
        if (read.outcome == ExchangeOutcome::Cancelled) {
            result.outcome = Outcome::Cancelled;
            return result;
        }
        if (read.check.damaged)
            continue;
        if (read.check.listed < read.check.setRecords) {
            cutShort = true;
            if (read.check.listed >= result.arrived) {
                result.arrived = read.check.listed;
                if (!policy.verify) {
                    result.data = read.data;
                    result.listed = read.check.listed;
                }
            }
            continue;
        }
        if (!policy.verify || unconfirmed.contains(read.data.bytes())) {
            result.outcome = Outcome::Whole;
            result.data = read.data;
            result.listed = read.check.listed;
            return result;
        }
        unconfirmed.append(read.data.bytes());
    }
    result.outcome = !unconfirmed.isEmpty() ? Outcome::Unconfirmed
                     : cutShort             ? Outcome::Short
                                            : Outcome::Damaged;
    return result;
}
