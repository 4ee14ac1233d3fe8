#include "logic/datalogger/LoggerCommandBuffer.h"

#include "logic/datalogger/LoggerCommands.h"
#include "logic/text/NumberText.h"

#include <cmath>

bool LoggerCommandBuffer::isValidParameter(double value) {
    return std::isfinite(value) && value >= 0 && value <= MaxParameter;
}

QByteArray LoggerCommandBuffer::download(int setNumber) {
    bytes_[0] = LoggerCommand::Download;
    bytes_[1] = static_cast<char>(setNumber & 0xFF);
    return bytes_;
}

QByteArray LoggerCommandBuffer::interval(double seconds) {
    return parameter(LoggerCommand::Interval, seconds);
}

QByteArray LoggerCommandBuffer::idCode(double code) {
    return parameter(LoggerCommand::IdCode, code);
}

QByteArray LoggerCommandBuffer::parameter(char letter, double value) {
    const long long whole = isValidParameter(value) ? roundHalfEven(value) : 0;
    bytes_[0] = letter;
    bytes_[1] = static_cast<char>(whole / 256);
    bytes_[2] = static_cast<char>(whole % 256);
    return bytes_;
}
