#include "net/libraries/MosquittoLibrary.h"

MosquittoLibrary::MosquittoLibrary() {
    mosquitto_.resolve(mosquitto_connack_string, "mosquitto_connack_string");
    mosquitto_.resolve(mosquitto_connect_async, "mosquitto_connect_async");
    mosquitto_.resolve(mosquitto_connect_callback_set, "mosquitto_connect_callback_set");
    mosquitto_.resolve(mosquitto_destroy, "mosquitto_destroy");
    mosquitto_.resolve(mosquitto_disconnect, "mosquitto_disconnect");
    mosquitto_.resolve(mosquitto_disconnect_callback_set, "mosquitto_disconnect_callback_set");
    mosquitto_.resolve(mosquitto_int_option, "mosquitto_int_option");
    mosquitto_.resolve(mosquitto_lib_init, "mosquitto_lib_init");
    mosquitto_.resolve(mosquitto_log_callback_set, "mosquitto_log_callback_set");
    mosquitto_.resolve(mosquitto_loop, "mosquitto_loop");
    mosquitto_.resolve(mosquitto_max_inflight_messages_set, "mosquitto_max_inflight_messages_set");
    mosquitto_.resolve(mosquitto_message_callback_set, "mosquitto_message_callback_set");
    mosquitto_.resolve(mosquitto_new, "mosquitto_new");
    mosquitto_.resolve(mosquitto_publish, "mosquitto_publish");
    mosquitto_.resolve(mosquitto_publish_callback_set, "mosquitto_publish_callback_set");
    mosquitto_.resolve(mosquitto_socket, "mosquitto_socket");
    mosquitto_.resolve(mosquitto_ssl_get, "mosquitto_ssl_get");
    mosquitto_.resolve(mosquitto_strerror, "mosquitto_strerror");
    mosquitto_.resolve(mosquitto_subscribe, "mosquitto_subscribe");
    mosquitto_.resolve(mosquitto_threaded_set, "mosquitto_threaded_set");
    mosquitto_.resolve(mosquitto_tls_set, "mosquitto_tls_set");
    mosquitto_.resolve(mosquitto_username_pw_set, "mosquitto_username_pw_set");
    mosquitto_.resolve(mosquitto_will_set, "mosquitto_will_set");
    ssl_.resolve(SSL_get_verify_result, "SSL_get_verify_result");
    crypto_.resolve(X509_verify_cert_error_string, "X509_verify_cert_error_string");
    if (!error().isEmpty())
        return;
    if (const int started = mosquitto_lib_init(); started != MOSQ_ERR_SUCCESS)
        startError_ = QString::fromLocal8Bit(mosquitto_strerror(started));
}

QString MosquittoLibrary::error() const {
    for (const OpenedLibrary* library : {&mosquitto_, &ssl_, &crypto_})
        if (!library->error().isEmpty())
            return library->error();
    return startError_;
}

const MosquittoLibrary& mosquittoLibrary() {
    static const MosquittoLibrary library;
    return library;
}
