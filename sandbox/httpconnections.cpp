#include "httpconnections.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <unordered_set>

namespace {

constexpr size_t passedTargetLength = 4096; // longer targets reach httplib shortened
constexpr int requestSeconds = 60;          // a whole request, body included

size_t headEnd(const std::string &buffer) {
    const size_t crlf = buffer.find("\r\n\r\n");
    const size_t lf = buffer.find("\n\n");
    if (crlf == std::string::npos)
        return lf == std::string::npos ? lf : lf + 2;
    return lf == std::string::npos || crlf + 2 <= lf ? crlf + 4 : lf + 2;
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// httplib, as Debian builds it, refuses targets over 8 KiB and waits for the
// end of the stream when a POST has no Content-Length. The head it is given
// carries a short target (the real one is set back before routing) and an
// explicit empty body when the request declares none, as HTTP/1.1 means it.
std::string rewriteHead(const std::string &head, std::string *target) {
    const size_t lineEnd = head.find('\n');
    std::string line = head.substr(0, lineEnd);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    const size_t first = line.find(' ');
    const size_t last = line.rfind(' ');
    if (first == std::string::npos || last == first)
        return head;
    const std::string method = line.substr(0, first);
    *target = line.substr(first + 1, last - first - 1);
    std::string out = method + ' ' +
                      (target->size() > passedTargetLength ? std::string("/") : *target) +
                      line.substr(last) + "\r\n";
    const std::string fields = lowered(head.substr(lineEnd));
    if ((method == "POST" || method == "PUT" || method == "PATCH") &&
        fields.find("\ncontent-length:") == std::string::npos &&
        fields.find("\ntransfer-encoding:") == std::string::npos)
        out += "Content-Length: 0\r\n";
    return out + head.substr(lineEnd + 1);
}

void refuse(int fd, const char *status, const char *message) {
    const std::string body = std::string(R"({"error":{"message":")") + message +
                             R"(","type":"SandboxException","code":)" + std::string(status, 3) +
                             "}}";
    const std::string answer =
        std::string("HTTP/1.1 ") + status +
        "\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
        "\r\nRetry-After: 1\r\nConnection: close\r\n\r\n" + body;
    [[maybe_unused]] const ssize_t sent =
        ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    ::shutdown(fd, SHUT_WR);
    ::close(fd);
}

// One request's bytes: the rewritten head and what came with it, then the
// socket, each wait bounded by the read timeout and the request's deadline.
class ConnectionStream : public httplib::Stream {
public:
    ConnectionStream(int fd, std::string pending, std::chrono::seconds timeout)
        : m_fd(fd)
        , m_pending(std::move(pending))
        , m_timeout(timeout)
        , m_deadline(std::chrono::steady_clock::now() + std::chrono::seconds(requestSeconds)) {}

    bool is_readable() const override { return m_at < m_pending.size() || wait(POLLIN); }
    bool is_writable() const override { return wait(POLLOUT); }

    ssize_t read(char *ptr, size_t size) override {
        if (m_at < m_pending.size()) {
            const size_t n = std::min(size, m_pending.size() - m_at);
            std::memcpy(ptr, m_pending.data() + m_at, n);
            m_at += n;
            return ssize_t(n);
        }
        for (;;) {
            if (!wait(POLLIN))
                return -1;
            const ssize_t n = ::recv(m_fd, ptr, size, 0);
            if (n >= 0 || (errno != EAGAIN && errno != EINTR))
                return n;
        }
    }

    ssize_t write(const char *ptr, size_t size) override {
        size_t done = 0;
        while (done < size) {
            if (!wait(POLLOUT))
                return -1;
            const ssize_t n = ::send(m_fd, ptr + done, size - done, MSG_NOSIGNAL);
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return -1;
            done += size_t(std::max<ssize_t>(n, 0));
        }
        return ssize_t(size);
    }

