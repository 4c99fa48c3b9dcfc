// Benchmark, run on demand: chat messages routed per second by the sandbox
// chat server between two QXmpp clients on loopback.
//
//   bench_chat_routing [messages]   (default 20000)

#include "chattestsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>

using namespace ChatTest;

namespace {

// Counts the chat messages with a body a client receives.
struct Counter {
    explicit Counter(QXmppClient *client) {
        QObject::connect(client, &QXmppClient::messageReceived, client,
                         [this](const QXmppMessage &message) {
                             if (!message.body().isEmpty())
                                 ++received;
                         });
    }
    int received = 0;
};

// Sends `count` messages from `from` to `toJid` and waits until all have
// arrived; returns the elapsed milliseconds or -1 on a time-out.
qint64 run(QXmppClient &from, const QString &toJid, const Counter &counter, int count,
           const QString &prefix) {
    const int before = counter.received;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        QXmppMessage message(QString(), toJid, prefix + QString::number(i));
        from.sendPacket(message);
        if (i % 500 == 0)
            QCoreApplication::processEvents();
    }
    while (counter.received - before < count) {
        if (timer.elapsed() > 300000)
            return -1;
        QTest::qWait(1);
    }
    return timer.elapsed();
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 20000;
    if (count <= 0) {
        std::fprintf(stderr, "usage: bench_chat_routing [messages]\n");
        return 2;
    }

    Server server;
    if (!server.start()) {
        std::fprintf(stderr, "cannot listen: %s\n", qPrintable(server.server.errorString()));
        return 1;
    }
    const QString first = QLatin1String(MemoryChatDirectory::firstUser);
    const QString second = QLatin1String(MemoryChatDirectory::secondUser);
    auto alice = loggedInClient(server.server.port(), first);
    auto bob = loggedInClient(server.server.port(), second);
    if (!alice || !bob) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }
    Counter aliceCounter(alice.get());
    Counter bobCounter(bob.get());

    // Warm up, then the measured run.
    run(*alice, bareJid(second), bobCounter, 200, QStringLiteral("warm-up "));
    const qint64 oneWay =
        run(*alice, bareJid(second), bobCounter, count, QStringLiteral("message "));
    if (oneWay < 0) {
        std::fprintf(stderr, "timed out\n");
        return 1;
    }
    std::printf("one direction: %d chat messages in %lld ms: %.0f messages/s\n", count,
                static_cast<long long>(oneWay), count * 1000.0 / qMax<qint64>(oneWay, 1));

    // Both directions at once.
    QElapsedTimer timer;
    timer.start();
    const int aliceBefore = aliceCounter.received;
    const int bobBefore = bobCounter.received;
    for (int i = 0; i < count / 2; ++i) {
        alice->sendPacket(QXmppMessage(QString(), bareJid(second), QStringLiteral("a%1").arg(i)));
        bob->sendPacket(QXmppMessage(QString(), bareJid(first), QStringLiteral("b%1").arg(i)));
        if (i % 250 == 0)
            QCoreApplication::processEvents();
    }
    while (aliceCounter.received - aliceBefore < count / 2 ||
           bobCounter.received - bobBefore < count / 2) {
        if (timer.elapsed() > 300000) {
            std::fprintf(stderr, "timed out\n");
            return 1;
        }
        QTest::qWait(1);
    }
    const qint64 bothWays = timer.elapsed();
    std::printf("both directions: %d chat messages in %lld ms: %.0f messages/s\n", count / 2 * 2,
                static_cast<long long>(bothWays),
                (count / 2 * 2) * 1000.0 / qMax<qint64>(bothWays, 1));
    return 0;
}
