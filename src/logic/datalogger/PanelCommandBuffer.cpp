#include "logic/datalogger/PanelCommandBuffer.h"

#include "logic/datalogger/LoggerBytes.h"
#include "logic/datalogger/LoggerCommands.h"

#include <QDateTime>
#include <cstdlib>

QByteArray PanelCommandBuffer::setClock(const QDateTime& moment) {
    const QDate date = moment.date();
    const QTime time = moment.time();
    const int fields[] = {std::abs(date.year()) % 100,
                          date.month(),
                          date.day(),
                          time.hour(),
                          time.minute(),
                          time.second()};
    bytes_[0] = LoggerCommand::SetClock;
    for (int i = 0; i < 6; ++i)
        bytes_[i + 1] = static_cast<char>(bcdByte(fields[i]));
    return bytes_;
}
