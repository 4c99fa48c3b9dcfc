// Presence and message routing of the sandbox chat between logged-in QXmpp
// clients, virtual contacts and the control interface.

#include "chattestsupport.h"

#include <QSignalSpy>
#include <QTest>
#include <thread>

using namespace ChatTest;

namespace {
const QString first = QLatin1String(MemoryChatDirectory::firstUser);
const QString second = QLatin1String(MemoryChatDirectory::secondUser);
const QString ada = QLatin1String(MemoryChatDirectory::ada);
const QString nameless = QLatin1String(MemoryChatDirectory::nameless);
const QString bea = QLatin1String(MemoryChatDirectory::bea);
constexpr int timeout = 10000;

QXmppPresence presenceWithShow(QXmppPresence::AvailableStatusType show) {
    QXmppPresence presence;
    presence.setAvailableStatusType(show);
    return presence;
}

QXmppMessage chatMessage(const QString &to, const QString &body) {
    QXmppMessage message(QString(), to, body);
    message.setType(QXmppMessage::Chat);
    return message;
}
} // namespace

class ChatRoutingTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void presenceReachesContactsFromBareJid();
    void vanishedPeerAppearsUnavailable();
    void initialUnavailablePresenceIsNotAnnounced();
    void loginReceivesPresenceOfOnlineContacts();
    void presenceStaysWithinRosters();
    void chatMessagesBothWays();
    void messageReachesEveryResource();
    void typingNotificationHasNoBody();
    void messageToAbsentPersonIsRecorded();
    void messageToForeignAddressIsAnswered();
    void recordsAreBounded();
    void virtualContactPresenceAndMessages();
    void autoReplyTypesThenAnswers();
    void autoReplyCanBeTurnedOff();
    void controlInterfaceFromAnotherThread();

private:
    std::unique_ptr<Server> m_server;
    quint16 port() const { return m_server->server.port(); }
    ChatServer &server() { return m_server->server; }
};

void ChatRoutingTest::init() {
    m_server = std::make_unique<Server>();
    QVERIFY2(m_server->start(), qPrintable(m_server->server.errorString()));
}

void ChatRoutingTest::cleanup() {
    m_server.reset();
}

void ChatRoutingTest::presenceReachesContactsFromBareJid() {
    auto alice = loggedInClient(port(), first);
    QVERIFY(alice);
    Inbox aliceInbox(alice.get());
    auto bob = std::make_unique<QXmppClient>();
    Inbox bobInbox(bob.get());
    QVERIFY(
        connectClient(*bob, facebookConfiguration(port(), MemoryChatDirectory::tokenOf(second))));

    // Each sees the other come online, from the bare address.
    QTRY_COMPARE_WITH_TIMEOUT(aliceInbox.presencesFrom(bareJid(second)).size(), 1, timeout);
    QCOMPARE(aliceInbox.presencesFrom(bareJid(second)).first().type(), QXmppPresence::Available);
    QTRY_COMPARE_WITH_TIMEOUT(bobInbox.presencesFrom(bareJid(first)).size(), 1, timeout);
    QCOMPARE(bobInbox.presencesFrom(bareJid(first)).first().type(), QXmppPresence::Available);

    alice->setClientPresence(presenceWithShow(QXmppPresence::Away));
    QTRY_COMPARE_WITH_TIMEOUT(bobInbox.presencesFrom(bareJid(first)).size(), 2, timeout);
    QCOMPARE(bobInbox.presencesFrom(bareJid(first)).last().type(), QXmppPresence::Available);
    QCOMPARE(bobInbox.presencesFrom(bareJid(first)).last().availableStatusType(),
             QXmppPresence::Away);

    alice->setClientPresence(presenceWithShow(QXmppPresence::Online));
    QTRY_COMPARE_WITH_TIMEOUT(bobInbox.presencesFrom(bareJid(first)).size(), 3, timeout);
    QCOMPARE(bobInbox.presencesFrom(bareJid(first)).last().availableStatusType(),
             QXmppPresence::Online);

    alice->disconnectFromServer();
    QTRY_COMPARE_WITH_TIMEOUT(bobInbox.presencesFrom(bareJid(first)).size(), 4, timeout);
    QCOMPARE(bobInbox.presencesFrom(bareJid(first)).last().type(), QXmppPresence::Unavailable);
    // No presence ever carried a resource.
    for (const QXmppPresence &presence : bobInbox.presences)
        QVERIFY2(!presence.from().contains(QLatin1Char('/')), qPrintable(presence.from()));
}