    void get_remote_ip_and_port(std::string &ip, int &port) const override {
        address(::getpeername, ip, port);
    }
    void get_local_ip_and_port(std::string &ip, int &port) const override {
        address(::getsockname, ip, port);
    }
    socket_t socket() const override { return m_fd; }

    // Bytes received beyond this request (a pipelined next one).
    std::string leftover() const { return m_pending.substr(std::min(m_at, m_pending.size())); }

private:
    bool wait(short events) const {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            m_deadline - std::chrono::steady_clock::now());
        const int ms = int(std::min<long long>(left.count(), m_timeout.count() * 1000));
        if (ms <= 0)
            return false;
        pollfd p{m_fd, events, 0};
        int n;
        do
            n = ::poll(&p, 1, ms);
        while (n < 0 && errno == EINTR);
        return n > 0 && !(p.revents & POLLNVAL);
    }

    template <typename Get> void address(Get get, std::string &ip, int &port) const {
        sockaddr_storage a{};
        socklen_t length = sizeof a;
        ip.clear();
        port = 0;
        if (get(m_fd, reinterpret_cast<sockaddr *>(&a), &length) != 0)
            return;
        char text[INET6_ADDRSTRLEN] = {};
        if (a.ss_family == AF_INET) {
            const auto *in = reinterpret_cast<const sockaddr_in *>(&a);
            ::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
            port = ntohs(in->sin_port);
        } else if (a.ss_family == AF_INET6) {
            const auto *in = reinterpret_cast<const sockaddr_in6 *>(&a);
            ::inet_ntop(AF_INET6, &in->sin6_addr, text, sizeof text);
            port = ntohs(in->sin6_port);
        }
        ip = text;
    }

    int m_fd;
    std::string m_pending;
    size_t m_at = 0;
    std::chrono::seconds m_timeout;
    std::chrono::steady_clock::time_point m_deadline;
};

} // namespace

HttpConnections::HttpConnections(Serve serve, Limits limits)
    : m_serve(std::move(serve))
    , m_limits(limits) {}

HttpConnections::~HttpConnections() {
    stop({});
}

void HttpConnections::start() {
    if (m_running)
        return;
    if (::pipe2(m_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        m_wakePipe[0] = m_wakePipe[1] = -1;
    m_stopping = false;
    m_running = true;
    m_poller = std::thread([this] { pollLoop(); });
    for (int i = 0; i < m_limits.workers; ++i)
        m_workers.emplace_back([this] { workLoop(); });
}

int HttpConnections::busy() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_busy;
}

void HttpConnections::wake() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_wakePipe[1], &byte, 1);
}

void HttpConnections::adopt(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const size_t open = m_parked.size() + m_queue.size() + size_t(m_busy);
        if (!m_stopping && open < m_limits.maxConnections) {
            Connection c;
            c.fd = fd;
            c.since = Clock::now();
            m_parked.emplace(fd, std::move(c));
            fd = -1;
        }
    }
    if (fd >= 0)
        refuse(fd, "503 Service Unavailable", "Too many connections, try again.");
    else
        wake();
}

void HttpConnections::park(Connection connection) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_stopping) {
            m_parked.emplace(connection.fd, std::move(connection));
            connection.fd = -1;
        }
    }
    if (connection.fd >= 0)
        ::close(connection.fd);
    else
        wake();
}

void HttpConnections::dispatch(Connection connection) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_queue.size() < m_limits.maxQueued && !m_stopping) {
            m_queue.push_back(std::move(connection));
            m_ready.notify_one();
            return;
        }
    }
    refuse(connection.fd, "503 Service Unavailable", "The sandbox is busy, try again.");
}

