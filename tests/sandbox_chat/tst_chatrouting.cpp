// Presence and message routing of the sandbox chat between logged-in QXmpp
// clients, virtual contacts and the control interface; messages that wait for
// a session, also across a restart.

#include "chattestsupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

using namespace ChatTest;

namespace {
QXmppPresence presenceWithShow(QXmppPresence::AvailableStatusType show) {
    QXmppPresence presence;
    presence.setAvailableStatusType(show);
    return presence;
}
} // namespace

class ChatRoutingTest : public ServerTest {
    Q_OBJECT

private slots:
    void presenceReachesContactsFromBareJid() {
        Session alice, bob;
        QVERIFY(alice.logIn(port(), first) && bob.logIn(port(), second));
        const auto lastSeenByBob = [&] { return bob.inbox.presencesFrom(first).last(); };

        // Each sees the other come online, from the bare address.
        TRY_COMPARE(alice.inbox.presencesFrom(second).size(), 1);
        QCOMPARE(alice.inbox.presencesFrom(second).first().type(), QXmppPresence::Available);
        TRY_COMPARE(bob.inbox.presencesFrom(first).size(), 1);
        QCOMPARE(lastSeenByBob().type(), QXmppPresence::Available);

        alice.setClientPresence(presenceWithShow(QXmppPresence::Away));
        TRY_COMPARE(bob.inbox.presencesFrom(first).size(), 2);
        QCOMPARE(lastSeenByBob().type(), QXmppPresence::Available);
        QCOMPARE(lastSeenByBob().availableStatusType(), QXmppPresence::Away);
        alice.setClientPresence(presenceWithShow(QXmppPresence::Online));
        TRY_COMPARE(bob.inbox.presencesFrom(first).size(), 3);
        QCOMPARE(lastSeenByBob().availableStatusType(), QXmppPresence::Online);

        alice.disconnectFromServer();
        TRY_COMPARE(bob.inbox.presencesFrom(first).size(), 4);
        QCOMPARE(lastSeenByBob().type(), QXmppPresence::Unavailable);
        // No presence ever carried a resource.
        for (const QXmppPresence &presence : bob.inbox.presences)
            QVERIFY2(!presence.from().contains(QLatin1Char('/')), qPrintable(presence.from()));
    }

    void initialUnavailablePresenceIsNotAnnounced() {
        // The app logs in with an unavailable presence and turns available only
        // once the roster is in; its contacts must first see it available.
        Session bob, alice;
        QVERIFY(bob.logIn(port(), second) &&
                alice.logIn(port(), first, QXmppPresence(QXmppPresence::Unavailable)));
        // A round trip through the server: afterwards the initial presence has
        // been handled.
        alice.sendPacket(chatMessage(bareJid(second), QStringLiteral("ping")));
        TRY_COMPARE(bob.inbox.bodiesFrom(first), QStringList{"ping"});
        QVERIFY(bob.inbox.presencesFrom(first).isEmpty());

        alice.setClientPresence(QXmppPresence(QXmppPresence::Available));
        TRY_COMPARE(bob.inbox.presencesFrom(first).size(), 1);
        QCOMPARE(bob.inbox.presencesFrom(first).first().type(), QXmppPresence::Available);
    }

    void loginReceivesPresenceOfOnlineContacts() {
        server().setVirtualPresence(ada, QStringLiteral("away"));
        server().setVirtualPresence(bea, QString());
        Session bob, alice;
        QVERIFY(bob.logIn(port(), second) && alice.logIn(port(), first));
        TRY_COMPARE(alice.inbox.presencesFrom(ada).size(), 1);
        QCOMPARE(alice.inbox.presencesFrom(ada).first().availableStatusType(), QXmppPresence::Away);
        TRY_COMPARE(alice.inbox.presencesFrom(bea).size(), 1);
        QCOMPARE(alice.inbox.presencesFrom(bea).first().availableStatusType(),
                 QXmppPresence::Online);
        TRY_COMPARE(alice.inbox.presencesFrom(second).size(), 1);
        QCOMPARE(alice.inbox.presencesFrom(second).first().type(), QXmppPresence::Available);
        QVERIFY(alice.inbox.presencesFrom(nameless).isEmpty());
        // Presence stays within rosters: Bob's holds Alice and Ada, not Bea.
        QCOMPARE(bob.inbox.presencesFrom(ada).size(), 1);
        QVERIFY(bob.inbox.presencesFrom(bea).isEmpty());
    }

