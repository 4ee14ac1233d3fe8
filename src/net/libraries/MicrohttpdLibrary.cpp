#include "net/libraries/MicrohttpdLibrary.h"

MicrohttpdLibrary::MicrohttpdLibrary() {
    microhttpd_.resolve(MHD_add_response_header, "MHD_add_response_header");
    microhttpd_.resolve(MHD_create_response_from_buffer, "MHD_create_response_from_buffer");
    microhttpd_.resolve(MHD_create_response_from_callback, "MHD_create_response_from_callback");
    microhttpd_.resolve(MHD_destroy_response, "MHD_destroy_response");
    microhttpd_.resolve(MHD_get_connection_values, "MHD_get_connection_values");
    microhttpd_.resolve(MHD_lookup_connection_value, "MHD_lookup_connection_value");
    microhttpd_.resolve(MHD_queue_response, "MHD_queue_response");
    microhttpd_.resolve(MHD_resume_connection, "MHD_resume_connection");
    microhttpd_.resolve(MHD_set_connection_option, "MHD_set_connection_option");
    microhttpd_.resolve(MHD_start_daemon, "MHD_start_daemon");
    microhttpd_.resolve(MHD_stop_daemon, "MHD_stop_daemon");
    microhttpd_.resolve(MHD_suspend_connection, "MHD_suspend_connection");
}

const MicrohttpdLibrary& microhttpdLibrary() {
    static const MicrohttpdLibrary library;
    return library;
}
