// The simulated meter's engine driven by any control lines and any bytes from the PC in any
// pieces over any time: control lines answer "ok", an error or the status; and whatever it went
// through, the meter then tells one consistent story, read back through the program's own
// decoders: the status reply's set count and memory use match the directory, every set's
// download has the records the directory lists, the memory never holds more than it can, and the
// live frame's memory-full and recording flags are the engine's.
#include "FuzzCheck.h"
#include "engine/MeterEngine.h"
#include "logic/datalogger/LoggedSetData.h"
#include "logic/datalogger/LoggedSetDirectory.h"
#include "logic/datalogger/StatusReply.h"
#include "logic/link/FrameDecoder.h"
#include "logic/link/LiveReading.h"

#include <QDateTime>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

constexpr int maximumControlLines = 8;
constexpr int maximumPieces = 64;

void checkControl(MeterEngine& engine, const QString& line) {
    const QString reply = engine.control(line);
    if (line.simplified().isEmpty())
        FUZZ_CHECK(reply.isEmpty());
    else
        FUZZ_CHECK(reply == QLatin1String("ok") || reply.startsWith(QLatin1String("error: ")) ||
                   reply.startsWith(QLatin1String("rh=")));
}

void checkConsistent(MeterEngine& engine) {
    // A clean line: nothing shaped, no partial command waiting.
    for (const char* line : {"silent on", "silent off", "drop 0", "extra 0"})
        FUZZ_CHECK(engine.control(QLatin1String(line)) == QLatin1String("ok"));

    const std::optional<StatusReply> status = StatusReply::decode(engine.receive("Y"));
    FUZZ_CHECK(status.has_value());
    FUZZ_CHECK(status->usedBytes <= DataloggerMemory::Capacity);
    const QByteArray directoryBytes = engine.receive("I");
    FUZZ_CHECK(directoryBytes.size() == LoggedSetDirectory::expectedLength(status->setCount));
    const LoggedSetDirectory directory(directoryBytes);
    int used = 0;
    for (int set = 1; set <= directory.entryCount(); ++set) {
        const int records = *directory.recordCount(set);
        used += LoggedSetData::HeaderLength + records * LoggedSetData::RecordLength;
        QByteArray frame(7, '\0');
        frame[0] = 'K';
        frame[1] = static_cast<char>(set);
        const LoggedSetData download(engine.receive(frame));
        FUZZ_CHECK(download.header().has_value() && download.recordsArrived() == records);
        FUZZ_CHECK(download.bytes().size() ==
                   LoggedSetData::HeaderLength + records * LoggedSetData::RecordLength);
        FUZZ_CHECK(download.header()->start == *directory.start(set));
    }
    FUZZ_CHECK(used == status->usedBytes);

    const QByteArray live = engine.receive(" ");
    FUZZ_CHECK(live.size() == FrameLength);
    LiveReading reading;
    decodeLiveFrame(live, reading);
    FUZZ_CHECK(reading.MemoryFull ==
               (DataloggerMemory::Capacity - used < DataloggerMemory::RecordBytes ? 1 : 0));
    FUZZ_CHECK(reading.MeterRecording == (engine.recording() ? 1 : 0));
    FUZZ_CHECK(engine.receive("C").size() == MeterStamp::Length);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    QDateTime now(QDate(2024, 2, 28), QTime(23, 59, 0), Qt::UTC);
    MeterEngine engine([&now] { return now; });

    const int lines = input.ConsumeIntegralInRange<int>(0, maximumControlLines);
    for (int i = 0; i < lines; ++i)
        checkControl(engine, QString::fromStdString(input.ConsumeRandomLengthString(64)));
    engine.takeUnsolicited();
    engine.takeTransportRequests();

    for (int piece = 0; piece < maximumPieces && input.remaining_bytes() > 0; ++piece) {
        now = now.addMSecs(input.ConsumeIntegralInRange<int>(0, 5000));
        const std::string bytes = input.ConsumeRandomLengthString(32);
        engine.receive(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    checkConsistent(engine);
    return 0;
}
