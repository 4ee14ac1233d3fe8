#pragma once

#include "net/libraries/OpenedLibrary.h"

#include <microhttpd.h>

// libmicrohttpd, each function under its own name. Opened once, at the first listener.
struct MicrohttpdLibrary {
    MicrohttpdLibrary();

    // Why HTTP cannot be served: the library cannot be opened. Empty when it can.
    QString error() const { return microhttpd_.error(); }

    decltype(&::MHD_add_response_header) MHD_add_response_header = nullptr;
    decltype(&::MHD_create_response_from_buffer) MHD_create_response_from_buffer = nullptr;
    decltype(&::MHD_create_response_from_callback) MHD_create_response_from_callback = nullptr;
    decltype(&::MHD_destroy_response) MHD_destroy_response = nullptr;
    decltype(&::MHD_get_connection_values) MHD_get_connection_values = nullptr;
    decltype(&::MHD_lookup_connection_value) MHD_lookup_connection_value = nullptr;
    decltype(&::MHD_queue_response) MHD_queue_response = nullptr;
    decltype(&::MHD_resume_connection) MHD_resume_connection = nullptr;
    decltype(&::MHD_set_connection_option) MHD_set_connection_option = nullptr;
    decltype(&::MHD_start_daemon) MHD_start_daemon = nullptr;
    decltype(&::MHD_stop_daemon) MHD_stop_daemon = nullptr;
    decltype(&::MHD_suspend_connection) MHD_suspend_connection = nullptr;

private:
    OpenedLibrary microhttpd_{QStringLiteral("microhttpd"), QStringLiteral("12"),
                              QStringLiteral("libmicrohttpd12")};
};

// The library, opened at the first call from any thread; the same one after.
const MicrohttpdLibrary& microhttpdLibrary();