    void chatMessagesBothWays() {
        QSignalSpy routed(&server(), &ChatServer::messageRouted);
        Session alice, bob;
        QVERIFY(alice.logIn(port(), first) && bob.logIn(port(), second));

        alice.sendPacket(chatMessage(bareJid(second), QStringLiteral("Hello Tamsin")));
        TRY_COMPARE(bob.inbox.bodiesFrom(first), QStringList{"Hello Tamsin"});
        const QXmppMessage received = bob.inbox.messagesFrom(first).first();
        QCOMPARE(received.type(), QXmppMessage::Chat);
        QCOMPARE(received.to(), bob.configuration().jid());
        QVERIFY(!received.stamp().isValid()); // delivered at once: no delay

        // Addressed to the full address this time, with characters that need
        // escaping.
        bob.sendPacket(
            chatMessage(alice.configuration().jid(), QStringLiteral("Hi <Orla> & \"all\"")));
        TRY_COMPARE(alice.inbox.bodiesFrom(second), QStringList{"Hi <Orla> & \"all\""});

        QCOMPARE(routed.count(), 2);
        QCOMPARE(routed.at(0), (QVariantList{first, second, QStringLiteral("Hello Tamsin")}));
        QCOMPARE(server().messagesTo(second),
                 (ChatMessages{{first, QStringLiteral("Hello Tamsin"), {}}}));
        QCOMPARE(server().messagesTo(first),
                 (ChatMessages{{second, QStringLiteral("Hi <Orla> & \"all\""), {}}}));

        // A typing notification has no body; it is not a message anyone
        // posted, nor kept for later.
        QXmppMessage typing = chatMessage(bareJid(second), QString());
        typing.setState(QXmppMessage::Composing);
        alice.sendPacket(typing);
        TRY_COMPARE(bob.inbox.messagesFrom(first).size(), 2);
        QVERIFY(bob.inbox.messagesFrom(first).last().body().isEmpty());
        QCOMPARE(bob.inbox.messagesFrom(first).last().state(), QXmppMessage::Composing);
        QCOMPARE(server().messagesTo(second).size(), 1);
        QCOMPARE(routed.count(), 2);
    }

    void messageReachesEveryResource() {
        Session alice, phone, desk;
        QVERIFY(alice.logIn(port(), first));
        QVERIFY(phone.logIn(port(), second, {}, QStringLiteral("phone")));
        QVERIFY(desk.logIn(port(), second, {}, QStringLiteral("desk")));

        alice.sendPacket(chatMessage(bareJid(second), QStringLiteral("to both")));
        TRY_COMPARE(phone.inbox.bodiesFrom(first), QStringList{"to both"});
        TRY_COMPARE(desk.inbox.bodiesFrom(first), QStringList{"to both"});
    }

    void repeatedIdDeliveredOnce() {
        // A client that sends again after a reconnection repeats the message id.
        Session alice, bob;
        QVERIFY(alice.logIn(port(), first) && bob.logIn(port(), second));
        alice.sendPacket(
            chatMessage(bareJid(second), QStringLiteral("once"), QStringLiteral("m1")));
        alice.sendPacket(
            chatMessage(bareJid(second), QStringLiteral("once"), QStringLiteral("m1")));
        // Another sender may use the same id.
        server().sendMessageAs(ada, second, QStringLiteral("other"));
        bob.sendPacket(chatMessage(bareJid(first), QStringLiteral("reply"), QStringLiteral("m1")));
        alice.sendPacket(
            chatMessage(bareJid(second), QStringLiteral("next"), QStringLiteral("m2")));
        TRY_COMPARE(bob.inbox.bodiesFrom(first), (QStringList{"once", "next"}));
        QCOMPARE(server().messagesTo(second).size(), 3);
        QCOMPARE(server().messagesTo(first).size(), 1);
    }

    void offlineMessageDeliveredOnceWithStamp() {
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        Session alice;
        QVERIFY(alice.logIn(port(), first));
        alice.sendPacket(chatMessage(bareJid(second), QStringLiteral("while you were out"),
                                     QStringLiteral("w1")));
        server().sendMessageAs(ada, second, QStringLiteral("from Ada"));
        server().sendTypingAs(ada, second, true); // for those online only
        TRY_COMPARE(server().messagesTo(second).size(), 2);

        for (int session = 0; session < 2; ++session) {
            Session bob;
            QVERIFY(bob.logIn(port(), second));
            // A live message after the waiting ones: once it is in, so are they.
            alice.sendPacket(chatMessage(bareJid(second), QStringLiteral("live")));
            TRY_VERIFY(bob.inbox.bodiesFrom(first).contains("live"));
            if (session == 1) { // delivered once only
                QCOMPARE(bob.inbox.bodiesFrom(first), QStringList{"live"});
                QVERIFY(bob.inbox.bodiesFrom(ada).isEmpty());
                break;
            }
            QCOMPARE(bob.inbox.bodiesFrom(first), (QStringList{"while you were out", "live"}));
            QCOMPARE(bob.inbox.messagesFrom(ada).size(), 1);
            QCOMPARE(bob.inbox.bodiesFrom(ada), QStringList{"from Ada"});
            const QXmppMessage waited = bob.inbox.messagesFrom(first).first();
            QCOMPARE(waited.id(), QStringLiteral("w1"));
            QCOMPARE(waited.type(), QXmppMessage::Chat);
            QVERIFY(waited.stamp() >= before && waited.stamp() <= QDateTime::currentDateTimeUtc());
            QVERIFY(!bob.inbox.messagesFrom(first).last().stamp().isValid());
        }
    }

