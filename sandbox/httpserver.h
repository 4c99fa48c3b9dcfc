#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "apirequest.h"

class HttpConnections;
class HttplibServer;

// The HTTP front on 127.0.0.1: HttpConnections holds the connections and
// runs the workers, cpp-httplib parses each request, which becomes an
// ApiRequest for the dispatcher.
class HttpServer {
public:
    using Dispatcher = std::function<ApiResponse(const ApiRequest &)>;

    explicit HttpServer(Dispatcher dispatcher);
    ~HttpServer();

    // Port 0 picks a free port. On failure, *error says why.
    bool listen(quint16 port, QString *error);
    quint16 port() const { return m_port; }
    bool isRunning() const { return m_thread.joinable(); }
    // Stops accepting and waits for the workers. `whileWaiting` runs in the
    // wait loop (the owner processes its events there, so that workers blocked
    // on it can finish).
    void stop(const std::function<void()> &whileWaiting = {});

private:
    Dispatcher m_dispatcher;
    std::unique_ptr<HttpConnections> m_connections;
    std::unique_ptr<HttplibServer> m_server;
    std::thread m_thread;
    std::atomic<bool> m_finished{false};
    quint16 m_port = 0;
};
