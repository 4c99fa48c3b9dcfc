// Benchmark, run on demand: how long a chat message takes from one QXmpp
// client through a running kelvo-sandbox to another, one message at a time,
// while wrk (if asked for) loads the HTTP feed from another process.
//
//   bench_chat_latency SANDBOX [messages] [wrk-connections] [sandbox options...]
//
// SANDBOX is the kelvo-sandbox executable; it is started on free ports.
// Defaults: 2000 messages, no load. Prints p50, p99 and the maximum.

#include "benchsandbox.h"
#include "chattestsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <cstdio>

using namespace ChatTest;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_chat_latency SANDBOX [messages] [wrk-connections] "
                             "[sandbox options...]\n");
        return 2;
    }
    const int count = args.size() > 2 ? args.at(2).toInt() : 2000;
    const int connections = args.size() > 3 ? args.at(3).toInt() : 0;

    QProcess sandbox;
    quint16 httpPort = 0, xmppPort = 0;
    if (!startSandbox(sandbox, args.at(1), args.mid(4), &httpPort, &xmppPort)) {
        std::fprintf(stderr, "the sandbox did not start\n");
        return 1;
    }
    const QString root = QStringLiteral("http://127.0.0.1:%1").arg(httpPort);
    QNetworkAccessManager network;
    const QString token =
        QJsonDocument::fromJson(request(network, "POST", root + "/_sandbox/token"))
            .object()
            .value("access_token")
            .toString();
    const QJsonObject account =
        QJsonDocument::fromJson(request(network, "GET", root + "/_sandbox/account")).object();
    const QJsonArray friends =
        QJsonDocument::fromJson(request(network, "GET", root + "/me/friends?access_token=" + token))
            .object()
            .value("data")
            .toArray();
    if (token.isEmpty() || friends.size() < 12) {
        std::fprintf(stderr, "no token or too few friends\n");
        return 1;
    }
    // A friend whom demo life leaves alone, logged in with PLAIN.
    const QString friendId = friends.at(11).toObject().value("id").toString();
    QXmppClient sender, receiver;
    if (!connectClient(sender, facebookConfiguration(xmppPort, token)) ||
        !connectClient(receiver, plainConfiguration(xmppPort, friendId, "sandbox"))) {
        std::fprintf(stderr, "chat login failed (account %s)\n",
                     qPrintable(account.value("id").toString()));
        return 1;
    }

    QProcess wrk;
    if (connections > 0) {
        wrk.start("wrk", {"-t2", QStringLiteral("-c%1").arg(connections), "-d600s",
                          root + "/me/home?access_token=" + token});
        if (!wrk.waitForStarted()) {
            std::fprintf(stderr, "cannot start wrk\n");
            return 1;
        }
        QTest::qWait(1000);
    }

    QElapsedTimer clock;
    clock.start();
    qint64 arrived = -1;
    QObject::connect(&receiver, &QXmppClient::messageReceived, [&](const QXmppMessage &message) {
        if (!message.body().isEmpty())
            arrived = clock.nsecsElapsed();
    });
    QVector<double> latencies;
    const QString to = QLatin1Char('-') + friendId + QStringLiteral("@chat.sandbox.test");
    for (int i = -200; i < count; ++i) { // the first 200 warm up
        arrived = -1;
        const qint64 sent = clock.nsecsElapsed();
        sender.sendPacket(QXmppMessage(QString(), to, QStringLiteral("latency %1").arg(i)));
        QElapsedTimer wait;
        wait.start();
        while (arrived < 0 && wait.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (arrived < 0) {
            std::fprintf(stderr, "message %d lost\n", i);
            return 1;
        }
        if (i >= 0)
            latencies.append((arrived - sent) / 1e6);
        QTest::qWait(2); // one message at a time, with air in between
    }

    if (connections > 0) {
        ::kill(pid_t(wrk.processId()), SIGINT);
        wrk.waitForFinished(10000);
        const QString report = QString::fromUtf8(wrk.readAllStandardOutput());
        const auto rate =
            QRegularExpression(QStringLiteral("Requests/sec:\\s+([\\d.]+)")).match(report);
        std::printf("HTTP load: wrk, %d connections on /me/home: %s requests/s\n", connections,
                    rate.hasMatch() ? qPrintable(rate.captured(1)) : "?");
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("chat delivery over %d messages: p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", count,
                percentile(latencies, 0.5), percentile(latencies, 0.99), latencies.last());
    sandbox.terminate();
    sandbox.waitForFinished(10000);
    return 0;
}
