#pragma once

#include <QString>
#include <functional>
#include <optional>

// One downloaded set as SHOW DATA hands it over for listing.
struct SetListing {
    // How many records to list.
    int records = 0;
    // Each call gives the next record's row; nothing for a record that cannot be shown, which
    // counts as listed all the same.
    std::function<std::optional<QString>()> nextRow;
    // REC_LIST's caption once every record is listed.
    QString caption;
    // A box over the list, when part of the set did not arrive; none when empty.
    QString shortfall;
};

// Where SHOW DATA's sets are listed. LOGGER says only when: the record-list side opens, fills
// and closes the REC_LIST, so what becomes of LOGGER meanwhile does not touch the listing.
class RecordListing {
public:
    // SHOW DATA was pressed: the list shown so far closes, its listing ends.
    virtual void closeListing() = 0;
    // A set was downloaded: a fresh REC_LIST lists it on its own.
    virtual void startListing(SetListing listing) = 0;

protected:
    ~RecordListing() = default;
};
