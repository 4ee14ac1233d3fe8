// The data file reader rule on any bytes: the fields are the same whether the bytes come whole,
// in blocks of sizes the input chooses, or through the block-wise file reader with any block
// size; no field holds a line end; and a grid fed those fields holds them as its rows and shows
// their TAB-separated cells.
#include "FuzzCheck.h"
#include "logic/recording/DataFileFormat.h"
#include "logic/recording/DataFileReader.h"
#include "ui/lists/GridModel.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

constexpr int gridColumns = 7;

// Fields from blocks: each call gets the unused bytes of the last one followed by new ones.
QByteArrayList fieldsInBlocks(const QByteArray& bytes, const std::vector<qsizetype>& blockSizes) {
    QByteArrayList fields;
    const auto onField = [&fields](QByteArrayView field) { fields.append(field.toByteArray()); };
    QByteArray pending;
    qsizetype offset = 0;
    size_t block = 0;
    while (true) {
        const qsizetype want = blockSizes.empty() ? 1 : blockSizes[block++ % blockSizes.size()];
        const QByteArray more = bytes.mid(offset, want);
        offset += more.size();
        pending += more;
        const bool atEnd = offset >= bytes.size();
        const qsizetype used = splitDataFields(pending, atEnd, onField);
        FUZZ_CHECK(used >= 0 && used <= pending.size());
        FUZZ_CHECK(!atEnd || used == pending.size());
        pending.remove(0, used);
        if (atEnd)
            return fields;
    }
}

QByteArrayList fieldsFromFile(const QByteArray& bytes, qsizetype blockSize) {
    static const QTemporaryDir directory;
    const QString path = QDir(directory.path()).filePath(QStringLiteral("input.dat"));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    file.close();
    QByteArrayList fields;
    const auto onField = [&fields](QByteArrayView field) { fields.append(field.toByteArray()); };
    DataFileReader reader(path, blockSize);
    FUZZ_CHECK(reader.open());
    while (reader.readFields(onField)) {
    }
    FUZZ_CHECK(!reader.failed());
    return fields;
}

void checkGrid(const QByteArrayList& fields, const std::vector<qsizetype>& commitEvery) {
    GridModel grid(gridColumns, nullptr);
    qsizetype staged = 0;
    size_t step = 0;
    for (const QByteArray& field : fields) {
        grid.stageRow(field);
        const qsizetype every = commitEvery.empty() ? 1 : commitEvery[step % commitEvery.size()];
        if (++staged >= every) {
            grid.commitRows();
            staged = 0;
            ++step;
        }
    }
    grid.commitRows();
    FUZZ_CHECK(grid.rowCount() == fields.size());
    for (int row = 0; row < grid.rowCount(); ++row) {
        FUZZ_CHECK(grid.rowBytes(row) == fields[row]);
        const QByteArrayList cells = fields[row].split('\t');
        for (int column = 0; column < gridColumns; ++column) {
            const QString expected =
                column < cells.size() ? QString::fromLatin1(cells[column]) : QString();
            FUZZ_CHECK(grid.cellText(row, column) == expected);
        }
    }
    FUZZ_CHECK(grid.cellText(grid.rowCount(), 0).isEmpty());
    FUZZ_CHECK(grid.cellText(0, gridColumns).isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<qsizetype> blockSizes(input.ConsumeIntegralInRange<size_t>(0, 8));
    for (qsizetype& blockSize : blockSizes)
        blockSize = input.ConsumeIntegralInRange<qsizetype>(1, 64);
    const qsizetype fileBlockSize = input.ConsumeIntegralInRange<qsizetype>(1, 32);
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray bytes(rest.data(), static_cast<qsizetype>(rest.size()));

    QByteArrayList whole;
    splitDataFields(bytes, true,
                    [&whole](QByteArrayView field) { whole.append(field.toByteArray()); });
    qsizetype fieldBytes = 0;
    for (const QByteArray& field : whole) {
        FUZZ_CHECK(!field.contains('\r') && !field.contains('\n'));
        fieldBytes += field.size();
    }
    FUZZ_CHECK(fieldBytes <= bytes.size());

    FUZZ_CHECK(fieldsInBlocks(bytes, blockSizes) == whole);
    FUZZ_CHECK(fieldsFromFile(bytes, fileBlockSize) == whole);
    checkGrid(whole, blockSizes);
    return 0;
}
