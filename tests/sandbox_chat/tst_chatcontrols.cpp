// The chat server's controls for tests and demos: stopping and starting with
// its state kept, dropping a person's connections, generated contacts, new
// names and contacts sending from full addresses.

#include "chattestsupport.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QXmppRosterManager.h>

using namespace ChatTest;

namespace {
QString fullJid(const QString &userId, const QString &resource) {
    return bareJid(userId) + QLatin1Char('/') + resource;
}
QStringList sendersOf(const QList<QXmppPresence> &presences) {
    QStringList from;
    for (const QXmppPresence &presence : presences)
        from << presence.from() + (presence.type() == QXmppPresence::Unavailable ? " off" : "");
    return from;
}
} // namespace

class ChatControlsTest : public ServerTest {
    Q_OBJECT

private slots:
    void stopAndStartKeepState() {
        server().setVirtualPresence(ada, QStringLiteral("away"));
        RawPeer alice;
        QVERIFY(alice.logIn(port(), first));
        const quint16 samePort = port();

        server().close();
        QVERIFY(alice.waitFor("<system-shutdown"));
        QVERIFY(alice.waitFor("</stream:stream>"));
        QVERIFY(alice.waitForDisconnected());
        QTcpSocket refused;
        refused.connectToHost(QHostAddress::LocalHost, samePort);
        QVERIFY(!refused.waitForConnected(5000));

        // While stopped, messages wait as for anyone without a session.
        server().sendMessageAs(ada, first, QStringLiteral("kept"), QStringLiteral("k1"));
        QVERIFY(server().resume());
        QCOMPARE(port(), samePort);
        Session again;
        QVERIFY(again.logIn(port(), first));
        TRY_COMPARE(again.inbox.bodiesFrom(ada), QStringList{"kept"});
        QCOMPARE(again.inbox.messagesFrom(ada).first().id(), QStringLiteral("k1"));
        TRY_COMPARE(again.inbox.presencesFrom(ada).size(), 1);
        QCOMPARE(again.inbox.presencesFrom(ada).first().availableStatusType(), QXmppPresence::Away);
        QCOMPARE(server().messagesTo(first), (ChatMessages{{ada, "kept", "k1"}}));
    }

    void dropEndsConnectionsWithoutStreamEnd() {
        RawPeer alice, phone;
        Session bob;
        QVERIFY(alice.logIn(port(), first, QStringLiteral("desk")));
        QVERIFY(phone.logIn(port(), first, QStringLiteral("phone")));
        alice.send("<presence/>");
        QVERIFY(bob.logIn(port(), second));
        TRY_COMPARE(bob.inbox.presencesFrom(first).size(), 1);

        QCOMPARE(server().dropUser(first), 2);
        QVERIFY(alice.waitForDisconnected() && phone.waitForDisconnected());
        QVERIFY(!alice.sinceMark().contains("stream"));
        QVERIFY(!phone.sinceMark().contains("stream"));
        TRY_COMPARE(bob.inbox.presencesFrom(first).size(), 2);
        QCOMPARE(bob.inbox.presencesFrom(first).last().type(), QXmppPresence::Unavailable);
        QVERIFY(bob.isConnected());
        QCOMPARE(server().dropUser(first), 0);
    }

