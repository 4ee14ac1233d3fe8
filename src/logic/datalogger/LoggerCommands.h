#pragma once

#include <QByteArray>

// The one-letter commands the meter understands. Parameter frames ("K", "W", "X", "D") are built
// in their buffers (LoggerCommandBuffer, PanelCommandBuffer); these are sent as they are.
namespace LoggerCommand {

inline constexpr char Poll = ' ';
inline constexpr char StopRecording = 'T';
inline constexpr char StartRecording = 'S';
inline constexpr char StartRecordingFromRec = 'R';
inline constexpr char Status = 'Y';
inline constexpr char Clock = 'C';
inline constexpr char Directory = 'I';
inline constexpr char Download = 'K';
inline constexpr char Interval = 'W';
inline constexpr char IdCode = 'X';
inline constexpr char SetClock = 'D';
inline constexpr char EraseLetter = 'E';
// Erasing takes the letter three times in a row, so a stray "E" cannot wipe the memory.
inline constexpr int EraseLength = 3;

inline QByteArray bytes(char letter) {
    return QByteArray(1, letter);
}

inline QByteArray erase() {
    return QByteArray(EraseLength, EraseLetter);
}

} // namespace LoggerCommand
