#pragma once

#include "logic/result/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// The broker's user name and password. They never come from the command line (every user sees
// it in ps): from a file only its owner may read, or from METER_MQTT_USERNAME and
// METER_MQTT_PASSWORD.
struct MqttCredentials {
    QByteArray userName;
    QByteArray password;

    // The file's text: the user name on the first line, the password on the second (which may be
    // missing: no password). LF or CRLF line ends; nothing after the second line but empty
    // lines; no NUL byte or other CR. Why it is none otherwise, without ever quoting the password.
    static Result<MqttCredentials> parse(QByteArrayView text);

    // Reads and parses the file, refusing one that group or others may read or write. The
    // message names the file. Every failure, an unreadable file too, is a wrong call: the user
    // mends the file or the option.
    static Result<MqttCredentials> readFile(const QString& path);

    // From the environment; nothing when METER_MQTT_USERNAME is unset or empty.
    static std::optional<MqttCredentials> fromEnvironment();
};