    void offlineMessagesSurviveRestart() {
        QTemporaryDir state;
        ChatOptions options;
        options.stateDir = state.filePath(QStringLiteral("chat"));
        QVERIFY(restart(options));
        server().sendMessageAs(first, ada, QStringLiteral("kept on disk"));
        QVERIFY(restart(options));
        QCOMPARE(server().messagesTo(ada),
                 (ChatMessages{{first, QStringLiteral("kept on disk"), {}}}));

        RawPeer adaPeer;
        QVERIFY(adaPeer.logIn(port(), ada));
        QVERIFY(adaPeer.received().contains("kept on disk")); // sent right after the bind
        QVERIFY(adaPeer.received().contains("<delay xmlns=\"urn:xmpp:delay\" stamp=\""));

        // Delivered is delivered, also after the next restart.
        adaPeer.abort();
        QVERIFY(restart(options));
        RawPeer again;
        QVERIFY(again.logIn(port(), ada));
        server().sendMessageAs(first, ada, QStringLiteral("live"));
        QVERIFY(again.waitFor("live"));
        QVERIFY(!again.received().contains("kept on disk"));
        QCOMPARE(server().messagesTo(ada).size(), 2);

        // Without a state folder, a new server knows nothing.
        QVERIFY(restart());
        QVERIFY(server().messagesTo(ada).isEmpty());
    }

    void messageToNoOneIsAnswered_data() {
        QTest::addColumn<QString>("to");
        QTest::newRow("foreign address") << QStringLiteral("someone@elsewhere.example");
        QTest::newRow("unknown id") << bareJid(QStringLiteral("999999"));
    }

    void messageToNoOneIsAnswered() {
        QFETCH(QString, to);
        Session alice;
        QVERIFY(alice.logIn(port(), first));
        alice.sendPacket(chatMessage(to, QStringLiteral("hi"), QStringLiteral("q1")));
        TRY_COMPARE(alice.inbox.messages.size(), 1);
        const QXmppMessage answer = alice.inbox.messages.first();
        QCOMPARE(answer.type(), QXmppMessage::Error);
        QCOMPARE(answer.error().condition(), QXmppStanza::Error::ItemNotFound);
        QCOMPARE(answer.id(), QStringLiteral("q1"));
        QCOMPARE(answer.from(), to);
        QVERIFY(alice.isConnected());
        QVERIFY(server().messagesTo(QStringLiteral("999999")).isEmpty());
    }

    void recordsAreBounded() {
        ChatOptions options;
        options.maxOfflineMessages = 5;
        QVERIFY(restart(options));
        for (int i = 0; i < 1005; ++i)
            server().sendMessageAs(first, ada, QString::number(i));
        const ChatMessages kept = server().messagesTo(ada);
        QCOMPARE(kept.size(), 1000);
        QCOMPARE(kept.first().body, QStringLiteral("5"));
        QCOMPARE(kept.last().body, QStringLiteral("1004"));
        server().sendMessageAs(first, QStringLiteral("919999"), QStringLiteral("x"));
        QVERIFY(server().messagesTo(QStringLiteral("919999")).isEmpty());

        // Of those waiting for Ada, the newest are left.
        Session adaClient;
        QVERIFY(connectClient(
            adaClient, plainConfiguration(port(), ada, MemoryChatDirectory::passwordOf(ada))));
        server().sendMessageAs(first, ada, QStringLiteral("live"));
        TRY_COMPARE(adaClient.inbox.bodiesFrom(first),
                    (QStringList{"1000", "1001", "1002", "1003", "1004", "live"}));
    }