void HttpConnections::pollLoop() {
    std::vector<pollfd> fds;
    char chunk[16384];
    for (;;) {
        fds.clear();
        fds.push_back({m_wakePipe[0], POLLIN, 0});
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stopping)
                break;
            for (const auto &parked : m_parked)
                fds.push_back({parked.first, POLLIN, 0});
        }
        ::poll(fds.data(), fds.size(), 500);
        while (::read(m_wakePipe[0], chunk, sizeof chunk) > 0) {
        }
        const Clock::time_point now = Clock::now();
        std::vector<Connection> ready;
        std::vector<std::pair<int, const char *>> ended; // fd, answer (or null: just close)
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (size_t i = 1; i < fds.size(); ++i) {
                if (!fds[i].revents)
                    continue;
                const auto it = m_parked.find(fds[i].fd);
                if (it == m_parked.end())
                    continue;
                Connection &c = it->second;
                bool closed = false;
                for (;;) {
                    const ssize_t n = ::recv(c.fd, chunk, sizeof chunk, 0);
                    if (n > 0) {
                        if (!c.headStarted) {
                            c.headStarted = true;
                            c.since = now;
                        }
                        c.buffer.append(chunk, size_t(n));
                        if (c.buffer.size() > m_limits.maxHeadBytes ||
                            headEnd(c.buffer) != std::string::npos)
                            break;
                        continue;
                    }
                    closed = n == 0 || (errno != EAGAIN && errno != EINTR);
                    break;
                }
                if (headEnd(c.buffer) != std::string::npos) {
                    ready.push_back(std::move(c));
                    m_parked.erase(it);
                } else if (c.buffer.size() > m_limits.maxHeadBytes) {
                    ended.emplace_back(c.fd, "414 URI Too Long");
                    m_parked.erase(it);
                } else if (closed) {
                    ended.emplace_back(c.fd, nullptr);
                    m_parked.erase(it);
                }
            }
            for (auto it = m_parked.begin(); it != m_parked.end();) {
                const Connection &c = it->second;
                if (c.headStarted && now - c.since > m_limits.head) {
                    ended.emplace_back(c.fd, "408 Request Timeout");
                    it = m_parked.erase(it);
                } else if (!c.headStarted && now - c.since > m_limits.idle) {
                    ended.emplace_back(c.fd, nullptr);
                    it = m_parked.erase(it);
                } else {
                    ++it;
                }
            }
        }
        for (const auto &end : ended) {
            if (end.second)
                refuse(end.first, end.second, "The request was not received in full.");
            else
                ::close(end.first);
        }
        for (Connection &c : ready)
            dispatch(std::move(c));
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto &parked : m_parked)
        ::close(parked.first);
    m_parked.clear();
}

void HttpConnections::workLoop() {
    for (;;) {
        Connection c;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_ready.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            c = std::move(m_queue.front());
            m_queue.pop_front();
            ++m_busy;
        }
        serveConnection(std::move(c));
        std::lock_guard<std::mutex> lock(m_mutex);
        --m_busy;
    }
}

void HttpConnections::serveConnection(Connection c) {
    for (;;) {
        const size_t end = headEnd(c.buffer);
        std::string target;
        const std::string head = rewriteHead(c.buffer.substr(0, end), &target);
        ConnectionStream stream(c.fd, head + c.buffer.substr(end), m_limits.read);
        const bool keep = m_serve(stream, target);
        bool stopping;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            stopping = m_stopping;
        }
        if (!keep || stopping) {
            ::close(c.fd);
            return;
        }
        c.buffer = stream.leftover();
        c.since = Clock::now();
        c.headStarted = !c.buffer.empty();
        if (headEnd(c.buffer) == std::string::npos)
            break;
    }
    park(std::move(c));
}

void HttpConnections::stop(const std::function<void()> &whileWaiting) {
    if (!m_running)
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_ready.notify_all();
    }
    wake();
    m_poller.join();
    while (busy() > 0) {
        if (whileWaiting)
            whileWaiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    for (std::thread &worker : m_workers)
        worker.join();
    m_workers.clear();
    for (const Connection &c : m_queue)
        ::close(c.fd);
    m_queue.clear();
    ::close(m_wakePipe[0]);
    ::close(m_wakePipe[1]);
    m_running = false;
}
