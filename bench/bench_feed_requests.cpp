// Feed requests per second against an in-process sandbox over loopback:
// several keep-alive connections asking for "me/home" for a few seconds.
// Run by hand: bench_feed_requests [seconds] [connections]
#include "sandbox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTextStream>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// One blocking keep-alive client; counts complete 200 answers.
void client(quint16 port, QByteArray request, qint64 untilMs, const QElapsedTimer *clock,
            std::atomic<long> *done, std::atomic<long> *failed) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(3000)) {
        ++*failed;
        return;
    }
    while (clock->elapsed() < untilMs) {
        if (socket.state() != QAbstractSocket::ConnectedState) {
            // The server ends keep-alive connections after many requests.
            socket.abort();
            socket.connectToHost(QHostAddress::LocalHost, port);
            if (!socket.waitForConnected(3000)) {
                ++*failed;
                return;
            }
        }
        socket.write(request);
        QByteArray head;
        while (!head.contains("\r\n\r\n") && socket.waitForReadyRead(5000))
            head += socket.readAll();
        const int end = head.indexOf("\r\n\r\n");
        const int lengthAt = head.toLower().indexOf("content-length:");
        if (end < 0 && socket.state() != QAbstractSocket::ConnectedState)
            continue;
        if (end < 0 || lengthAt < 0 || !head.startsWith("HTTP/1.1 200")) {
            ++*failed;
            return;
        }
        const int length =
            head.mid(lengthAt + 15, head.indexOf('\r', lengthAt) - lengthAt - 15).trimmed().toInt();
        QByteArray body = head.mid(end + 4);
        while (body.size() < length && socket.waitForReadyRead(5000))
            body += socket.readAll();
        ++*done;
    }
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? qMax(1, atoi(argv[1])) : 5;
    const int connections = argc > 2 ? qMax(1, atoi(argv[2])) : 4;
    Sandbox sandbox;
    QString error;
    if (!sandbox.start(0, 0, &error)) {
        QTextStream(stderr) << "cannot start the sandbox: " << error << "\n";
        return 1;
    }
    const QByteArray request = "GET /me/home?access_token=" + sandbox.issueToken().toUtf8() +
                               " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    std::atomic<long> done{0}, failed{0};
    QElapsedTimer clock;
    clock.start();
    std::vector<std::thread> threads;
    for (int i = 0; i < connections; ++i)
        threads.emplace_back(client, sandbox.httpPort(), request, qint64(seconds) * 1000, &clock,
                             &done, &failed);
    for (std::thread &t : threads)
        t.join();
    const double elapsed = clock.elapsed() / 1000.0;
    sandbox.stop();
    QTextStream(stdout) << "feed requests: " << done << " in " << elapsed << " s over "
                        << connections << " connections = " << done / elapsed << " requests/s ("
                        << failed << " failed)\n";
    return failed ? 1 : 0;
}
