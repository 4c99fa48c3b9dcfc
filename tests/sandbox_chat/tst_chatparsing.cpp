// The pieces under the chat server's streams: the incremental stream parser,
// the SASL messages and the address helpers.

#include "chatjid.h"
#include "chatsasl.h"
#include "xmppstreamparser.h"

#include <QTest>
#include <QUrlQuery>

using Event = XmppStreamParser::Event;
using Failure = XmppStreamParser::Failure;

namespace {

const QByteArray header = "<?xml version='1.0'?><stream:stream to='chat.sandbox.test' "
                          "xmlns='jabber:client' "
                          "xmlns:stream='http://etherx.jabber.org/streams' version='1.0'>";

// Feeds `data` in pieces of `pieceSize` bytes and collects every event.
QList<Event> feed(XmppStreamParser &parser, const QByteArray &data, int pieceSize,
                  QList<QDomElement> *elements = nullptr) {
    QList<Event> events;
    for (int i = 0; i < data.size(); i += pieceSize) {
        parser.addData(data.mid(i, pieceSize));
        for (Event event = parser.next(); event != Event::NeedMoreData; event = parser.next()) {
            events.append(event);
            if (event == Event::Element && elements)
                elements->append(parser.element());
            if (event == Event::Failed || event == Event::StreamClosed)
                return events;
        }
    }
    return events;
}

Failure failureOf(const QByteArray &data,
                  qint64 maxPending = XmppStreamParser::defaultMaxPendingBytes,
                  int maxDepth = XmppStreamParser::defaultMaxDepth) {
    XmppStreamParser parser(maxPending, maxDepth);
    const QList<Event> events = feed(parser, data, 7);
    return events.contains(Event::Failed) ? parser.failure() : Failure::None;
}

// A response as the client sends it, less the field `missing`.
QByteArray facebookResponse(const char *missing = "") {
    static const char *const fields[][2] = {{"access_token", "tok|en&=+%x"},
                                            {"api_key", "100000000000001"},
                                            {"call_id", ""},
                                            {"method", "auth.xmpp_login"},
                                            {"nonce", "abc123"},
                                            {"v", "1.0"}};
    QUrlQuery response;
    for (const auto &field : fields)
        if (qstrcmp(field[0], missing) != 0)
            response.addQueryItem(QLatin1String(field[0]), QLatin1String(field[1]));
    return response.query(QUrl::FullyEncoded).toUtf8();
}

} // namespace

Q_DECLARE_METATYPE(XmppStreamParser::Failure)

class ChatParsingTest : public QObject {
    Q_OBJECT

private slots:
    void streamInPieces_data() {
        QTest::addColumn<int>("pieceSize");
        QTest::newRow("byte by byte") << 1;
        QTest::newRow("odd pieces") << 13;
        QTest::newRow("all at once") << 100000;
    }

    void streamInPieces() {
        QFETCH(int, pieceSize);
        const QByteArray stream =
            header +
            "<message to='-1@chat.sandbox.test' type='chat' xml:lang='en'><body>Hi &amp; "
            "&lt;there&gt;</body><composing xmlns='http://jabber.org/protocol/chatstates'/>"
            "</message><presence/></stream:stream>";
        XmppStreamParser parser;
        QList<QDomElement> elements;
        const QList<Event> events = feed(parser, stream, pieceSize, &elements);
        QCOMPARE(events, (QList<Event>{Event::StreamOpened, Event::Element, Event::Element,
                                       Event::StreamClosed}));
        QCOMPARE(parser.streamAttributes().value(QLatin1String("to")).toString(),
                 QStringLiteral("chat.sandbox.test"));

        const QDomElement message = elements.at(0);
        QCOMPARE(message.localName(), QStringLiteral("message"));
        QCOMPARE(message.namespaceURI(), QStringLiteral("jabber:client"));
        QCOMPARE(message.attribute(QStringLiteral("type")), QStringLiteral("chat"));
        QCOMPARE(message.firstChildElement(QStringLiteral("body")).text(),
                 QStringLiteral("Hi & <there>"));
        QCOMPARE(message.firstChildElement(QStringLiteral("composing")).namespaceURI(),
                 QStringLiteral("http://jabber.org/protocol/chatstates"));
        QCOMPARE(elements.at(1).localName(), QStringLiteral("presence"));
    }

