// Logging in to the sandbox chat: QXmpp's own client through
// X-FACEBOOK-PLATFORM and PLAIN, the bound address and the roster.

#include "chattestsupport.h"

#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>
#include <QXmppRosterManager.h>

using namespace ChatTest;

class ChatLoginTest : public ServerTest {
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<QXmppClient::Error>(); }

    void login_data() {
        QTest::addColumn<bool>("plain");
        QTest::addColumn<QString>("user");   // or token
        QTest::addColumn<QString>("secret"); // password or application id
        QTest::addColumn<bool>("accepted");
        const QString appId = QLatin1String(MemoryChatDirectory::appId);
        QTest::newRow("PLAIN, id with minus")
            << true << QLatin1Char('-') + ada << MemoryChatDirectory::passwordOf(ada) << true;
        QTest::newRow("PLAIN, bare id")
            << true << ada << MemoryChatDirectory::passwordOf(ada) << true;
        QTest::newRow("unknown token") << false << QStringLiteral("token-999999") << appId << false;
        QTest::newRow("empty token") << false << QString() << appId << false;
        QTest::newRow("other application") << false << MemoryChatDirectory::tokenOf(first)
                                           << QStringLiteral("100000000000099") << false;
        QTest::newRow("wrong password") << true << ada << QStringLiteral("guess") << false;
        QTest::newRow("another person's password")
            << true << ada << MemoryChatDirectory::passwordOf(bea) << false;
        QTest::newRow("unknown person")
            << true << QStringLiteral("-999")
            << MemoryChatDirectory::passwordOf(QStringLiteral("999")) << false;
        QTest::newRow("not a numeric id")
            << true << QStringLiteral("ada") << QStringLiteral("pw-ada") << false;
    }

    void login() {
        QFETCH(bool, plain);
        QFETCH(QString, user);
        QFETCH(QString, secret);
        QFETCH(bool, accepted);
        QXmppClient client;
        QSignalSpy errors(&client, &QXmppClient::error);
        QCOMPARE(connectClient(client, plain ? plainConfiguration(port(), user, secret)
                                             : facebookConfiguration(port(), user, secret)),
                 accepted);
        if (accepted) {
            QCOMPARE(client.configuration().jidBare(), bareJid(ada));
            return;
        }
        QVERIFY(!errors.isEmpty());
        QCOMPARE(client.xmppStreamError(), QXmppStanza::Error::NotAuthorized);
        QVERIFY(server().onlineUsers().isEmpty());
    }

    void facebookChallengeMustBeEchoed() {
        // The response must carry the method and nonce of this challenge; a
        // replayed or invented nonce is refused even with a good token.
        RawPeer peer;
        QVERIFY(peer.open(port()));
        QVERIFY(peer.received().contains("X-FACEBOOK-PLATFORM"));
        // Asks for a challenge: its method and nonce.
        const auto challenge = [&peer] {
            const QByteArray data = peer.ask(
                "<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='X-FACEBOOK-PLATFORM'/>",
                "</challenge>");
            const int start = data.indexOf('>', data.indexOf("<challenge")) + 1;
            const QUrlQuery query(QString::fromUtf8(QByteArray::fromBase64(
                data.mid(start, data.indexOf("</challenge>", start) - start))));
            return qMakePair(query.queryItemValue("method"), query.queryItemValue("nonce"));
        };
        // Answers with this method and nonce; true once the server says `expected`.
        const auto answered = [&peer](const QPair<QString, QString> &echo,
                                      const QByteArray &expected) {
            QUrlQuery query;
            for (const auto &[key, value] :
                 {qMakePair(QString("access_token"), MemoryChatDirectory::tokenOf(first)),
                  qMakePair(QString("api_key"), QString(MemoryChatDirectory::appId)),
                  qMakePair(QString("call_id"), QString()),
                  qMakePair(QString("method"), echo.first),
                  qMakePair(QString("nonce"), echo.second),
                  qMakePair(QString("v"), QString("1.0"))})
                query.addQueryItem(key, value);
            return !peer.ask("<response xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>" +
                                 query.query().toUtf8().toBase64() + "</response>",
                             expected)
                        .isEmpty();
        };

        const auto one = challenge();
        QVERIFY(!one.first.isEmpty() && !one.second.isEmpty());
        QVERIFY(answered({one.first, "0123456789abcdef"}, "<not-authorized/>"));
        // A new exchange gets a new nonce; the old one no longer counts.
        const auto two = challenge();
        QVERIFY(two.second != one.second);
        QVERIFY(answered({two.first, one.second}, "<not-authorized/>"));
        QVERIFY(answered(challenge(), "<success"));
    }

    void plainWithoutInitialResponse() {
        // A client may leave out the initial response; it then answers an empty
        // challenge.
        RawPeer peer;
        QVERIFY(peer.open(port()));
        QVERIFY(!peer.ask("<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='PLAIN'/>",
                          "</challenge>")
                     .isEmpty());
        const QByteArray message = QByteArray(1, '\0') + ada.toUtf8() + '\0' +
                                   MemoryChatDirectory::passwordOf(ada).toUtf8();
        QVERIFY(!peer.ask("<response xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>" +
                              message.toBase64() + "</response>",
                          "<success")
                     .isEmpty());
    }

    void unknownMechanismFails() {
        RawPeer peer;
        QVERIFY(peer.open(port()));
        QVERIFY(peer.ask("<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='DIGEST-MD5'/>",
                         "</failure>")
                    .contains("<invalid-mechanism/>"));
        // The stream stays open for another try.
        QVERIFY(!peer.ask(RawPeer::plainAuth(ada, MemoryChatDirectory::passwordOf(ada)), "<success")
                     .isEmpty());
    }

    void facebookLoginBindsTheAssignedForm() {
        Session client;
        QVERIFY(client.logIn(port(), first, {}, QStringLiteral("phone")));
        QCOMPARE(client.configuration().jid(), QStringLiteral("-100001@chat.sandbox.test/phone"));
        TRY_VERIFY(server().onlineUsers().contains(first));
    }

    void generatedResourceWhenNoneRequested() {
        RawPeer peer;
        QVERIFY(peer.connectTo(port()));
        QVERIFY(peer.authenticate(ada, MemoryChatDirectory::passwordOf(ada)));
        QVERIFY(peer.sinceMark().contains("urn:ietf:params:xml:ns:xmpp-bind"));
        const QByteArray answer = peer.ask(
            "<iq type='set' id='b'><bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'/></iq>", "</iq>");
        const int start = answer.indexOf("<jid>") + 5;
        const QString jid = QString::fromUtf8(answer.mid(start, answer.indexOf("</jid>") - start));
        QVERIFY2(jid.startsWith(QStringLiteral("-200001@chat.sandbox.test/")), qPrintable(jid));
        QVERIFY(jid.size() > QStringLiteral("-200001@chat.sandbox.test/").size());
    }

    void rosterListsContactsWithNames() {
        Session client;
        QSignalSpy rosterReceived(client.findExtension<QXmppRosterManager>(),
                                  &QXmppRosterManager::rosterReceived);
        QVERIFY(client.logIn(port(), first));
        TRY_COMPARE(rosterReceived.count(), 1);

        QXmppRosterManager *roster = client.findExtension<QXmppRosterManager>();
        QStringList jids = roster->getRosterBareJids();
        jids.sort();
        QCOMPARE(jids,
                 (QStringList{bareJid(second), bareJid(ada), bareJid(nameless), bareJid(bea)}));
        QCOMPARE(roster->getRosterEntry(bareJid(bea)).name(), QStringLiteral("béa Lundqvist"));
        QCOMPARE(roster->getRosterEntry(bareJid(nameless)).name(), QString());
        QCOMPARE(roster->getRosterEntry(bareJid(ada)).subscriptionType(),
                 QXmppRosterIq::Item::Both);
    }

    void rosterOmitsEmptyNameAttribute() {
        RawPeer peer;
        QVERIFY(peer.logIn(port(), first));
        const QByteArray answer =
            peer.ask("<iq type='get' id='r1'><query xmlns='jabber:iq:roster'/></iq>", "</iq>");
        const int named = answer.indexOf("jid=\"-200001@chat.sandbox.test\"");
        const int nameless = answer.indexOf("jid=\"-200002@chat.sandbox.test\"");
        QVERIFY(named > 0);
        QVERIFY(nameless > 0);
        const auto itemAt = [&answer](int position) {
            const int start = answer.lastIndexOf("<item", position);
            return answer.mid(start, answer.indexOf('>', position) - start);
        };
        QVERIFY2(itemAt(named).contains("name=\"Ada Quillfeather\""), itemAt(named).constData());
        QVERIFY2(!itemAt(nameless).contains("name="), itemAt(nameless).constData());
        QVERIFY(itemAt(nameless).contains("subscription=\"both\""));
    }

    void newConnectionReplacesSameResource() {
        RawPeer older, newer;
        QVERIFY(older.logIn(port(), ada, QStringLiteral("desk")));
        QVERIFY(newer.logIn(port(), ada, QStringLiteral("desk")));
        QVERIFY(older.waitFor("<conflict"));
        QVERIFY(older.waitForDisconnected());
        QVERIFY(newer.isConnected());
        QCOMPARE(server().onlineUsers(), QStringList{ada});
    }

    void listenRefusesNonLoopback() {
        ChatServer other(&m_server->directory, QLatin1String(MemoryChatDirectory::domain));
        QVERIFY(!other.listen(QHostAddress::AnyIPv4, 0));
        QVERIFY(!other.errorString().isEmpty());
        // A taken port is reported, not ignored.
        QVERIFY(!other.listen(QHostAddress::LocalHost, port()));
        QVERIFY(!other.errorString().isEmpty());
    }
};

QTEST_GUILESS_MAIN(ChatLoginTest)
#include "tst_chatlogin.moc"