void ChatRoutingTest::vanishedPeerAppearsUnavailable() {
    auto alice = loggedInClient(port(), first);
    QVERIFY(alice);
    Inbox inbox(alice.get());
    RawPeer adaPeer;
    QVERIFY(adaPeer.connectTo(port()));
    QVERIFY(adaPeer.logInWithPlain(ada, MemoryChatDirectory::passwordOf(ada)));
    adaPeer.send("<presence><show>away</show></presence>");
    QTRY_COMPARE_WITH_TIMEOUT(inbox.presencesFrom(bareJid(ada)).size(), 1, timeout);
    QCOMPARE(inbox.presencesFrom(bareJid(ada)).first().availableStatusType(), QXmppPresence::Away);

    // Half a stanza, then the connection is gone without a word. The
    // presence before it shows when the server has read that far.
    adaPeer.send("<presence><show>dnd</show></presence>"
                 "<message to='-100001@chat.sandbox.test' type='chat'><body>unfini");
    QTRY_COMPARE_WITH_TIMEOUT(inbox.presencesFrom(bareJid(ada)).size(), 2, timeout);
    adaPeer.abort();
    QTRY_COMPARE_WITH_TIMEOUT(inbox.presencesFrom(bareJid(ada)).size(), 3, timeout);
    QCOMPARE(inbox.presencesFrom(bareJid(ada)).last().type(), QXmppPresence::Unavailable);
    QVERIFY(inbox.messagesFrom(bareJid(ada)).isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!server().onlineUsers().contains(ada), timeout);
}

void ChatRoutingTest::initialUnavailablePresenceIsNotAnnounced() {
    // The app logs in with an unavailable presence and turns available only
    // once the roster is in; its contacts must first see it available.
    auto bob = loggedInClient(port(), second);
    QVERIFY(bob);
    Inbox bobInbox(bob.get());
    auto alice = loggedInClient(port(), first, QXmppPresence(QXmppPresence::Unavailable));
    QVERIFY(alice);
    // A round trip through the server: afterwards the initial presence has
    // been handled.
    alice->sendPacket(chatMessage(bareJid(second), QStringLiteral("ping")));
    QTRY_COMPARE_WITH_TIMEOUT(bobInbox.bodiesFrom(bareJid(first)), QStringList{"ping"}, timeout);
    QVERIFY(bobInbox.presencesFrom(bareJid(first)).isEmpty());

    alice->setClientPresence(QXmppPresence(QXmppPresence::Available));
    QTRY_COMPARE_WITH_TIMEOUT(bobInbox.presencesFrom(bareJid(first)).size(), 1, timeout);
    QCOMPARE(bobInbox.presencesFrom(bareJid(first)).first().type(), QXmppPresence::Available);
}

void ChatRoutingTest::loginReceivesPresenceOfOnlineContacts() {
    server().setVirtualPresence(ada, QStringLiteral("away"));
    server().setVirtualPresence(bea, QString());
    auto bob = loggedInClient(port(), second);
    QVERIFY(bob);

    auto alice = std::make_unique<QXmppClient>();
    Inbox inbox(alice.get());
    QVERIFY(
        connectClient(*alice, facebookConfiguration(port(), MemoryChatDirectory::tokenOf(first))));
    QTRY_COMPARE_WITH_TIMEOUT(inbox.presencesFrom(bareJid(ada)).size(), 1, timeout);
    QCOMPARE(inbox.presencesFrom(bareJid(ada)).first().availableStatusType(), QXmppPresence::Away);
    QTRY_COMPARE_WITH_TIMEOUT(inbox.presencesFrom(bareJid(bea)).size(), 1, timeout);
    QCOMPARE(inbox.presencesFrom(bareJid(bea)).first().availableStatusType(),
             QXmppPresence::Online);
    QTRY_COMPARE_WITH_TIMEOUT(inbox.presencesFrom(bareJid(second)).size(), 1, timeout);
    QCOMPARE(inbox.presencesFrom(bareJid(second)).first().type(), QXmppPresence::Available);
    QVERIFY(inbox.presencesFrom(bareJid(nameless)).isEmpty());
}

