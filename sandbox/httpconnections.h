#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace httplib {
class Stream;
}

// The sandbox's keep-alive connections. Connections wait in one poller thread
// while they are idle or still sending their request head; only a connection
// with a whole head takes a worker, and gives it back after the answer. So
// idle and slow clients hold no worker, and when every worker is busy and the
// queue is full a connection is answered 503 at once instead of waiting.
class HttpConnections {
public:
    struct Limits {
        int workers = 16;
        size_t maxQueued = 512;       // heads waiting for a worker
        size_t maxConnections = 4000; // open connections, idle ones included
        size_t maxHeadBytes = 80 * 1024;
        std::chrono::seconds idle{10}; // keep-alive without a new request
        std::chrono::seconds head{10}; // from the first byte to the end of the head
        std::chrono::seconds read{10}; // one read of a body or one write
    };
    // Answers one request whose head (target shortened, Content-Length made
    // explicit) and body `stream` gives; `target` is the request's real target.
    // Returns false when the connection must end.
    using Serve = std::function<bool(httplib::Stream &stream, const std::string &target)>;

    HttpConnections(Serve serve, Limits limits);
    ~HttpConnections();

    void start();
    // Takes over an accepted socket (any thread, never blocks).
    void adopt(int fd);
    // Ends every connection and waits for the workers; `whileWaiting` runs
    // in the wait loop.
    void stop(const std::function<void()> &whileWaiting);
    // Requests being answered now.
    int busy() const;

private:
    using Clock = std::chrono::steady_clock;
    struct Connection {
        int fd = -1;
        std::string buffer;      // received, not yet answered
        Clock::time_point since; // last answer, or the first byte of the pending head
        bool headStarted = false;
    };

    void pollLoop();
    void workLoop();
    void serveConnection(Connection connection);
    void park(Connection connection);
    void dispatch(Connection connection);
    void wake();

    Serve m_serve;
    Limits m_limits;
    int m_wakePipe[2] = {-1, -1};
    bool m_running = false;

    mutable std::mutex m_mutex;
    std::condition_variable m_ready;
    std::unordered_map<int, Connection> m_parked;
    std::deque<Connection> m_queue;
    bool m_stopping = false;
    int m_busy = 0;

    std::thread m_poller;
    std::vector<std::thread> m_workers;
};
