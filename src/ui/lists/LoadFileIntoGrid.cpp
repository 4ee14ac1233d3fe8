#include "ui/lists/LoadFileIntoGrid.h"

#include "logic/recording/DataFileReader.h"
#include "ui/lists/Grid.h"
#include "ui/lists/GridModel.h"

FileLoad LoadFileIntoGrid(Grid& grid, const QString& fileName) {
    grid.setRowCount(1);
    DataFileReader reader(fileName);
    FileLoad load;
    load.opened = reader.open();
    if (!load.opened) {
        load.whyStopped = reader.errorText();
        return load;
    }
    GridModel& rows = grid.rows();
    // The rows' text is never longer than the file.
    rows.reserveText(reader.size());
    const auto addRow = [&rows](QByteArrayView field) { rows.stageRow(field); };
    // One insertion per block read keeps a large file quick to show.
    while (reader.readFields(addRow))
        rows.commitRows();
    rows.commitRows();
    load.complete = !reader.failed();
    load.bytesRead = reader.bytesRead();
    load.size = reader.size();
    load.whyStopped = reader.errorText();
    return load;
}
