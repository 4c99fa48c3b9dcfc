// The chat client against the sandbox's real XMPP server, in process, with
// the chat model wired as the application wires it.
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "chatcache.h"
#include "chatdata.h"
#include "chattestsupport.h"
#include "rootwiring.h"
#include "xmppclient.h"

using namespace ChatTest;

class TestXmppClient : public ServerTest {
    Q_OBJECT

private slots:
    void offlineUntilTheRosterIsIn();
    void messagesBothWays();
    void sentWhileTheServerIsDownArrivesOnce();
    void pendingAtTheEndArrivesAfterTheNextStart();
    void deadTokenIsNotRetried();

private:
    // The client of the first person, its model wired (and its conversations
    // kept in `keptIn` when given), and a logged-in peer (the second person)
    // who has them on the roster.
    struct App {
        explicit App(quint16 port, const QString &keptIn = {})
            : client(settings(port)) {
            if (!keptIn.isEmpty()) {
                cache = std::make_unique<ChatCache>(keptIn, &model);
                connectChatCache(&client, &model, cache.get());
            }
            connectChatModel(&client, &model);
        }
        static ServiceSettings settings(quint16 port) {
            ServiceSettings s;
            s.chatDomain = QLatin1String(MemoryChatDirectory::domain);
            s.chatHost = QStringLiteral("127.0.0.1");
            s.chatPort = port;
            s.appId = QLatin1String(MemoryChatDirectory::appId);
            return s;
        }
        ChatMessage *lastMessageWith(const QString &userId) const {
            Conversation *c = model.conversation(bareJid(userId));
            return c && c->messagesCount() ? c->messageList().last() : nullptr;
        }
        ChatData model;
        xmppClient client;
        std::unique_ptr<ChatCache> cache;
    };
    void logIn(App &app) {
        app.client.connectChat(MemoryChatDirectory::tokenOf(first));
        TRY_VERIFY(app.client.isAuthenticated());
        TRY_VERIFY(app.model.totalUsers() > 0);
    }
};

void TestXmppClient::offlineUntilTheRosterIsIn() {
    Session peer;
    QVERIFY(peer.logIn(port(), second));
    App app(port());
    QStringList order;
    connect(&app.client, &QXmppClient::connected, this, [&] {
        order << QStringLiteral("connected:%1").arg(app.client.clientPresence().type());
    });
    connect(&app.client, &xmppClient::rosterReceived, this, [&](const Roster &roster) {
        order << QStringLiteral("roster:%1").arg(roster.isEmpty());
    });
    logIn(app);
    TRY_VERIFY(app.client.clientPresence().type() == QXmppPresence::Available);
    QCOMPARE(order, (QStringList{QStringLiteral("connected:%1").arg(QXmppPresence::Unavailable),
                                 QStringLiteral("roster:0")}));
    // The peer sees the person come online; the model sees the peer online.
    TRY_VERIFY(!peer.inbox.presencesFrom(first).isEmpty() &&
               peer.inbox.presencesFrom(first).last().type() == QXmppPresence::Available);
    TRY_VERIFY(app.model.user(bareJid(second)) && app.model.user(bareJid(second))->isOnline());
    QCOMPARE(app.model.ownJid().section('/', 0, 0), bareJid(first));

    // The same token again changes nothing; going offline ends the session
    // without a retry, and everyone shows offline; online again logs in with
    // the last token.
    QSignalSpy lost(&app.client, &xmppClient::connectionLost);
    app.client.connectChat(MemoryChatDirectory::tokenOf(first));
    QVERIFY(app.client.isAuthenticated());
    app.client.setPresence(false);
    TRY_COMPARE(lost.size(), 1);
    QVERIFY(!app.model.user(bareJid(second))->isOnline());
    QCOMPARE(app.client.state(), QXmppClient::DisconnectedState);
    app.client.setPresence(true);
    TRY_VERIFY(app.client.clientPresence().type() == QXmppPresence::Available &&
               app.client.isAuthenticated());
}

