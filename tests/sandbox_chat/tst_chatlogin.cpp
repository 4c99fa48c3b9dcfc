// Logging in to the sandbox chat: QXmpp's own client through
// X-FACEBOOK-PLATFORM and PLAIN, the bound address and the roster.

#include "chattestsupport.h"

#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>
#include <QXmppRosterManager.h>

using namespace ChatTest;

class ChatLoginTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void facebookLoginWithGoodToken();
    void facebookLoginRefused_data();
    void facebookLoginRefused();
    void facebookChallengeMustBeEchoed();
    void plainLogin_data();
    void plainLogin();
    void plainLoginRefused_data();
    void plainLoginRefused();
    void plainWithoutInitialResponse();
    void unknownMechanismFails();
    void boundJidHasAssignedForm();
    void generatedResourceWhenNoneRequested();
    void rosterListsContactsWithNames();
    void rosterOmitsEmptyNameAttribute();
    void newConnectionReplacesSameResource();
    void listenRefusesNonLoopback();

private:
    std::unique_ptr<Server> m_server;
    quint16 port() const { return m_server->server.port(); }
};

void ChatLoginTest::initTestCase() {
    qRegisterMetaType<QXmppClient::Error>();
}

void ChatLoginTest::init() {
    m_server = std::make_unique<Server>();
    QVERIFY2(m_server->start(), qPrintable(m_server->server.errorString()));
    QVERIFY(port() != 0);
}

void ChatLoginTest::cleanup() {
    m_server.reset();
}

void ChatLoginTest::facebookLoginWithGoodToken() {
    QXmppClient client;
    QVERIFY(connectClient(
        client, facebookConfiguration(port(), MemoryChatDirectory::tokenOf(
                                                  QLatin1String(MemoryChatDirectory::firstUser)))));
    QCOMPARE(client.configuration().jidBare(),
             bareJid(QLatin1String(MemoryChatDirectory::firstUser)));
    QTRY_VERIFY_WITH_TIMEOUT(
        m_server->server.onlineUsers().contains(QLatin1String(MemoryChatDirectory::firstUser)),
        10000);
}

void ChatLoginTest::facebookLoginRefused_data() {
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("appId");
    const QString goodToken =
        MemoryChatDirectory::tokenOf(QLatin1String(MemoryChatDirectory::firstUser));
    const QString goodAppId = QLatin1String(MemoryChatDirectory::appId);
    QTest::newRow("unknown token") << QStringLiteral("token-999999") << goodAppId;
    QTest::newRow("empty token") << QString() << goodAppId;
    QTest::newRow("other application") << goodToken << QStringLiteral("100000000000099");
}

void ChatLoginTest::facebookLoginRefused() {
    QFETCH(QString, token);
    QFETCH(QString, appId);
    QXmppClient client;
    QSignalSpy errors(&client, &QXmppClient::error);
    QVERIFY(!connectClient(client, facebookConfiguration(port(), token, appId)));
    QVERIFY(!client.isConnected());
    QVERIFY(!errors.isEmpty());
    QCOMPARE(client.xmppStreamError(), QXmppStanza::Error::NotAuthorized);
    QVERIFY(m_server->server.onlineUsers().isEmpty());
}

void ChatLoginTest::facebookChallengeMustBeEchoed() {
    // The response must carry the method and nonce of this challenge; a
    // replayed or invented nonce is refused even with a good token.
    RawPeer peer;
    QVERIFY(peer.connectTo(port()));
    peer.send(RawPeer::header());
    QVERIFY(peer.waitFor("</stream:features>"));
    QVERIFY(peer.received().contains("X-FACEBOOK-PLATFORM"));

    const auto challengeQuery = [&peer]() {
        const QByteArray data = peer.sinceMark();
        const int start = data.indexOf("<challenge");
        const int textStart = data.indexOf('>', start) + 1;
        const int end = data.indexOf("</challenge>", textStart);
        return QUrlQuery(
            QString::fromUtf8(QByteArray::fromBase64(data.mid(textStart, end - textStart))));
    };
    const auto response = [](const QString &method, const QString &nonce, const QString &token) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("access_token"), token);
        query.addQueryItem(QStringLiteral("api_key"), QLatin1String(MemoryChatDirectory::appId));
        query.addQueryItem(QStringLiteral("call_id"), QString());
        query.addQueryItem(QStringLiteral("method"), method);
        query.addQueryItem(QStringLiteral("nonce"), nonce);
        query.addQueryItem(QStringLiteral("v"), QStringLiteral("1.0"));
        return "<response xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>" +
               query.query().toUtf8().toBase64() + "</response>";
    };
    const QString token =
        MemoryChatDirectory::tokenOf(QLatin1String(MemoryChatDirectory::firstUser));

    peer.mark();
    peer.send("<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='X-FACEBOOK-PLATFORM'/>");
    QVERIFY(peer.waitFor("</challenge>"));
    QUrlQuery challenge = challengeQuery();
    QVERIFY(challenge.hasQueryItem(QStringLiteral("method")));
    const QString nonce = challenge.queryItemValue(QStringLiteral("nonce"));
    QVERIFY(!nonce.isEmpty());

    peer.mark();
    peer.send(response(challenge.queryItemValue(QStringLiteral("method")),
                       QStringLiteral("0123456789abcdef"), token));
    QVERIFY(peer.waitFor("</failure>"));
    QVERIFY(peer.sinceMark().contains("<not-authorized/>"));

    // A new exchange gets a new nonce; the old one no longer counts.
    peer.mark();
    peer.send("<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='X-FACEBOOK-PLATFORM'/>");
    QVERIFY(peer.waitFor("</challenge>"));
    challenge = challengeQuery();
    QVERIFY(challenge.queryItemValue(QStringLiteral("nonce")) != nonce);
    peer.mark();
    peer.send(response(challenge.queryItemValue(QStringLiteral("method")), nonce, token));
    QVERIFY(peer.waitFor("</failure>"));

    peer.mark();
    peer.send("<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='X-FACEBOOK-PLATFORM'/>");
    QVERIFY(peer.waitFor("</challenge>"));
    challenge = challengeQuery();
    peer.mark();
    peer.send(response(challenge.queryItemValue(QStringLiteral("method")),
                       challenge.queryItemValue(QStringLiteral("nonce")), token));
    QVERIFY(peer.waitFor("<success"));
}

