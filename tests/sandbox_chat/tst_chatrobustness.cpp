// Bad peers on the chat port: each gets a stream error or is dropped, and the
// server goes on serving everyone else.

#include "chattestsupport.h"

#include <QTest>

using namespace ChatTest;

namespace {
QByteArray chatTo(const QString &userId, const QByteArray &body) {
    return "<message type='chat' to='" + bareJid(userId).toUtf8() + "'><body>" + body +
           "</body></message>";
}
} // namespace

class ChatRobustnessTest : public ServerTest {
    Q_OBJECT

private slots:
    void badStreamGetsStreamError_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("condition");
        QTest::addColumn<int>("stage"); // 0 new, 1 authenticated as Ada, 2 bound as Ada
        const auto row = [](const char *name, const QByteArray &data, const char *condition,
                            int stage = 0) {
            QTest::newRow(name) << data << QByteArray(condition) << stage;
        };
        const QByteArray header = RawPeer::header();
        row("malformed XML", header + "<message><body>x</mess>", "not-well-formed");
        row("garbage after header", header + "this is not XMPP <<<>>>", "bad-format");
        row("binary garbage", header + QByteArray("\x00\x01\xff\xfe<\x80", 6), "not-well-formed");
        row("HTTP instead of XMPP", "GET / HTTP/1.1\r\nHost: x\r\n\r\n", "not-well-formed");
        row("server namespace",
            "<stream:stream xmlns='jabber:server' "
            "xmlns:stream='http://etherx.jabber.org/streams' version='1.0'>",
            "invalid-namespace");
        row("other host", RawPeer::header(QStringLiteral("chat.example.org")), "host-unknown");
        row("comment", header + "<!-- hi -->", "restricted-xml");
        row("nested too deep", header + QByteArray(200 * 3, 'x').replace("xxx", "<a>"),
            "policy-violation");
        row("unknown element", header + "<hello xmlns='urn:example'/>", "unsupported-stanza-type");
        row("STARTTLS", header + "<starttls xmlns='urn:ietf:params:xml:ns:xmpp-tls'/>",
            "unsupported-feature");
        row("stanza before login", header + chatTo(first, "let me in"), "not-authorized");
        row("oversize before login",
            header + "<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='PLAIN'>" +
                QByteArray(40 * 64 * 1024, 'A'),
            "policy-violation");
        row("stanza before binding", chatTo(first, "no address yet"), "not-authorized", 1);
        row("SASL after login", RawPeer::plainAuth(first, MemoryChatDirectory::passwordOf(first)),
            "policy-violation", 2);
    }

    void badStreamGetsStreamError() {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, condition);
        QFETCH(int, stage);
        RawPeer peer;
        QVERIFY(peer.connectTo(port()));
        if (stage == 1)
            QVERIFY(peer.authenticate(ada, MemoryChatDirectory::passwordOf(ada)));
        if (stage == 2)
            QVERIFY(peer.logInWithPlain(ada, MemoryChatDirectory::passwordOf(ada)));
        peer.send(data);
        QVERIFY2(peer.waitFor("</stream:error>"), peer.received().constData());
        const QByteArray received = peer.received();
        QVERIFY2(received.contains("<stream:error><" + condition), received.constData());
        QVERIFY(received.contains("urn:ietf:params:xml:ns:xmpp-streams"));
        QVERIFY(received.endsWith("</stream:stream>"));
        QVERIFY(peer.waitForDisconnected());
        QVERIFY(!server().onlineUsers().contains(first));
        verifyServerServes();
        QCOMPARE(server().messagesTo(first).size(), 0);
    }

    void oversizeStanza() {
        Session alice;
        QVERIFY(alice.logIn(port(), first));
        RawPeer peer;
        QVERIFY(peer.logIn(port(), ada));
        // Just under the limit goes through.
        const QByteArray fits(900 * 1024, 'a');
        peer.send(chatTo(first, fits));
        TRY_COMPARE(alice.inbox.bodiesFrom(ada).size(), 1);
        QCOMPARE(alice.inbox.bodiesFrom(ada).first().size(), fits.size());

        peer.send("<message type='chat' to='" + bareJid(first).toUtf8() + "'><body>");
        for (int i = 0; i < 24; ++i)
            peer.send(QByteArray(64 * 1024, 'b'));
        QVERIFY(peer.waitFor("</stream:error>"));
        QVERIFY(peer.sinceMark().contains("<policy-violation"));
        QVERIFY(peer.waitForDisconnected());
        QCOMPARE(alice.inbox.bodiesFrom(ada).size(), 1);
        verifyServerServes();
    }

    void peersThatLeave() {
        RawPeer inHeader;
        QVERIFY(inHeader.connectTo(port()));
        inHeader.send(RawPeer::header().left(30));
        inHeader.abort();
        for (const QByteArray &partial :
             {QByteArray("<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='PL"),
              QByteArray("<message><body>half a mess")}) {
            RawPeer peer;
            QVERIFY(peer.connectTo(port()));
            peer.send(RawPeer::header() + partial);
            QVERIFY(peer.waitFor("</stream:features>"));
            peer.abort();
        }

        Session alice;
        QVERIFY(alice.logIn(port(), first));
        // A bound peer vanishes without a word, half a stanza sent: what came
        // before it counts, the half nothing, and its contacts see it go.
        RawPeer bound;
        QVERIFY(bound.logIn(port(), ada));
        bound.send("<presence/><message type='chat' to='-100001@chat.sandbox.test'><bo");
        TRY_COMPARE(alice.inbox.presencesFrom(ada).size(), 1);
        bound.abort();
        TRY_COMPARE(alice.inbox.presencesFrom(ada).size(), 2);
        QCOMPARE(alice.inbox.presencesFrom(ada).last().type(), QXmppPresence::Unavailable);
        // One that closes its stream is answered in kind and seen to go too.
        RawPeer closing;
        QVERIFY(closing.logIn(port(), ada));
        closing.send("<presence/>");
        TRY_COMPARE(alice.inbox.presencesFrom(ada).size(), 3);
        closing.send("</stream:stream>");
        QVERIFY(closing.waitFor("</stream:stream>"));
        QVERIFY(closing.waitForDisconnected());
        TRY_COMPARE(alice.inbox.presencesFrom(ada).size(), 4);
        QCOMPARE(alice.inbox.presencesFrom(ada).last().type(), QXmppPresence::Unavailable);
        QCOMPARE(server().onlineUsers(), QStringList{first});
        verifyServerServes();
        QVERIFY(alice.inbox.messagesFrom(ada).isEmpty());
    }

    void tooManyFailedLogins() {
        RawPeer peer;
        QVERIFY(peer.open(port()));
        for (int attempt = 0; attempt < 4; ++attempt) {
            QVERIFY(!peer.ask(RawPeer::plainAuth(ada, QStringLiteral("guess%1").arg(attempt)),
                              "<not-authorized/></failure>")
                         .isEmpty());
            QVERIFY(peer.isConnected());
        }
        peer.send(RawPeer::plainAuth(ada, QStringLiteral("last guess")));
        QVERIFY(peer.waitFor("</stream:error>"));
        QVERIFY(peer.sinceMark().contains("<policy-violation"));
        QVERIFY(peer.waitForDisconnected());
    }

    void malformedSaslPayload() {
        RawPeer peer;
        QVERIFY(peer.open(port()));
        const QByteArray plain =
            "<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='PLAIN'>";
        const QByteArray response = "<response xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>";
        QVERIFY(peer.ask(plain + "%%%not base64</auth>", "</failure>")
                    .contains("<incorrect-encoding/>"));
        QVERIFY(peer.ask(plain + QByteArray("no separators").toBase64() + "</auth>", "</failure>")
                    .contains("<malformed-request/>"));
        QVERIFY(!peer.ask(response + "AAAA</response>", "</failure>").isEmpty());
        QVERIFY(!peer.ask("<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' "
                          "mechanism='X-FACEBOOK-PLATFORM'/>",
                          "</challenge>")
                     .isEmpty());
        QVERIFY(peer.ask(response + QByteArray("access_token=x").toBase64() + "</response>",
                         "</failure>")
                    .contains("<malformed-request/>"));
        QVERIFY(peer.isConnected());
    }

    void silentPeerTimesOut_data() {
        QTest::addColumn<int>("loginTimeoutMs");
        QTest::addColumn<int>("idleTimeoutMs");
        QTest::newRow("slow login") << 500 << 60000;
        QTest::newRow("idle") << 60000 << 500;
    }

    void silentPeerTimesOut() {
        // Connections that do not log in cannot hold on to a slot; sessions can.
        QFETCH(int, loginTimeoutMs);
        QFETCH(int, idleTimeoutMs);
        ChatOptions options;
        options.loginTimeoutMs = loginTimeoutMs;
        options.idleTimeoutMs = idleTimeoutMs;
        QVERIFY(restart(options));
        RawPeer bound;
        QVERIFY(bound.logIn(port(), second));
        RawPeer silent;
        QVERIFY(silent.connectTo(port()));
        RawPeer unbound;
        QVERIFY(unbound.connectTo(port()));
        QVERIFY(unbound.authenticate(ada, MemoryChatDirectory::passwordOf(ada)));

        for (RawPeer *peer : {&silent, &unbound}) {
            QVERIFY(peer->waitFor("<connection-timeout"));
            QVERIFY(peer->waitForDisconnected());
        }
        QVERIFY(bound.isConnected());
        QCOMPARE(server().onlineUsers(), QStringList{second});
    }

    void connectionLimits() {
        ChatOptions options;
        options.maxConnections = 4;
        options.maxSessionsPerUser = 2;
        QVERIFY(restart(options));
        RawPeer phone, desk, idle, idle2;
        QVERIFY(phone.logIn(port(), ada, QStringLiteral("phone")));
        QVERIFY(desk.logIn(port(), ada, QStringLiteral("desk")));
        QVERIFY(idle.connectTo(port()) && idle2.connectTo(port()));

        // One connection too many hears why before it is closed.
        RawPeer over;
        over.connectTo(port()); // may be closed before it is seen connected
        QVERIFY(over.waitFor("</stream:error>"));
        QVERIFY2(over.received().contains("<resource-constraint"), over.received().constData());
        QVERIFY(over.waitForDisconnected());

        // Once slots free, a normal login succeeds again.
        for (RawPeer *peer : {&idle, &idle2}) {
            peer->send(RawPeer::header() + "</stream:stream>");
            QVERIFY(peer->waitForDisconnected());
        }
        Session bob;
        QVERIFY(bob.logIn(port(), second));

        // One person cannot take every slot: a third session of Ada is refused,
        // while replacing one of hers is not.
        RawPeer third;
        QVERIFY(!third.logIn(port(), ada, QStringLiteral("tablet")));
        QVERIFY(third.waitFor("</stream:error>"));
        QVERIFY(third.received().contains("<resource-constraint"));
        QVERIFY(third.received().contains("<policy-violation"));
        QVERIFY(third.waitForDisconnected());
        RawPeer newDesk;
        QVERIFY(newDesk.logIn(port(), ada, QStringLiteral("desk")));
        QVERIFY(desk.waitFor("<conflict"));
        QVERIFY(phone.isConnected());
        QCOMPARE(server().onlineUsers(), (QStringList{second, ada}));
    }

    void unsupportedQueriesAreAnswered() {
        RawPeer peer;
        QVERIFY(peer.logIn(port(), ada));
        QVERIFY(!peer.ask("<iq type='get' id='v1'><query xmlns='jabber:iq:version'/></iq>",
                          "<service-unavailable")
                     .isEmpty());
        QVERIFY(!peer.ask("<iq type='set' id='r1'><query xmlns='jabber:iq:roster'><item "
                          "jid='-999@chat.sandbox.test'/></query></iq>",
                          "<not-allowed")
                     .isEmpty());
        QVERIFY(peer.ask("<iq type='get' id='p1'><ping xmlns='urn:xmpp:ping'/></iq>", "id=\"p1\"")
                    .contains("type=\"result\""));
        QVERIFY(peer.ask("<iq type='bogus' id='b1'/><iq type='result' id='x'/><presence "
                         "type='subscribe' to='-100001@chat.sandbox.test'/><message "
                         "type='groupchat' to='-1@chat.sandbox.test'/><iq type='get' "
                         "id='last'><ping xmlns='urn:xmpp:ping'/></iq>",
                         "id=\"last\"")
                    .contains("<bad-request"));
        QVERIFY(peer.isConnected());
    }

    void routedStanzasStayWellFormed() {
        // Extensions the server does not know, with prefixes and odd namespace
        // names, must not reach the recipient in a form its parser rejects.
        RawPeer recipient, sender;
        QVERIFY(recipient.logIn(port(), first));
        QVERIFY(sender.logIn(port(), ada));
        sender.send("<message type='chat' to='-100001@chat.sandbox.test' id='a&quot;1'>"
                    "<body>one &lt;b&gt; &amp; two</body>"
                    "<x:extra xmlns:x='urn:example:extra' x:flag='1'><x:inner/></x:extra>"
                    "<active xmlns='urn:odd\"name&lt;'/>"
                    "<composing xmlns='http://jabber.org/protocol/chatstates'/></message>");
        QVERIFY(recipient.waitFor("</message>"));
        QVERIFY2(recipient.currentStreamError().isEmpty(),
                 qPrintable(recipient.currentStreamError() + QLatin1Char('\n') +
                            QString::fromUtf8(recipient.sinceMark())));
        const QByteArray received = recipient.sinceMark();
        QVERIFY(received.contains("<body>one &lt;b&gt; &amp; two</body>"));
        QVERIFY(received.contains("<composing xmlns=\"http://jabber.org/protocol/chatstates\"/>"));
        QVERIFY(received.contains("from=\"-200001@chat.sandbox.test\""));
    }

    void floodOfStanzas() {
        Session alice;
        QVERIFY(alice.logIn(port(), first));
        RawPeer flooder;
        QVERIFY(flooder.logIn(port(), ada));

        constexpr int count = 5000;
        QByteArray flood;
        for (int i = 0; i < count; ++i) {
            flood += chatTo(first, QByteArray::number(i));
            flood += i % 2 ? "<presence/>" : "<presence><show>away</show></presence>";
        }
        flooder.send(flood);
        // Others are served while the flood is worked through.
        verifyServerServes();
        QTRY_COMPARE_WITH_TIMEOUT(alice.inbox.bodiesFrom(ada).size(), count, 60000);
        QCOMPARE(alice.inbox.bodiesFrom(ada).last(), QString::number(count - 1));
        QVERIFY(flooder.isConnected());
    }

    void peerThatDoesNotRead() {
        RawPeer sleeper, sender;
        QVERIFY(sleeper.logIn(port(), second));
        sleeper.stopReading();
        QVERIFY(sender.logIn(port(), ada));

        // Far more than the sleeper's buffers and the server's output cap hold.
        const QByteArray message = chatTo(second, QByteArray(32 * 1024, 'z'));
        for (int i = 0; i < 1000 && server().onlineUsers().contains(second); ++i) {
            sender.send(message);
            QTest::qWait(1); // lets the event loop carry the data along
        }
        QTRY_VERIFY_WITH_TIMEOUT(!server().onlineUsers().contains(second), 60000);
        QVERIFY(sender.isConnected());
        verifyServerServes();
    }

private:
    void verifyServerServes() {
        Session alice, bob;
        QVERIFY(alice.logIn(port(), first) && bob.logIn(port(), second));
        alice.sendPacket(chatMessage(bareJid(second), QStringLiteral("still here")));
        TRY_COMPARE(bob.inbox.bodiesFrom(first), QStringList{"still here"});
    }
};

QTEST_GUILESS_MAIN(ChatRobustnessTest)
#include "tst_chatrobustness.moc"
