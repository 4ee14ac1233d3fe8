#pragma once

#include "net/libraries/OpenedLibrary.h"

#include <mosquitto.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

// libmosquitto, and what OpenSSL (which it loads) tells of a certificate it refused, each function
// under its own name. Opened and initialised once, at the first MQTT client.
struct MosquittoLibrary {
    MosquittoLibrary();

    // Why MQTT cannot be used: the library cannot be opened or started. Empty when it can.
    QString error() const;

    decltype(&::mosquitto_connack_string) mosquitto_connack_string = nullptr;
    decltype(&::mosquitto_connect_async) mosquitto_connect_async = nullptr;
    decltype(&::mosquitto_connect_callback_set) mosquitto_connect_callback_set = nullptr;
    decltype(&::mosquitto_destroy) mosquitto_destroy = nullptr;
    decltype(&::mosquitto_disconnect) mosquitto_disconnect = nullptr;
    decltype(&::mosquitto_disconnect_callback_set) mosquitto_disconnect_callback_set = nullptr;
    decltype(&::mosquitto_int_option) mosquitto_int_option = nullptr;
    decltype(&::mosquitto_lib_init) mosquitto_lib_init = nullptr;
    decltype(&::mosquitto_log_callback_set) mosquitto_log_callback_set = nullptr;
    decltype(&::mosquitto_loop) mosquitto_loop = nullptr;
    decltype(&::mosquitto_max_inflight_messages_set) mosquitto_max_inflight_messages_set = nullptr;
    decltype(&::mosquitto_message_callback_set) mosquitto_message_callback_set = nullptr;
    decltype(&::mosquitto_new) mosquitto_new = nullptr;
    decltype(&::mosquitto_publish) mosquitto_publish = nullptr;
    decltype(&::mosquitto_publish_callback_set) mosquitto_publish_callback_set = nullptr;
    decltype(&::mosquitto_socket) mosquitto_socket = nullptr;
    decltype(&::mosquitto_ssl_get) mosquitto_ssl_get = nullptr;
    decltype(&::mosquitto_strerror) mosquitto_strerror = nullptr;
    decltype(&::mosquitto_subscribe) mosquitto_subscribe = nullptr;
    decltype(&::mosquitto_threaded_set) mosquitto_threaded_set = nullptr;
    decltype(&::mosquitto_tls_set) mosquitto_tls_set = nullptr;
    decltype(&::mosquitto_username_pw_set) mosquitto_username_pw_set = nullptr;
    decltype(&::mosquitto_will_set) mosquitto_will_set = nullptr;
    decltype(&::SSL_get_verify_result) SSL_get_verify_result = nullptr;
    decltype(&::X509_verify_cert_error_string) X509_verify_cert_error_string = nullptr;

private:
    OpenedLibrary mosquitto_{QStringLiteral("mosquitto"), QStringLiteral("1"),
                             QStringLiteral("libmosquitto1")};
    OpenedLibrary ssl_{QStringLiteral("ssl"), QStringLiteral("3"), QStringLiteral("libssl3")};
    OpenedLibrary crypto_{QStringLiteral("crypto"), QStringLiteral("3"), QStringLiteral("libssl3")};
    QString startError_;
};

// The library, opened at the first call from any thread; the same one after.
const MosquittoLibrary& mosquittoLibrary();