void ChatRoutingTest::presenceStaysWithinRosters() {
    // Bob's roster holds Alice and Ada, not Bea.
    auto bob = std::make_unique<QXmppClient>();
    Inbox inbox(bob.get());
    QVERIFY(
        connectClient(*bob, facebookConfiguration(port(), MemoryChatDirectory::tokenOf(second))));
    server().setVirtualPresence(bea, QString());
    server().setVirtualPresence(ada, QString());
    QTRY_COMPARE_WITH_TIMEOUT(inbox.presencesFrom(bareJid(ada)).size(), 1, timeout);
    QVERIFY(inbox.presencesFrom(bareJid(bea)).isEmpty());
}

void ChatRoutingTest::chatMessagesBothWays() {
    QSignalSpy routed(&server(), &ChatServer::messageRouted);
    auto alice = loggedInClient(port(), first);
    auto bob = loggedInClient(port(), second);
    QVERIFY(alice && bob);
    Inbox aliceInbox(alice.get());
    Inbox bobInbox(bob.get());

    alice->sendPacket(chatMessage(bareJid(second), QStringLiteral("Hello Tamsin")));
    QTRY_COMPARE_WITH_TIMEOUT(bobInbox.bodiesFrom(bareJid(first)), QStringList{"Hello Tamsin"},
                              timeout);
    const QXmppMessage received = bobInbox.messagesFrom(bareJid(first)).first();
    QCOMPARE(received.type(), QXmppMessage::Chat);
    QCOMPARE(received.to(), bob->configuration().jid());

    // Addressed to the full address this time, with characters that need
    // escaping.
    bob->sendPacket(
        chatMessage(alice->configuration().jid(), QStringLiteral("Hi <Orla> & \"all\"")));
    QTRY_COMPARE_WITH_TIMEOUT(aliceInbox.bodiesFrom(bareJid(second)),
                              QStringList{"Hi <Orla> & \"all\""}, timeout);

    QCOMPARE(routed.count(), 2);
    QCOMPARE(routed.at(0), (QVariantList{first, second, QStringLiteral("Hello Tamsin")}));
    QCOMPARE(server().messagesTo(second),
             (QList<QPair<QString, QString>>{{first, QStringLiteral("Hello Tamsin")}}));
    QCOMPARE(server().messagesTo(first),
             (QList<QPair<QString, QString>>{{second, QStringLiteral("Hi <Orla> & \"all\"")}}));
}

void ChatRoutingTest::messageReachesEveryResource() {
    auto alice = loggedInClient(port(), first);
    QVERIFY(alice);
    auto phone = std::make_unique<QXmppClient>();
    auto desk = std::make_unique<QXmppClient>();
    Inbox phoneInbox(phone.get());
    Inbox deskInbox(desk.get());
    QXmppConfiguration configuration =
        facebookConfiguration(port(), MemoryChatDirectory::tokenOf(second));
    configuration.setResource(QStringLiteral("phone"));
    QVERIFY(connectClient(*phone, configuration));
    configuration.setResource(QStringLiteral("desk"));
    QVERIFY(connectClient(*desk, configuration));

    alice->sendPacket(chatMessage(bareJid(second), QStringLiteral("to both")));
    QTRY_COMPARE_WITH_TIMEOUT(phoneInbox.bodiesFrom(bareJid(first)), QStringList{"to both"},
                              timeout);
    QTRY_COMPARE_WITH_TIMEOUT(deskInbox.bodiesFrom(bareJid(first)), QStringList{"to both"},
                              timeout);
}

void ChatRoutingTest::typingNotificationHasNoBody() {
    auto alice = loggedInClient(port(), first);
    auto bob = loggedInClient(port(), second);
    QVERIFY(alice && bob);
    Inbox bobInbox(bob.get());

    QXmppMessage typing = chatMessage(bareJid(second), QString());
    typing.setState(QXmppMessage::Composing);
    alice->sendPacket(typing);
    QTRY_COMPARE_WITH_TIMEOUT(bobInbox.messagesFrom(bareJid(first)).size(), 1, timeout);
    const QXmppMessage received = bobInbox.messagesFrom(bareJid(first)).first();
    QVERIFY(received.body().isEmpty());
    QCOMPARE(received.state(), QXmppMessage::Composing);
    // Typing is not a message anyone posted.
    QVERIFY(server().messagesTo(second).isEmpty());
}

