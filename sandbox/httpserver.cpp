#include "httpserver.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "httpconnections.h"
#include "sandboxlogging.h"

#include <httplib.h>

#include <QHostAddress>
#include <QJsonObject>

#include <chrono>

namespace {

constexpr size_t maxBodyBytes = 32 * 1024 * 1024;
// httplib decodes multipart bodies itself; the upload endpoint parses the raw
// body strictly instead, so the original content type is moved aside here.
const char originalContentType[] = "X-Sandbox-Content-Type";

void writeResponse(const ApiResponse &api, httplib::Response &res) {
    res.status = api.status;
    for (const auto &header : api.headers)
        res.set_header(header.first.toStdString(), header.second.toStdString());
    res.set_content(api.body.constData(), size_t(api.body.size()), api.contentType.constData());
}

ApiRequest toApiRequest(const httplib::Request &req, quint16 port) {
    ApiRequest api;
    api.method = QString::fromStdString(req.method);
    const std::string &target = req.target;
    const size_t question = target.find('?');
    const QByteArray rawPath = QByteArray::fromStdString(target.substr(0, question));
    api.path = QString::fromUtf8(QByteArray::fromPercentEncoding(rawPath));
    if (question != std::string::npos)
        api.query = parseQuery(QByteArray::fromStdString(target.substr(question + 1)));
    api.body = QByteArray::fromStdString(req.body);
    api.contentType = QByteArray::fromStdString(req.has_header(originalContentType)
                                                    ? req.get_header_value(originalContentType)
                                                    : req.get_header_value("Content-Type"));
    if (req.has_header("Content-Length")) {
        bool ok = false;
        api.contentLength =
            QByteArray::fromStdString(req.get_header_value("Content-Length")).toLongLong(&ok);
        if (!ok)
            api.contentLength = -1;
    }
    api.root = QStringLiteral("http://127.0.0.1:%1").arg(port);
    api.remoteAddress = QString::fromStdString(req.remote_addr);
    return api;
}

} // namespace

// httplib parses and answers each request; HttpConnections owns the sockets
// (see there), so accepted sockets are handed over instead of served here.
class HttplibServer : public httplib::Server {
public:
    explicit HttplibServer(HttpConnections *connections)
        : m_connections(connections) {
        // Accepting only hands the socket over: run that on the accepting thread.
        new_task_queue = [] { return new Inline; };
    }

    bool serve(httplib::Stream &stream, const std::string &target) {
        bool closed = false;
        const bool ok = process_request(stream, false, closed,
                                        [&](httplib::Request &req) { req.target = target; });
        return ok && !closed;
    }

    // httplib listens with a backlog of 5: a burst of new clients would wait
    // for SYN retries. Listening again on the bound socket widens it.
    void widenBacklog() { ::listen(svr_sock_, 1024); }

private:
    struct Inline : httplib::TaskQueue {
        void enqueue(std::function<void()> fn) override { fn(); }
        void shutdown() override {}
    };

    bool process_and_close_socket(socket_t sock) override {
        m_connections->adopt(sock);
        return true;
    }

    HttpConnections *m_connections;
};

HttpServer::HttpServer(Dispatcher dispatcher)
    : m_dispatcher(std::move(dispatcher)) {}

HttpServer::~HttpServer() {
    stop();
}

namespace {

// "" when 127.0.0.1:port can be listened on by this process alone, else why not.
QString probeExclusivePort(quint16 port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    QString why;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(fd, 1) != 0)
        why = QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    return why;
}

} // namespace

bool HttpServer::listen(quint16 port, QString *error) {
    if (m_thread.joinable()) {
        *error = QStringLiteral("already listening");
        return false;
    }
    m_connections = std::make_unique<HttpConnections>(
        [this](httplib::Stream &stream, const std::string &target) {
            return m_server->serve(stream, target);
        },
        HttpConnections::Limits{});
    m_server = std::make_unique<HttplibServer>(m_connections.get());
    HttplibServer &server = *m_server;
    server.set_payload_max_length(maxBodyBytes);
    // Only for the Keep-Alive header httplib writes: HttpConnections decides.
    server.set_keep_alive_timeout(10);
    server.set_keep_alive_max_count(1000000);
    // Address reuse only: httplib's default also shares the port with other
    // listeners (SO_REUSEPORT), and connections that linger after a stop then
    // keep a restarted server off its port.
    server.set_socket_options([](socket_t sock) {
        const int on = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    });
    server.set_pre_routing_handler([](const httplib::Request &req, httplib::Response &) {
        const std::string type = req.get_header_value("Content-Type");
        if (type.rfind("multipart/form-data", 0) == 0) {
            // The request object is the server's own, non-const one.
            auto &headers = const_cast<httplib::Request &>(req).headers;
            headers.erase("Content-Type");
            headers.emplace(originalContentType, type);
            headers.emplace("Content-Type", "application/octet-stream");
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    const auto handler = [this](const httplib::Request &req, httplib::Response &res) {
        writeResponse(m_dispatcher(toApiRequest(req, m_port)), res);
    };
    server.Get(".*", handler);
    server.Post(".*", handler);
    server.Put(".*", handler);
    server.Delete(".*", handler);
    server.Patch(".*", handler);
    server.set_exception_handler(
        [](const httplib::Request &, httplib::Response &res, std::exception_ptr) {
            writeResponse(
                ApiResponse::json(QJsonObject{{"error", QJsonObject{{"message", "Internal error."},
                                                                    {"type", "SandboxException"},
                                                                    {"code", 1}}}},
                                  500),
                res);
        });
    server.set_error_handler([](const httplib::Request &req, httplib::Response &res) {
        // Errors httplib raises itself (oversized, malformed): give them an error object.
        if (!res.body.empty())
            return;
        const QString message = res.status == 413 ? QStringLiteral("Request entity too large.")
                                                  : QStringLiteral("Bad request.");
        ApiResponse api = ApiResponse::badRequest(message, res.status);
        api.status = res.status;
        Q_UNUSED(req);
        writeResponse(api, res);
    });

    // httplib shares ports (SO_REUSEPORT), so a port another server holds
    // would be bound as well: probe with an exclusive listener first. Like
    // any server it may reuse a port whose old connections linger in TIME_WAIT.
    if (port != 0) {
        const QString taken = probeExclusivePort(port);
        if (!taken.isEmpty()) {
            *error = QStringLiteral("cannot listen on 127.0.0.1:%1: %2").arg(port).arg(taken);
            m_server.reset();
            return false;
        }
    }
    int bound = -1;
    if (port == 0)
        bound = server.bind_to_any_port("127.0.0.1");
    else if (server.bind_to_port("127.0.0.1", port))
        bound = port;
    if (bound <= 0) {
        *error = QStringLiteral("cannot listen on 127.0.0.1:%1 (is the port taken?)").arg(port);
        m_server.reset();
        return false;
    }
    server.widenBacklog();
    m_port = quint16(bound);
    m_finished = false;
    m_connections->start();
    m_thread = std::thread([this] {
        m_server->listen_after_bind();
        m_finished = true;
    });
    // stop() only takes effect once the loop runs: wait for it to start.
    for (int i = 0; i < 2000 && !m_server->is_running() && !m_finished; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void HttpServer::stop(const std::function<void()> &whileWaiting) {
    if (!m_thread.joinable())
        return;
    m_server->stop();
    while (!m_finished) {
        if (whileWaiting)
            whileWaiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    m_thread.join();
    m_connections->stop(whileWaiting);
    m_server.reset();
    m_connections.reset();
}