    void virtualContactPresenceAndMessages() {
        Session alice;
        QVERIFY(alice.logIn(port(), first));

        server().setVirtualPresence(ada, QString());
        TRY_COMPARE(alice.inbox.presencesFrom(ada).size(), 1);
        QCOMPARE(alice.inbox.presencesFrom(ada).last().type(), QXmppPresence::Available);
        QVERIFY(server().onlineUsers().contains(ada));

        server().setVirtualPresence(ada, QStringLiteral("away"));
        TRY_COMPARE(alice.inbox.presencesFrom(ada).size(), 2);
        QCOMPARE(alice.inbox.presencesFrom(ada).last().availableStatusType(), QXmppPresence::Away);

        // Setting the same presence again tells no one anything new.
        server().setVirtualPresence(ada, QStringLiteral("away"));

        server().sendTypingAs(ada, first, true);
        server().sendMessageAs(ada, first, QStringLiteral("Hello from Ada"));
        server().sendTypingAs(ada, first, false);
        TRY_COMPARE(alice.inbox.messagesFrom(ada).size(), 3);
        const QList<QXmppMessage> messages = alice.inbox.messagesFrom(ada);
        QCOMPARE(messages.at(0).state(), QXmppMessage::Composing);
        QVERIFY(messages.at(0).body().isEmpty());
        QCOMPARE(messages.at(1).body(), QStringLiteral("Hello from Ada"));
        QCOMPARE(messages.at(1).type(), QXmppMessage::Chat);
        QCOMPARE(messages.at(2).state(), QXmppMessage::Paused);

        server().setVirtualPresence(ada, QStringLiteral("unavailable"));
        TRY_COMPARE(alice.inbox.presencesFrom(ada).size(), 3);
        QCOMPARE(alice.inbox.presencesFrom(ada).last().type(), QXmppPresence::Unavailable);
        QVERIFY(!server().onlineUsers().contains(ada));
    }

    void autoReplyTypesThenAnswers() {
        server().setVirtualPresence(bea, QString());
        server().setAutoReply(bea, 100, QStringLiteral("Back in a minute"));
        Session alice;
        QVERIFY(alice.logIn(port(), first));

        alice.sendPacket(chatMessage(bareJid(bea), QStringLiteral("Are you there?")));
        TRY_COMPARE(alice.inbox.bodiesFrom(bea), QStringList{"Back in a minute"});
        const QList<QXmppMessage> messages = alice.inbox.messagesFrom(bea);
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages.first().body().isEmpty());
        QCOMPARE(messages.first().state(), QXmppMessage::Composing);
        QCOMPARE(server().messagesTo(bea),
                 (ChatMessages{{first, QStringLiteral("Are you there?"), {}}}));

        // Every message gets its answer.
        alice.sendPacket(chatMessage(bareJid(bea), QStringLiteral("Still there?")));
        TRY_COMPARE(alice.inbox.bodiesFrom(bea).size(), 2);
    }

    void autoReplyCanBeTurnedOff() {
        server().setAutoReply(bea, 0, QStringLiteral("answer"));
        server().setAutoReply(bea, 0, QString());
        Session alice;
        QVERIFY(alice.logIn(port(), first));
        alice.sendPacket(chatMessage(bareJid(bea), QStringLiteral("hello")));
        TRY_COMPARE(server().messagesTo(bea).size(), 1);
        // Had the answer been on, its typing notification would have left before
        // this marker.
        server().sendMessageAs(bea, first, QStringLiteral("marker"));
        TRY_COMPARE(alice.inbox.messagesFrom(bea).size(), 1);
        QCOMPARE(alice.inbox.messagesFrom(bea).first().body(), QStringLiteral("marker"));
    }

    void controlInterfaceFromAnotherThread() {
        Session alice;
        QVERIFY(alice.logIn(port(), first));
        alice.sendPacket(chatMessage(bareJid(ada), QStringLiteral("for the record")));
        TRY_COMPARE(server().messagesTo(ada).size(), 1);

        // The HTTP side calls in from its worker threads through the meta-object
        // system, by name.
        ChatMessages recorded;
        QStringList online;
        bool invoked = false;
        std::thread worker([&] {
            ChatServer *target = &server();
            invoked = QMetaObject::invokeMethod(target, "messagesTo", Qt::BlockingQueuedConnection,
                                                Q_RETURN_ARG(ChatMessages, recorded),
                                                Q_ARG(QString, ada)) &&
                      QMetaObject::invokeMethod(target, "onlineUsers", Qt::BlockingQueuedConnection,
                                                Q_RETURN_ARG(QStringList, online)) &&
                      QMetaObject::invokeMethod(target, "sendMessageAs", Qt::QueuedConnection,
                                                Q_ARG(QString, ada), Q_ARG(QString, first),
                                                Q_ARG(QString, QStringLiteral("from a thread")));
        });
        TRY_COMPARE(alice.inbox.bodiesFrom(ada), QStringList{"from a thread"});
        worker.join();
        QVERIFY(invoked);
        QCOMPARE(recorded, (ChatMessages{{first, QStringLiteral("for the record"), {}}}));
        QCOMPARE(online, QStringList{first});
    }
};

QTEST_GUILESS_MAIN(ChatRoutingTest)
#include "tst_chatrouting.moc"