void TestXmppClient::messagesBothWays() {
    Session peer;
    QVERIFY(peer.logIn(port(), second));
    App app(port());
    logIn(app);
    QSignalSpy toScene(&app.model, SIGNAL(messageReceived(QVariant, QVariant)));

    // Only composing shows typing; a paused stanza opens nothing.
    QXmppMessage paused = chatMessage(bareJid(first), QString());
    paused.setState(QXmppMessage::Paused);
    peer.sendPacket(paused);
    QXmppMessage composing = chatMessage(bareJid(first), QString());
    composing.setState(QXmppMessage::Composing);
    peer.sendPacket(composing);
    TRY_COMPARE(toScene.size(), 1);
    QCOMPARE(toScene.at(0).at(1).toString(), QString());
    QVERIFY(!app.model.conversation(bareJid(second)));

    peer.sendPacket(chatMessage(bareJid(first), QStringLiteral("hello <b>"), "p1"));
    TRY_VERIFY(app.lastMessageWith(second));
    QCOMPARE(app.lastMessageWith(second)->message(), QStringLiteral("hello <b>"));
    QCOMPARE(toScene.size(), 2); // the paused stanza told nothing
    QCOMPARE(toScene.last().at(1).toString(), QStringLiteral("hello <b>"));

    app.client.sendMessage(bareJid(second), QStringLiteral("hi back"));
    ChatMessage *sent = app.lastMessageWith(second);
    QVERIFY(sent && !sent->receiver());
    TRY_COMPARE(peer.inbox.bodiesFrom(first), QStringList{QStringLiteral("hi back")});
    QCOMPARE(peer.inbox.messagesFrom(first).last().id(), sent->id());
    TRY_VERIFY(!sent->pending());
    QVERIFY(app.client.pendingIds().isEmpty());

    // A message to no one comes back as an error: failed, not sent again.
    app.client.sendMessage(QStringLiteral("-999@elsewhere.test"), QStringLiteral("lost"));
    Conversation *nowhere = app.model.conversation(QStringLiteral("-999@elsewhere.test"));
    QVERIFY(nowhere);
    TRY_VERIFY(nowhere->messageList().last()->failed());
    QVERIFY(app.client.pendingIds().isEmpty());
}

void TestXmppClient::sentWhileTheServerIsDownArrivesOnce() {
    App app(port());
    logIn(app);
    QSignalSpy lost(&app.client, &xmppClient::connectionLost);
    const quint16 samePort = port();

    server().close();
    TRY_COMPARE(lost.size(), 1);
    app.client.sendMessage(bareJid(second), QStringLiteral("while away"));
    ChatMessage *sent = app.lastMessageWith(second);
    QVERIFY(sent && sent->pending());

    QVERIFY(server().listen(QHostAddress::LocalHost, samePort));
    TRY_VERIFY(app.client.isAuthenticated());
    TRY_VERIFY(!sent->pending());
    QCOMPARE(app.client.retryDelay(), xmppClient::firstRetryMs);
    const ChatMessages routed = server().messagesTo(second);
    QCOMPARE(std::count_if(routed.cbegin(), routed.cend(),
                           [](const auto &m) { return m.body == QStringLiteral("while away"); }),
             1);
}

// The application ends while a message waits for the server; the next start
// shows it pending under its id and sends it once the server is back.
void TestXmppClient::pendingAtTheEndArrivesAfterTheNextStart() {
    QTemporaryDir home;
    const QString token = MemoryChatDirectory::tokenOf(first);
    const quint16 samePort = port();
    QString id;
    {
        App app(port(), home.path());
        app.cache->restore(token);
        logIn(app);
        QSignalSpy lost(&app.client, &xmppClient::connectionLost);
        server().close();
        TRY_COMPARE(lost.size(), 1);
        app.client.sendMessage(bareJid(second), QStringLiteral("kept over a restart"));
        id = app.lastMessageWith(second)->id();
    }
    App app(samePort, home.path());
    app.cache->restore(token);
    ChatMessage *kept = app.lastMessageWith(second);
    QVERIFY(kept && kept->pending());
    QCOMPARE(kept->id(), id);
    QVERIFY(server().listen(QHostAddress::LocalHost, samePort));
    app.client.connectChat(token);
    TRY_VERIFY(!kept->pending());
    const ChatMessages routed = server().messagesTo(second);
    QCOMPARE(std::count_if(routed.cbegin(), routed.cend(),
                           [](const auto &m) { return m.body == "kept over a restart"; }),
             1);
}

void TestXmppClient::deadTokenIsNotRetried() {
    App app(port());
    app.client.connectChat(QStringLiteral("dead-token"));
    TRY_VERIFY(app.client.refused());
    TRY_COMPARE(app.client.state(), QXmppClient::DisconnectedState);
    // Not again with the same token; a new one is tried.
    app.client.connectChat(QStringLiteral("dead-token"));
    QCOMPARE(app.client.state(), QXmppClient::DisconnectedState);
    logIn(app);
    QVERIFY(!app.client.refused());
}

QTEST_GUILESS_MAIN(TestXmppClient)
#include "tst_xmppclient.moc"
