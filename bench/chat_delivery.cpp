// Benchmark, run on demand: chat delivery latency through a running
// kelvo-sandbox, both ways, between the app's chat client and model (wired as
// the app wires them) and a friend's QXmpp client, one message at a time:
// the friend's message until ChatData has filed it, and the app's
// sendMessage until the friend's connection has it (routed by the sandbox).
//
//   bench_chat_delivery SANDBOX [messages]   (default 200 each way)
//
// SANDBOX is the kelvo-sandbox executable; it is started on free ports.
// Prints the median, p95 and maximum of each direction.

#include "benchsandbox.h"
#include "chatdata.h"
#include "chattestsupport.h"
#include "rootwiring.h"
#include "xmppclient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace ChatTest;

namespace {

constexpr int warmUp = 20;

QJsonObject answer(QNetworkAccessManager &network, const QString &method, const QString &url) {
    return QJsonDocument::fromJson(request(network, method, url)).object();
}

bool waitFor(const std::function<bool()> &condition) {
    QElapsedTimer wait;
    wait.start();
    while (!condition() && wait.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return condition();
}

// Sends `count` messages with `send(i)`, each once the one before has
// arrived (`arrived` set by the receiving side); the latencies in ms, sorted,
// or none when a message did not arrive.
QVector<double> measure(int count, const std::function<void(int)> &send, qint64 &arrived,
                        const QElapsedTimer &clock) {
    QVector<double> latencies;
    for (int i = -warmUp; i < count; ++i) {
        arrived = -1;
        const qint64 sent = clock.nsecsElapsed();
        send(i);
        if (!waitFor([&] { return arrived >= 0; })) {
            std::fprintf(stderr, "message %d lost\n", i);
            return {};
        }
        if (i >= 0)
            latencies.append((arrived - sent) / 1e6);
        QTest::qWait(2); // one message at a time, with air in between
    }
    std::sort(latencies.begin(), latencies.end());
    return latencies;
}

void report(const char *what, const QVector<double> &latencies) {
    std::printf("%s (%d messages): median %.3f ms, p95 %.3f ms, max %.3f ms\n", what,
                int(latencies.size()), percentile(latencies, 0.5), percentile(latencies, 0.95),
                latencies.last());
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_chat_delivery SANDBOX [messages]\n");
        return 2;
    }
    const int count = args.size() > 2 ? args.at(2).toInt() : 200;

    QProcess sandbox;
    quint16 httpPort = 0, xmppPort = 0;
    if (!startSandbox(sandbox, args.at(1), {}, &httpPort, &xmppPort)) {
        std::fprintf(stderr, "the sandbox did not start\n");
        return 1;
    }
    const QString root = QStringLiteral("http://127.0.0.1:%1").arg(httpPort);
    QNetworkAccessManager network;
    const QJsonObject token = answer(network, "POST", root + "/_sandbox/token");
    const QJsonArray friends =
        answer(network, "GET",
               root + "/me/friends?access_token=" + token.value("access_token").toString())
            .value("data")
            .toArray();
    const QString domain = QLatin1String(MemoryChatDirectory::domain);
    const auto jidOf = [&](const QString &id) { return '-' + id + '@' + domain; };

    ServiceSettings settings;
    settings.chatHost = QStringLiteral("127.0.0.1");
    settings.chatPort = xmppPort;
    settings.chatDomain = domain;
    settings.appId = answer(network, "GET", root + "/_sandbox/account").value("app_id").toString();
    ChatData model;
    xmppClient client(settings);
    connectChatModel(&client, &model);
    client.connectChat(token.value("access_token").toString());
    // A friend whom demo life leaves alone, logged in with PLAIN.
    const QString friendId = friends.at(11).toObject().value("id").toString();
    QXmppClient contact;
    if (!waitFor([&] { return client.isAuthenticated() && model.totalUsers() > 0; }) ||
        !connectClient(contact, plainConfiguration(xmppPort, friendId, "sandbox"))) {
        std::fprintf(stderr, "chat login failed\n");
        return 1;
    }

    QElapsedTimer clock;
    clock.start();
    qint64 arrived = -1;
    QString expected;
    QObject::connect(&model, qOverload<QVariant, QVariant>(&ChatData::messageReceived),
                     [&](const QVariant &, const QVariant &text) {
                         if (text.toString() == expected)
                             arrived = clock.nsecsElapsed();
                     });
    QObject::connect(&contact, &QXmppClient::messageReceived, [&](const QXmppMessage &message) {
        if (message.body() == expected)
            arrived = clock.nsecsElapsed();
    });
    const QString appJid = jidOf(token.value("user").toString());
    const QVector<double> toApp = measure(
        count,
        [&](int i) {
            expected = QStringLiteral("to the app %1").arg(i);
            QXmppMessage message(QString(), appJid, expected);
            message.setType(QXmppMessage::Chat);
            contact.sendPacket(message);
        },
        arrived, clock);
    const QVector<double> fromApp = measure(
        count,
        [&](int i) {
            expected = QStringLiteral("from the app %1").arg(i);
            client.sendMessage(jidOf(friendId), expected);
        },
        arrived, clock);
    if (toApp.isEmpty() || fromApp.isEmpty())
        return 1;
    report("contact -> filed in ChatData", toApp);
    report("sendMessage -> at the contact's connection", fromApp);
    client.disconnectChat();
    sandbox.terminate();
    sandbox.waitForFinished(10000);
    return 0;
}