    void multibyteCharacterSplitAcrossPieces() {
        const QString text = QStringLiteral("Béa says 你好 🙂");
        const QByteArray stream = header + "<message><body>" + text.toUtf8() + "</body></message>";
        for (int pieceSize = 1; pieceSize <= 4; ++pieceSize) {
            XmppStreamParser parser;
            QList<QDomElement> elements;
            feed(parser, stream, pieceSize, &elements);
            QCOMPARE(elements.size(), 1);
            QCOMPARE(elements.first().firstChildElement(QStringLiteral("body")).text(), text);
        }
    }

    void utf8DeclarationAccepted() {
        XmppStreamParser parser;
        const QList<Event> events = feed(
            parser, "<?xml version='1.0' encoding='utf-8'?>" + header.mid(21) + "<presence/>", 3);
        QCOMPARE(events, (QList<Event>{Event::StreamOpened, Event::Element}));
    }

    void restartExpectsNewHeader() {
        XmppStreamParser parser;
        QList<Event> events =
            feed(parser, header + "<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>AA==</auth>", 5);
        QCOMPARE(events, (QList<Event>{Event::StreamOpened, Event::Element}));
        parser.restart();
        QList<QDomElement> elements;
        events = feed(parser, header + "<iq type='set' id='1'/>", 5, &elements);
        QCOMPARE(events, (QList<Event>{Event::StreamOpened, Event::Element}));
        QCOMPARE(elements.first().attribute(QStringLiteral("id")), QStringLiteral("1"));
    }

    void whitespaceBetweenStanzasIsKeepAlive() {
        XmppStreamParser parser(200);
        QByteArray stream = header;
        for (int i = 0; i < 100; ++i)
            stream += " \n <presence/>\t ";
        const QList<Event> events = feed(parser, stream, 11);
        QCOMPARE(events.count(Event::Element), 100);
        QVERIFY(!events.contains(Event::Failed));
    }