void ChatRoutingTest::messageToAbsentPersonIsRecorded() {
    auto alice = loggedInClient(port(), first);
    QVERIFY(alice);
    alice->sendPacket(chatMessage(bareJid(nameless), QStringLiteral("are you there?")));
    QTRY_COMPARE_WITH_TIMEOUT(server().messagesTo(nameless).size(), 1, timeout);
    QCOMPARE(server().messagesTo(nameless).first(),
             qMakePair(first, QStringLiteral("are you there?")));
    QVERIFY(alice->isConnected());
}

void ChatRoutingTest::messageToForeignAddressIsAnswered() {
    auto alice = loggedInClient(port(), first);
    QVERIFY(alice);
    Inbox inbox(alice.get());
    alice->sendPacket(
        chatMessage(QStringLiteral("someone@elsewhere.example"), QStringLiteral("hi")));
    QTRY_COMPARE_WITH_TIMEOUT(inbox.messages.size(), 1, timeout);
    QCOMPARE(inbox.messages.first().type(), QXmppMessage::Error);
    QCOMPARE(inbox.messages.first().error().condition(), QXmppStanza::Error::ItemNotFound);
    QVERIFY(alice->isConnected());
}

void ChatRoutingTest::recordsAreBounded() {
    for (int i = 0; i < 1005; ++i)
        server().sendMessageAs(first, ada, QString::number(i));
    const ChatMessages kept = server().messagesTo(ada);
    QCOMPARE(kept.size(), 1000);
    QCOMPARE(kept.first().second, QStringLiteral("5"));
    QCOMPARE(kept.last().second, QStringLiteral("1004"));

    // Messages to ever new addresses stop being recorded at some point,
    // while those to known addressees still are.
    for (int i = 0; i < 20000; ++i)
        server().sendMessageAs(first, QString::number(900000 + i), QStringLiteral("x"));
    QVERIFY(server().messagesTo(QStringLiteral("919999")).isEmpty());
    server().sendMessageAs(first, ada, QStringLiteral("still recorded"));
    QCOMPARE(server().messagesTo(ada).last().second, QStringLiteral("still recorded"));
}

void ChatRoutingTest::virtualContactPresenceAndMessages() {
    auto alice = loggedInClient(port(), first);
    QVERIFY(alice);
    Inbox inbox(alice.get());

    server().setVirtualPresence(ada, QString());
    QTRY_COMPARE_WITH_TIMEOUT(inbox.presencesFrom(bareJid(ada)).size(), 1, timeout);
    QCOMPARE(inbox.presencesFrom(bareJid(ada)).last().type(), QXmppPresence::Available);
    QVERIFY(server().onlineUsers().contains(ada));

    server().setVirtualPresence(ada, QStringLiteral("away"));
    QTRY_COMPARE_WITH_TIMEOUT(inbox.presencesFrom(bareJid(ada)).size(), 2, timeout);
    QCOMPARE(inbox.presencesFrom(bareJid(ada)).last().availableStatusType(), QXmppPresence::Away);

    // Setting the same presence again tells no one anything new.
    server().setVirtualPresence(ada, QStringLiteral("away"));

    server().sendTypingAs(ada, first, true);
    server().sendMessageAs(ada, first, QStringLiteral("Hello from Ada"));
    server().sendTypingAs(ada, first, false);
    QTRY_COMPARE_WITH_TIMEOUT(inbox.messagesFrom(bareJid(ada)).size(), 3, timeout);
    const QList<QXmppMessage> messages = inbox.messagesFrom(bareJid(ada));
    QCOMPARE(messages.at(0).state(), QXmppMessage::Composing);
    QVERIFY(messages.at(0).body().isEmpty());
    QCOMPARE(messages.at(1).body(), QStringLiteral("Hello from Ada"));
    QCOMPARE(messages.at(1).type(), QXmppMessage::Chat);
    QCOMPARE(messages.at(2).state(), QXmppMessage::Paused);

    server().setVirtualPresence(ada, QStringLiteral("unavailable"));
    QTRY_COMPARE_WITH_TIMEOUT(inbox.presencesFrom(bareJid(ada)).size(), 3, timeout);
    QCOMPARE(inbox.presencesFrom(bareJid(ada)).last().type(), QXmppPresence::Unavailable);
    QVERIFY(!server().onlineUsers().contains(ada));
}