    void generatedContactsAndNewNames() {
        Session alice;
        QVERIFY(alice.logIn(port(), first));
        auto *roster = alice.findExtension<QXmppRosterManager>();
        QSignalSpy added(roster, &QXmppRosterManager::itemAdded);

        const QStringList ids = server().addContacts(first, 5);
        QCOMPARE(ids.size(), 5);
        QCOMPARE(QSet<QString>(ids.cbegin(), ids.cend()).size(), 5);
        for (const QString &id : ids)
            QVERIFY(server().isPerson(id) && server().onlineUsers().contains(id));
        // Pushed to the connected client: roster items, then presences.
        TRY_COMPARE(added.size(), 5);
        TRY_COMPARE(alice.inbox.presencesFrom(ids.last()).size(), 1);
        QCOMPARE(alice.inbox.presencesFrom(ids[3]).first().availableStatusType(),
                 QXmppPresence::Away);
        QCOMPARE(alice.inbox.presencesFrom(ids[0]).first().availableStatusType(),
                 QXmppPresence::Online);
        const QString name = roster->getRosterEntry(bareJid(ids[0])).name();
        QVERIFY2(name.contains(QRegularExpression(QStringLiteral("^\\w+ \\w+ \\d+$"))),
                 qPrintable(name));
        // More contacts get other ids; the second person's roster is untouched.
        QVERIFY(!ids.contains(server().addContacts(first, 1).first()));

        QSignalSpy changed(roster, &QXmppRosterManager::itemChanged);
        server().rename(ada, QStringLiteral("Ada \"Renamed\" <b>"));
        TRY_COMPARE(changed.size(), 1);
        QCOMPARE(roster->getRosterEntry(bareJid(ada)).name(),
                 QStringLiteral("Ada \"Renamed\" <b>"));

        // A new session's roster has both, and generated people can be written to.
        Session later, bob;
        auto *laterRoster = later.findExtension<QXmppRosterManager>();
        QVERIFY(later.logIn(port(), first, {}, QStringLiteral("later")) &&
                bob.logIn(port(), second));
        TRY_COMPARE(laterRoster->getRosterBareJids().size(),
                    directoryRosterSize(first) + ids.size() + 1);
        QCOMPARE(laterRoster->getRosterEntry(bareJid(ids[1])).name(),
                 roster->getRosterEntry(bareJid(ids[1])).name());
        QCOMPARE(laterRoster->getRosterEntry(bareJid(ada)).name(),
                 QStringLiteral("Ada \"Renamed\" <b>"));
        later.sendPacket(chatMessage(bareJid(ids[2]), QStringLiteral("hi"), QStringLiteral("g1")));
        TRY_COMPARE(server().messagesTo(ids[2]), (ChatMessages{{first, "hi", "g1"}}));
    }

    void contactsSendFromFullJids() {
        server().setVirtualPresence(ada, QString());
        Session alice, bob;
        QVERIFY(alice.logIn(port(), first) &&
                bob.logIn(port(), second, {}, QStringLiteral("desk")));
        TRY_COMPARE(sendersOf(alice.inbox.presencesFrom(second)), QStringList{bareJid(second)});

        // Switched on mid-session: the full addresses come on, the bare go.
        server().setFullJids(true);
        const QStringList bobs{fullJid(second, "desk"), bareJid(second) + " off"};
        const auto presencesOf = [&](const QString &userId) {
            QList<QXmppPresence> matching;
            for (const QXmppPresence &p : alice.inbox.presences)
                if (p.from().startsWith(bareJid(userId)))
                    matching << p;
            return sendersOf(matching);
        };
        TRY_COMPARE(presencesOf(second).mid(1), bobs);
        TRY_COMPARE(presencesOf(ada).mid(1),
                    (QStringList{fullJid(ada, "sandbox"), bareJid(ada) + " off"}));

        bob.sendPacket(chatMessage(bareJid(first), QStringLiteral("from the desk")));
        TRY_COMPARE(alice.inbox.messages.size(), 1);
        server().sendMessageAs(ada, first, QStringLiteral("from Ada"));
        TRY_COMPARE(alice.inbox.messages.size(), 2);
        QCOMPARE(alice.inbox.messages[0].from(), fullJid(second, "desk"));
        QCOMPARE(alice.inbox.messages[1].from(), fullJid(ada, "sandbox"));

        // Kept for later, it still comes from the connection that sent it.
        alice.disconnectFromServer();
        bob.sendPacket(chatMessage(bareJid(first), QStringLiteral("while away")));
        TRY_COMPARE(server().messagesTo(first).size(), 3);
        Session back;
        QVERIFY(back.logIn(port(), first));
        TRY_COMPARE(back.inbox.messages.size(), 1);
        QCOMPARE(back.inbox.messages[0].from(), fullJid(second, "desk"));
        // Each connection is announced on its own: one leaving says so.
        TRY_VERIFY(sendersOf(back.inbox.presences).contains(fullJid(second, "desk")));
        bob.disconnectFromServer();
        TRY_VERIFY(sendersOf(back.inbox.presences).contains(fullJid(second, "desk") + " off"));
    }

private:
    int directoryRosterSize(const QString &userId) {
        return m_server->directory.rosterOf(userId).size();
    }
};

QTEST_GUILESS_MAIN(ChatControlsTest)
#include "tst_chatcontrols.moc"
