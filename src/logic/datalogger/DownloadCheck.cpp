#include "logic/datalogger/DownloadCheck.h"

#include "logic/datalogger/LoggedSetData.h"
#include "logic/text/NumberText.h"

#include <algorithm>

DownloadCheck DownloadCheck::of(const LoggedSetData& download, int setRecords) {
    DownloadCheck check;
    check.setRecords = std::max(0, setRecords);
    const int inStep = download.recordsInStep();
    check.listed = std::min(inStep, check.setRecords);
    const bool nothingArrived = download.bytes().isEmpty();
    check.damaged = !nothingArrived &&
                    (!download.endsOnRecord() || download.recordsArrived() > check.setRecords ||
                     inStep < download.recordsArrived());
    return check;
}

QString DownloadCheck::message() const {
    if (damaged)
        return QStringLiteral("THE SET ARRIVED DAMAGED!\n\r") + signedNumberText(listed) +
               QStringLiteral("  OF ") + signedNumberText(setRecords) +
               QStringLiteral("  RECORDS LISTED");
    if (listed < setRecords)
        return signedNumberText(setRecords - listed) + QStringLiteral("  RECORDS DID NOT ARRIVE!");
    return {};
}

QString DownloadCheck::recordListCaption(int set) const {
    QString caption = signedNumberText(listed);
    if (listed < setRecords && !damaged)
        caption += QStringLiteral("  OF ") + signedNumberText(setRecords);
    caption +=
        QStringLiteral("  RECORDS IN NO. ") + signedNumberText(set) + QStringLiteral("  SET");
    if (damaged)
        caption += QStringLiteral(", DAMAGED");
    return caption;
}
