#pragma once

// Exit statuses, as sysexits.h names them, so scripts and service managers can tell a wrong call
// from a meter that does not answer.
namespace ExitStatus {
constexpr int Ok = 0;
constexpr int Usage = 64;
constexpr int DataError = 65;
constexpr int NoInput = 66;
constexpr int Unavailable = 69;
constexpr int Software = 70;
constexpr int CannotCreate = 73;
constexpr int IoError = 74;
constexpr int NoPermission = 77;
} // namespace ExitStatus