void ChatRoutingTest::autoReplyTypesThenAnswers() {
    server().setVirtualPresence(bea, QString());
    server().setAutoReply(bea, 100, QStringLiteral("Back in a minute"));
    auto alice = loggedInClient(port(), first);
    QVERIFY(alice);
    Inbox inbox(alice.get());

    alice->sendPacket(chatMessage(bareJid(bea), QStringLiteral("Are you there?")));
    QTRY_COMPARE_WITH_TIMEOUT(inbox.bodiesFrom(bareJid(bea)), QStringList{"Back in a minute"},
                              timeout);
    const QList<QXmppMessage> messages = inbox.messagesFrom(bareJid(bea));
    QCOMPARE(messages.size(), 2);
    QVERIFY(messages.first().body().isEmpty());
    QCOMPARE(messages.first().state(), QXmppMessage::Composing);
    QCOMPARE(server().messagesTo(bea),
             (QList<QPair<QString, QString>>{{first, QStringLiteral("Are you there?")}}));

    // Every message gets its answer.
    alice->sendPacket(chatMessage(bareJid(bea), QStringLiteral("Still there?")));
    QTRY_COMPARE_WITH_TIMEOUT(inbox.bodiesFrom(bareJid(bea)).size(), 2, timeout);
}

void ChatRoutingTest::autoReplyCanBeTurnedOff() {
    server().setAutoReply(bea, 0, QStringLiteral("answer"));
    server().setAutoReply(bea, 0, QString());
    auto alice = loggedInClient(port(), first);
    QVERIFY(alice);
    Inbox inbox(alice.get());
    alice->sendPacket(chatMessage(bareJid(bea), QStringLiteral("hello")));
    QTRY_COMPARE_WITH_TIMEOUT(server().messagesTo(bea).size(), 1, timeout);
    // Had the answer been on, its typing notification would have left before
    // this marker.
    server().sendMessageAs(bea, first, QStringLiteral("marker"));
    QTRY_COMPARE_WITH_TIMEOUT(inbox.messagesFrom(bareJid(bea)).size(), 1, timeout);
    QCOMPARE(inbox.messagesFrom(bareJid(bea)).first().body(), QStringLiteral("marker"));
}

void ChatRoutingTest::controlInterfaceFromAnotherThread() {
    auto alice = loggedInClient(port(), first);
    QVERIFY(alice);
    Inbox inbox(alice.get());
    alice->sendPacket(chatMessage(bareJid(ada), QStringLiteral("for the record")));
    QTRY_COMPARE_WITH_TIMEOUT(server().messagesTo(ada).size(), 1, timeout);

    // The HTTP side calls in from its worker threads through the meta-object
    // system, by name.
    ChatMessages recorded;
    QStringList online;
    bool invoked = false;
    std::thread worker([&] {
        ChatServer *target = &server();
        invoked =
            QMetaObject::invokeMethod(target, "messagesTo", Qt::BlockingQueuedConnection,
                                      Q_RETURN_ARG(ChatMessages, recorded), Q_ARG(QString, ada)) &&
            QMetaObject::invokeMethod(target, "onlineUsers", Qt::BlockingQueuedConnection,
                                      Q_RETURN_ARG(QStringList, online)) &&
            QMetaObject::invokeMethod(target, "sendMessageAs", Qt::QueuedConnection,
                                      Q_ARG(QString, ada), Q_ARG(QString, first),
                                      Q_ARG(QString, QStringLiteral("from a thread")));
    });
    QTRY_COMPARE_WITH_TIMEOUT(inbox.bodiesFrom(bareJid(ada)), QStringList{"from a thread"},
                              timeout);
    worker.join();
    QVERIFY(invoked);
    QCOMPARE(recorded, (QList<QPair<QString, QString>>{{first, QStringLiteral("for the record")}}));
    QCOMPARE(online, QStringList{first});
}

QTEST_GUILESS_MAIN(ChatRoutingTest)
#include "tst_chatrouting.moc"