void ChatLoginTest::plainLogin_data() {
    QTest::addColumn<QString>("user");
    const QString ada = QLatin1String(MemoryChatDirectory::ada);
    QTest::newRow("id with minus") << QLatin1Char('-') + ada;
    QTest::newRow("bare id") << ada;
}

void ChatLoginTest::plainLogin() {
    QFETCH(QString, user);
    const QString ada = QLatin1String(MemoryChatDirectory::ada);
    QXmppClient client;
    QVERIFY(connectClient(client,
                          plainConfiguration(port(), user, MemoryChatDirectory::passwordOf(ada))));
    QCOMPARE(client.configuration().jidBare(), bareJid(ada));
}

void ChatLoginTest::plainLoginRefused_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    const QString ada = QLatin1String(MemoryChatDirectory::ada);
    QTest::newRow("wrong password") << ada << QStringLiteral("guess");
    QTest::newRow("another person's password")
        << ada << MemoryChatDirectory::passwordOf(QLatin1String(MemoryChatDirectory::bea));
    QTest::newRow("unknown person")
        << QStringLiteral("-999") << MemoryChatDirectory::passwordOf(QStringLiteral("999"));
    QTest::newRow("not a numeric id") << QStringLiteral("ada") << QStringLiteral("pw-ada");
}

void ChatLoginTest::plainLoginRefused() {
    QFETCH(QString, user);
    QFETCH(QString, password);
    QXmppClient client;
    QSignalSpy errors(&client, &QXmppClient::error);
    QVERIFY(!connectClient(client, plainConfiguration(port(), user, password)));
    QVERIFY(!errors.isEmpty());
    QCOMPARE(client.xmppStreamError(), QXmppStanza::Error::NotAuthorized);
    QVERIFY(m_server->server.onlineUsers().isEmpty());
}

void ChatLoginTest::plainWithoutInitialResponse() {
    // A client may leave out the initial response; it then answers an empty
    // challenge.
    const QString ada = QLatin1String(MemoryChatDirectory::ada);
    RawPeer peer;
    QVERIFY(peer.connectTo(port()));
    peer.send(RawPeer::header());
    QVERIFY(peer.waitFor("</stream:features>"));
    peer.mark();
    peer.send("<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='PLAIN'/>");
    QVERIFY(peer.waitFor("</challenge>"));
    peer.mark();
    const QByteArray message =
        QByteArray(1, '\0') + ada.toUtf8() + '\0' + MemoryChatDirectory::passwordOf(ada).toUtf8();
    peer.send("<response xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>" + message.toBase64() +
              "</response>");
    QVERIFY(peer.waitFor("<success"));
}

void ChatLoginTest::unknownMechanismFails() {
    RawPeer peer;
    QVERIFY(peer.connectTo(port()));
    peer.send(RawPeer::header());
    QVERIFY(peer.waitFor("</stream:features>"));
    peer.mark();
    peer.send("<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='DIGEST-MD5'/>");
    QVERIFY(peer.waitFor("</failure>"));
    QVERIFY(peer.sinceMark().contains("<invalid-mechanism/>"));
    // The stream stays open for another try.
    peer.mark();
    const QString ada = QLatin1String(MemoryChatDirectory::ada);
    peer.send(RawPeer::plainAuth(ada, MemoryChatDirectory::passwordOf(ada)));
    QVERIFY(peer.waitFor("<success"));
}

void ChatLoginTest::boundJidHasAssignedForm() {
    const QString first = QLatin1String(MemoryChatDirectory::firstUser);
    QXmppClient client;
    QXmppConfiguration configuration =
        facebookConfiguration(port(), MemoryChatDirectory::tokenOf(first));
    configuration.setResource(QStringLiteral("phone"));
    QVERIFY(connectClient(client, configuration));
    QCOMPARE(client.configuration().jid(), QStringLiteral("-100001@chat.sandbox.test/phone"));
}

