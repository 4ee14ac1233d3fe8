#include "net/metrics/MetricsServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <microhttpd.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr unsigned int connectionLimit = 32;
constexpr unsigned int connectionTimeoutSeconds = 5;
// Bounds a request's line and headers: a scrape needs a few hundred bytes.
constexpr size_t connectionMemoryBytes = 16 * 1024;
constexpr int listenBacklog = 32;

const char* const metricsPath = "/metrics";
const char* const metricsContentType = "text/plain; version=0.0.4; charset=utf-8";

QString failureText(int error) {
    switch (error) {
    case EADDRINUSE:
        return QStringLiteral("address already in use");
    case EADDRNOTAVAIL:
        return QStringLiteral("no such address on this machine");
    case EACCES:
        return QStringLiteral("permission denied");
    default:
        break;
    }
    QString text = QString::fromLocal8Bit(std::strerror(error));
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

struct BoundSocket {
    int descriptor = -1;
    int error = 0;
};

// The server binds its socket itself, so that a failure says why (MHD only says that it failed).
BoundSocket bindSocket(const ListenAddress& address) {
    sockaddr_storage storage{};
    socklen_t length = 0;
    const QByteArray host = address.host.toLatin1();
    if (address.isIpv6()) {
        auto* ipv6 = reinterpret_cast<sockaddr_in6*>(&storage);
        ipv6->sin6_family = AF_INET6;
        ipv6->sin6_port = htons(address.port);
        if (inet_pton(AF_INET6, host.constData(), &ipv6->sin6_addr) != 1)
            return {-1, EINVAL};
        length = sizeof *ipv6;
    } else {
        auto* ipv4 = reinterpret_cast<sockaddr_in*>(&storage);
        ipv4->sin_family = AF_INET;
        ipv4->sin_port = htons(address.port);
        if (inet_pton(AF_INET, host.constData(), &ipv4->sin_addr) != 1)
            return {-1, EINVAL};
        length = sizeof *ipv4;
    }
    const int descriptor =
        ::socket(storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return {-1, errno};
    const int on = 1;
    // A restart finds the port free while the last run's connections linger; "[::]" means IPv6
    // alone, as it reads, whatever the system's default.
    if (::setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        (address.isIpv6() &&
         ::setsockopt(descriptor, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on) != 0) ||
        ::bind(descriptor, reinterpret_cast<sockaddr*>(&storage), length) != 0 ||
        ::listen(descriptor, listenBacklog) != 0) {
        const int error = errno;
        ::close(descriptor);
        return {-1, error};
    }
    return {descriptor, 0};
}

// 0 when the system does not say (errno says why).
quint16 boundPort(int descriptor) {
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    if (::getsockname(descriptor, reinterpret_cast<sockaddr*>(&storage), &length) != 0)
        return 0;
    if (storage.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<sockaddr_in6*>(&storage)->sin6_port);
    return ntohs(reinterpret_cast<sockaddr_in*>(&storage)->sin_port);
}

MHD_Result answer(MHD_Connection* connection, unsigned int status, const QByteArray& body,
                  const char* contentType, const char* allow = nullptr) {
    MHD_Response* response = MHD_create_response_from_buffer(
        size_t(body.size()), const_cast<char*>(body.constData()), MHD_RESPMEM_MUST_COPY);
    if (response == nullptr)
        return MHD_NO;
    // A response without its headers would be read wrongly: the connection is dropped instead.
    const bool headed =
        MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, contentType) == MHD_YES &&
        (allow == nullptr ||
         MHD_add_response_header(response, MHD_HTTP_HEADER_ALLOW, allow) == MHD_YES);
    const MHD_Result queued = headed ? MHD_queue_response(connection, status, response) : MHD_NO;
    MHD_destroy_response(response);
    return queued;
}

MHD_Result answerPlain(MHD_Connection* connection, unsigned int status, const char* text,
                       const char* allow = nullptr) {
    return answer(connection, status, QByteArray(text), "text/plain; charset=utf-8", allow);
}

bool hasBody(MHD_Connection* connection) {
    const char* length =
        MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    const char* chunked =
        MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING);
    return chunked != nullptr || (length != nullptr && std::strcmp(length, "0") != 0);
}

// Answers at the first call, when the request line and headers are in: a body is never read.
MHD_Result handleRequest(void* render, MHD_Connection* connection, const char* url,
                         const char* method, const char*, const char*, size_t*, void**) {
    if (std::strcmp(url, metricsPath) != 0)
        return answerPlain(connection, MHD_HTTP_NOT_FOUND, "Not Found\n");
    const bool get = std::strcmp(method, MHD_HTTP_METHOD_GET) == 0;
    const bool head = std::strcmp(method, MHD_HTTP_METHOD_HEAD) == 0;
    if (!get && !head)
        return answerPlain(connection, MHD_HTTP_METHOD_NOT_ALLOWED, "Method Not Allowed\n",
                           "GET, HEAD");
    if (hasBody(connection))
        return answerPlain(connection, MHD_HTTP_CONTENT_TOO_LARGE, "No body expected\n");
    const QByteArray text = (*static_cast<const MetricsServer::Render*>(render))();
    return answer(connection, MHD_HTTP_OK, text, metricsContentType);
}

} // namespace

MetricsServer::MetricsServer(Render render) : render_(std::move(render)) {}

MetricsServer::~MetricsServer() {
    stop();
}

Result<> MetricsServer::start(const ListenAddress& address) {
    stop();
    const auto failed = [&address](const QString& why) {
        return Failure{ExitStatus::Unavailable,
                       listenAddressText(address) + QStringLiteral(": ") + why};
    };
    const BoundSocket socket = bindSocket(address);
    if (socket.descriptor < 0)
        return failed(failureText(socket.error));
    const quint16 port = boundPort(socket.descriptor);
    if (port == 0) {
        const int error = errno;
        ::close(socket.descriptor);
        return failed(failureText(error));
    }
    // Without MHD_USE_ERROR_LOG the library writes nothing to stderr: what goes wrong for a client
    // is that client's business, and a failure to start is told by the text returned.
    daemon_ = MHD_start_daemon(
        MHD_USE_AUTO_INTERNAL_THREAD, 0, nullptr, nullptr, &handleRequest, &render_,
        MHD_OPTION_LISTEN_SOCKET, MHD_socket(socket.descriptor), MHD_OPTION_CONNECTION_LIMIT,
        connectionLimit, MHD_OPTION_CONNECTION_TIMEOUT, connectionTimeoutSeconds,
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, connectionMemoryBytes, MHD_OPTION_END);
    // MHD closes a socket it was given only when it started.
    if (daemon_ == nullptr) {
        ::close(socket.descriptor);
        return failed(QStringLiteral("the HTTP server did not start"));
    }
    port_ = port;
    return {};
}

void MetricsServer::stop() {
    if (daemon_ == nullptr)
        return;
    // Closes the listening socket and waits for the server's threads.
    MHD_stop_daemon(daemon_);
    daemon_ = nullptr;
    port_ = 0;
}
