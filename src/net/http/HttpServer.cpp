#include "net/http/HttpServer.h"

#include "net/libraries/MicrohttpdLibrary.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr unsigned int connectionLimit = 32;
constexpr unsigned int connectionTimeoutSeconds = 5;
// Bounds a request's line and headers: a scrape or a page needs a few hundred bytes.
constexpr size_t connectionMemoryBytes = 16 * 1024;
constexpr int listenBacklog = 32;
// What a streamed body asks of its source at a time.
constexpr size_t streamBlockBytes = 16 * 1024;

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

// A streamed body's source, and the connection to suspend while it has nothing to send.
struct StreamedBody {
    std::shared_ptr<BodyStream> stream;
    MHD_Connection* connection;
};

ssize_t readStreamedBody(void* body, uint64_t, char* buffer, size_t max) {
    auto* streamed = static_cast<StreamedBody*>(body);
    const qint64 got = streamed->stream->read(buffer, qint64(max), [streamed] {
        microhttpdLibrary().MHD_suspend_connection(streamed->connection);
    });
    if (got > 0 || got == BodyStream::Waiting)
        return got;
    return got == BodyStream::Ended ? MHD_CONTENT_READER_END_OF_STREAM
                                    : MHD_CONTENT_READER_END_WITH_ERROR;
}

void releaseStreamedBody(void* body) {
    delete static_cast<StreamedBody*>(body);
}

MHD_Response* responseFor(MHD_Connection* connection, const HttpAnswer& answer) {
    if (!answer.stream)
        return microhttpdLibrary().MHD_create_response_from_buffer(
            size_t(answer.body.size()), const_cast<char*>(answer.body.constData()),
            MHD_RESPMEM_MUST_COPY);
    auto* streamed = new StreamedBody{answer.stream, connection};
    answer.stream->setWake([connection] { microhttpdLibrary().MHD_resume_connection(connection); });
    // On failure the library has already released the body.
    MHD_Response* response = microhttpdLibrary().MHD_create_response_from_callback(
        MHD_SIZE_UNKNOWN, streamBlockBytes, &readStreamedBody, streamed, &releaseStreamedBody);
    if (response != nullptr && answer.stream->endless() &&
        microhttpdLibrary().MHD_set_connection_option(connection, MHD_CONNECTION_OPTION_TIMEOUT,
                                                      0u) != MHD_YES) {
        // A stream the idle timeout would cut every few seconds is refused: the connection
        // closes, and the page asks again.
        microhttpdLibrary().MHD_destroy_response(response);
        return nullptr;
    }
    return response;
}

MHD_Result send(MHD_Connection* connection, const HttpAnswer& answer) {
    MHD_Response* response = responseFor(connection, answer);
    if (response == nullptr)
        return MHD_NO;
    // A response without its headers would be read wrongly: the connection is dropped instead.
    bool headed =
        microhttpdLibrary().MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE,
                                                    answer.contentType.constData()) == MHD_YES;
    for (const auto& [name, value] : answer.headers)
        headed = headed && microhttpdLibrary().MHD_add_response_header(
                               response, name.constData(), value.constData()) == MHD_YES;
    const MHD_Result queued =
        headed ? microhttpdLibrary().MHD_queue_response(connection, answer.status, response)
               : MHD_NO;
    microhttpdLibrary().MHD_destroy_response(response);
    return queued;
}

bool hasBody(MHD_Connection* connection) {
    const char* length = microhttpdLibrary().MHD_lookup_connection_value(
        connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    const char* chunked = microhttpdLibrary().MHD_lookup_connection_value(
        connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING);
    return chunked != nullptr || (length != nullptr && std::strcmp(length, "0") != 0);
}

MHD_Result addQueryValue(void* query, MHD_ValueKind, const char* key, const char* value) {
    static_cast<QHash<QByteArray, QByteArray>*>(query)->insert(QByteArray(key), QByteArray(value));
    return MHD_YES;
}

HttpRequest requestOf(MHD_Connection* connection, const char* url, const char* method) {
    HttpRequest request;
    request.method = QByteArray(method);
    request.path = QByteArray(url);
    microhttpdLibrary().MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, &addQueryValue,
                                                  &request.query);
    request.ifNoneMatch = QByteArray(microhttpdLibrary().MHD_lookup_connection_value(
        connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_IF_NONE_MATCH));
    return request;
}

// Answers at the first call, when the request line and headers are in: a body is never read.
MHD_Result handleRequest(void* routes, MHD_Connection* connection, const char* url,
                         const char* method, const char*, const char*, size_t*, void**) {
    if (hasBody(connection))
        return send(connection, withSecurityHeaders(
                                    textAnswer(MHD_HTTP_CONTENT_TOO_LARGE, "No body expected\n")));
    return send(connection,
                static_cast<const RouteTable*>(routes)->answer(requestOf(connection, url, method)));
}

} // namespace

HttpServer::HttpServer(RouteTable routes, std::function<void()> beforeStop)
    : routes_(std::move(routes)), beforeStop_(std::move(beforeStop)) {}

HttpServer::~HttpServer() {
    stop();
}

Result<> HttpServer::start(const ListenAddress& address) {
    stop();
    const auto failed = [&address](const QString& why) {
        return Failure{ExitStatus::Unavailable,
                       listenAddressText(address) + QStringLiteral(": ") + why};
    };
    if (const QString unusable = microhttpdLibrary().error(); !unusable.isEmpty())
        return failed(unusable);
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
    daemon_ = microhttpdLibrary().MHD_start_daemon(
        MHD_USE_AUTO_INTERNAL_THREAD | MHD_ALLOW_SUSPEND_RESUME, 0, nullptr, nullptr,
        &handleRequest, &routes_, MHD_OPTION_LISTEN_SOCKET, MHD_socket(socket.descriptor),
        MHD_OPTION_CONNECTION_LIMIT, connectionLimit, MHD_OPTION_CONNECTION_TIMEOUT,
        connectionTimeoutSeconds, MHD_OPTION_CONNECTION_MEMORY_LIMIT, connectionMemoryBytes,
        MHD_OPTION_END);
    // MHD closes a socket it was given only when it started.
    if (daemon_ == nullptr) {
        ::close(socket.descriptor);
        return failed(QStringLiteral("the HTTP server did not start"));
    }
    port_ = port;
    return {};
}

void HttpServer::stop() {
    if (daemon_ == nullptr)
        return;
    // A suspended connection would hold the library's stop: the endless bodies end first.
    if (beforeStop_)
        beforeStop_();
    // Closes the listening socket and every connection, and waits for the server's thread.
    microhttpdLibrary().MHD_stop_daemon(daemon_);
    daemon_ = nullptr;
    port_ = 0;
}