void ChatLoginTest::generatedResourceWhenNoneRequested() {
    const QString ada = QLatin1String(MemoryChatDirectory::ada);
    RawPeer peer;
    QVERIFY(peer.connectTo(port()));
    peer.send(RawPeer::header());
    QVERIFY(peer.waitFor("</stream:features>"));
    peer.send(RawPeer::plainAuth(ada, MemoryChatDirectory::passwordOf(ada)));
    QVERIFY(peer.waitFor("<success"));
    peer.mark();
    peer.send(RawPeer::header());
    QVERIFY(peer.waitFor("</stream:features>"));
    QVERIFY(peer.sinceMark().contains("urn:ietf:params:xml:ns:xmpp-bind"));
    peer.mark();
    peer.send("<iq type='set' id='b'><bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'/></iq>");
    QVERIFY(peer.waitFor("</iq>"));
    const QByteArray answer = peer.sinceMark();
    const int start = answer.indexOf("<jid>") + 5;
    const QString jid = QString::fromUtf8(answer.mid(start, answer.indexOf("</jid>") - start));
    QVERIFY2(jid.startsWith(QStringLiteral("-200001@chat.sandbox.test/")), qPrintable(jid));
    QVERIFY(jid.size() > QStringLiteral("-200001@chat.sandbox.test/").size());
}

void ChatLoginTest::rosterListsContactsWithNames() {
    const QString first = QLatin1String(MemoryChatDirectory::firstUser);
    QXmppClient client;
    QSignalSpy rosterReceived(client.findExtension<QXmppRosterManager>(),
                              &QXmppRosterManager::rosterReceived);
    QVERIFY(
        connectClient(client, facebookConfiguration(port(), MemoryChatDirectory::tokenOf(first))));
    QTRY_COMPARE_WITH_TIMEOUT(rosterReceived.count(), 1, 10000);

    QXmppRosterManager *roster = client.findExtension<QXmppRosterManager>();
    QStringList jids = roster->getRosterBareJids();
    jids.sort();
    QCOMPARE(jids,
             (QStringList{bareJid(QStringLiteral("100002")), bareJid(QStringLiteral("200001")),
                          bareJid(QStringLiteral("200002")), bareJid(QStringLiteral("200003"))}));
    QCOMPARE(roster->getRosterEntry(bareJid(QStringLiteral("200001"))).name(),
             QStringLiteral("Ada Quillfeather"));
    QCOMPARE(roster->getRosterEntry(bareJid(QStringLiteral("200003"))).name(),
             QStringLiteral("béa Lundqvist"));
    QCOMPARE(roster->getRosterEntry(bareJid(QStringLiteral("200002"))).name(), QString());
    QCOMPARE(roster->getRosterEntry(bareJid(QStringLiteral("200001"))).subscriptionType(),
             QXmppRosterIq::Item::Both);
}

void ChatLoginTest::rosterOmitsEmptyNameAttribute() {
    RawPeer peer;
    QVERIFY(peer.connectTo(port()));
    const QString first = QLatin1String(MemoryChatDirectory::firstUser);
    QVERIFY(peer.logInWithPlain(first, MemoryChatDirectory::passwordOf(first)));
    peer.send("<iq type='get' id='r1'><query xmlns='jabber:iq:roster'/></iq>");
    QVERIFY(peer.waitFor("</iq>"));
    const QByteArray answer = peer.sinceMark();
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

void ChatLoginTest::newConnectionReplacesSameResource() {
    const QString ada = QLatin1String(MemoryChatDirectory::ada);
    RawPeer older;
    QVERIFY(older.connectTo(port()));
    QVERIFY(
        older.logInWithPlain(ada, MemoryChatDirectory::passwordOf(ada), QStringLiteral("desk")));
    RawPeer newer;
    QVERIFY(newer.connectTo(port()));
    QVERIFY(
        newer.logInWithPlain(ada, MemoryChatDirectory::passwordOf(ada), QStringLiteral("desk")));
    QVERIFY(older.waitFor("<conflict"));
    QVERIFY(older.waitForDisconnected());
    QVERIFY(newer.isConnected());
    QCOMPARE(m_server->server.onlineUsers(), QStringList{ada});
}

void ChatLoginTest::listenRefusesNonLoopback() {
    ChatServer other(&m_server->directory, QLatin1String(MemoryChatDirectory::domain));
    QVERIFY(!other.listen(QHostAddress::AnyIPv4, 0));
    QVERIFY(!other.errorString().isEmpty());
    // A taken port is reported, not ignored.
    QVERIFY(!other.listen(QHostAddress::LocalHost, port()));
    QVERIFY(!other.errorString().isEmpty());
}

QTEST_GUILESS_MAIN(ChatLoginTest)
#include "tst_chatlogin.moc"