    void refusedInput_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<XmppStreamParser::Failure>("failure");
        QTest::newRow("broken tag") << header + "<message><body>x</mess>" << Failure::NotWellFormed;
        // Text is reported once it ends, i.e. at the next markup.
        QTest::newRow("text between stanzas")
            << header + "garbage here<presence/>" << Failure::BadFormat;
        QTest::newRow("markup garbage") << header + "<<<>>>" << Failure::NotWellFormed;
        QTest::newRow("HTTP request")
            << QByteArray("GET / HTTP/1.1\r\nHost: x\r\n\r\n") << Failure::NotWellFormed;
        QTest::newRow("comment") << header + "<!-- hello -->" << Failure::RestrictedXml;
        QTest::newRow("processing instruction") << header + "<?evil x?>" << Failure::RestrictedXml;
        QTest::newRow("DTD") << QByteArray("<?xml version='1.0'?><!DOCTYPE s [<!ENTITY x 'y'>]>") +
                                    header.mid(21)
                             << Failure::RestrictedXml;
        QTest::newRow("undeclared entity")
            << header + "<message>&lol;</message>" << Failure::NotWellFormed;
        QTest::newRow("root is not a stream")
            << QByteArray("<html xmlns='jabber:client'>") << Failure::InvalidNamespace;
        QTest::newRow("server stream")
            << QByteArray("<stream:stream xmlns='jabber:server' "
                          "xmlns:stream='http://etherx.jabber.org/streams'>")
            << Failure::InvalidNamespace;
        QTest::newRow("no default namespace")
            << QByteArray("<stream:stream xmlns:stream='http://etherx.jabber.org/streams'>")
            << Failure::InvalidNamespace;
        QTest::newRow("other encoding")
            << QByteArray("<?xml version='1.0' encoding='ISO-8859-1'?>") + header.mid(21)
            << Failure::UnsupportedEncoding;
        QTest::newRow("undeclared prefix") << header + "<x:message/>" << Failure::NotWellFormed;
    }

    void refusedInput() {
        QFETCH(QByteArray, data);
        QFETCH(XmppStreamParser::Failure, failure);
        QCOMPARE(failureOf(data), failure);
        QVERIFY(!XmppStreamParser::conditionName(failure).isEmpty());
    }

    void failureIsFinal() {
        XmppStreamParser parser;
        QVERIFY(feed(parser, header + "<a></b>", 100).contains(Event::Failed));
        parser.addData("<presence/>");
        QCOMPARE(parser.next(), Event::Failed);
        QCOMPARE(parser.failure(), Failure::NotWellFormed);
        QVERIFY(!parser.failureText().isEmpty());
    }

    void sizeLimitCountsOneElementAtATime() {
        // Many small elements add up to far more than the limit: fine.
        QByteArray many = header;
        for (int i = 0; i < 50; ++i)
            many += "<message><body>" + QByteArray(50, 'a') + "</body></message>";
        QCOMPARE(failureOf(many, 1000), Failure::None);

        // One element over the limit: refused, whether it ever ends or not.
        const QByteArray big = header + "<message><body>" + QByteArray(2000, 'a');
        QCOMPARE(failureOf(big, 1000), Failure::PolicyViolation);
        QCOMPARE(failureOf(big + "</body></message>", 1000), Failure::PolicyViolation);
        const QByteArray longTag = header + "<message to='" + QByteArray(2000, 'b');
        QCOMPARE(failureOf(longTag, 1000), Failure::PolicyViolation);
    }

    void depthLimit() {
        const auto nested = [](int depth) {
            QByteArray data = header;
            for (int i = 0; i < depth; ++i)
                data += "<a>";
            for (int i = 0; i < depth; ++i)
                data += "</a>";
            return data;
        };
        // The stream element is level 1, so a limit of 6 allows 5 nested levels.
        QCOMPARE(failureOf(nested(5), 100000, 6), Failure::None);
        QCOMPARE(failureOf(nested(6), 100000, 6), Failure::PolicyViolation);
        QCOMPARE(failureOf(nested(100000), 10000000), Failure::PolicyViolation);
    }

    void payloadDecoding() {
        QByteArray data;
        bool present = true;
        QVERIFY(ChatSasl::decodePayload(QString(), &data, &present));
        QVERIFY(!present);
        QVERIFY(ChatSasl::decodePayload(QStringLiteral("="), &data, &present));
        QVERIFY(present);
        QVERIFY(data.isEmpty());
        QVERIFY(ChatSasl::decodePayload(QStringLiteral(" aGVsbG8= \n"), &data, &present));
        QCOMPARE(data, QByteArray("hello"));
        QVERIFY(!ChatSasl::decodePayload(QStringLiteral("not base64!"), &data, &present));
        QVERIFY(!ChatSasl::decodePayload(QStringLiteral("aGVsbG8é"), &data, &present));
        QCOMPARE(ChatSasl::encodePayload(QByteArray()), QStringLiteral("="));
        QCOMPARE(ChatSasl::encodePayload("hello"), QStringLiteral("aGVsbG8="));
    }

    void plainMessages() {
        ChatSasl::PlainCredentials credentials;
        QVERIFY(ChatSasl::parsePlain(QByteArray("\0-200001\0p\xc3\xa4ss", 14), &credentials));
        QVERIFY(credentials.authzid.isEmpty());
        QCOMPARE(credentials.authcid, QStringLiteral("-200001"));
        QCOMPARE(credentials.password, QStringLiteral("päss"));
        QVERIFY(ChatSasl::parsePlain(QByteArray("zid\0cid\0", 8), &credentials));
        QCOMPARE(credentials.authzid, QStringLiteral("zid"));
        QVERIFY(credentials.password.isEmpty());

        QVERIFY(!ChatSasl::parsePlain(QByteArray("\0only-two", 9), &credentials));
        QVERIFY(!ChatSasl::parsePlain(QByteArray("a\0b\0c\0d", 7), &credentials));
        QVERIFY(!ChatSasl::parsePlain(QByteArray("\0user\0\xff\xfe", 8), &credentials));
        QVERIFY(!ChatSasl::parsePlain(QByteArray(), &credentials));
    }

    void plainAuthcid() {
        for (const char *refused : {"--200001", "ada", "-", "-200001@chat.sandbox.test"})
            QVERIFY2(ChatSasl::userIdOfAuthcid(QLatin1String(refused)).isEmpty(), refused);
    }

    void facebookChallengeAndResponse() {
        const QUrlQuery challenge(QString::fromUtf8(ChatSasl::facebookChallenge(
            QStringLiteral("auth.xmpp_login"), QStringLiteral("abc123"))));
        QCOMPARE(challenge.queryItemValue(QStringLiteral("method")),
                 QStringLiteral("auth.xmpp_login"));
        QCOMPARE(challenge.queryItemValue(QStringLiteral("nonce")), QStringLiteral("abc123"));

        // As the client builds it: call_id without a value, values encoded.
        ChatSasl::FacebookResponse parsed;
        QVERIFY(ChatSasl::parseFacebookResponse(facebookResponse(), &parsed));
        QCOMPARE(parsed.accessToken, QStringLiteral("tok|en&=+%x"));
        QCOMPARE(parsed.apiKey, QStringLiteral("100000000000001"));
        QVERIFY(parsed.callId.isEmpty());
        QCOMPARE(parsed.method, QStringLiteral("auth.xmpp_login"));
        QCOMPARE(parsed.nonce, QStringLiteral("abc123"));
        QCOMPARE(parsed.version, QStringLiteral("1.0"));
    }

    void facebookResponseNeedsEveryField() {
        ChatSasl::FacebookResponse parsed;
        for (const char *missing : {"access_token", "api_key", "call_id", "method", "nonce", "v"})
            QVERIFY2(!ChatSasl::parseFacebookResponse(facebookResponse(missing), &parsed), missing);
        QVERIFY(!ChatSasl::parseFacebookResponse("\xff\xfe", &parsed));
    }

    void userIdOfAddresses() {
        const QList<QPair<const char *, const char *>> cases = {
            {"-200001@chat.sandbox.test", "200001"},
            {"-200001@chat.sandbox.test/phone", "200001"},
            {"-200001@chat.sandbox.test/a@b", "200001"},
            {"-200001@Chat.Sandbox.TEST", "200001"},
            {"200001@chat.sandbox.test", ""},
            {"-200001@chat.example.org", ""},
            {"-ada@chat.sandbox.test", ""},
            {"chat.sandbox.test", ""},
            {"-123456789012345678901@chat.sandbox.test", ""},
            {"", ""}};
        for (const auto &[jid, userId] : cases)
            QCOMPARE(ChatJid::userIdOf(QLatin1String(jid), QStringLiteral("chat.sandbox.test")),
                     QLatin1String(userId));
    }

    void resources() {
        QCOMPARE(ChatJid::full(QStringLiteral("7"), QStringLiteral("d.test"), QStringLiteral("r")),
                 QStringLiteral("-7@d.test/r"));
        QVERIFY(ChatJid::isAcceptableResource(QStringLiteral("QXmpp")));
        QVERIFY(ChatJid::isAcceptableResource(QStringLiteral("téléphone")));
        QVERIFY(!ChatJid::isAcceptableResource(QString()));
        QVERIFY(!ChatJid::isAcceptableResource(QStringLiteral("a\nb")));
        QVERIFY(!ChatJid::isAcceptableResource(QString(1024, QLatin1Char('x'))));
    }
};

QTEST_GUILESS_MAIN(ChatParsingTest)
#include "tst_chatparsing.moc"
