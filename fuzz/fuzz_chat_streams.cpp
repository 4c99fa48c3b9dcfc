// Fuzzing, run on demand: random and mutated XMPP streams against a chat
// server in this process, over loopback, bounded in rounds and time. Some
// peers send a mutated stream from the first byte; others log in properly and
// then send mutated stanzas, to reach binding, presence and routing. Between
// rounds two well-behaved clients must still exchange a message.
//
//   fuzz_chat_streams [seconds (default 40)] [rounds (default 100000)] [seed]

#include "chattestsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>
#include <cstdio>

using namespace ChatTest;

namespace {

const QStringList people = {QLatin1String(MemoryChatDirectory::ada),
                            QLatin1String(MemoryChatDirectory::nameless),
                            QLatin1String(MemoryChatDirectory::bea)};

QList<QByteArray> preLoginPieces() {
    return {RawPeer::header(),
            RawPeer::plainAuth(QStringLiteral("-200001"), QStringLiteral("pw-200001")),
            "<auth xmlns='urn:ietf:params:xml:ns:xmpp-sasl' mechanism='X-FACEBOOK-PLATFORM'/>",
            "<response xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>" +
                QByteArray("access_token=token-100001&api_key=100000000000001&call_id&method="
                           "auth.xmpp_login&nonce=00&v=1.0")
                    .toBase64() +
                "</response>",
            "<abort xmlns='urn:ietf:params:xml:ns:xmpp-sasl'/>",
            "<iq type='set' id='b'><bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'>"
            "<resource>r</resource></bind></iq>",
            "<presence/>",
            "</stream:stream>"};
}

QList<QByteArray> stanzaPieces() {
    return {
        "<presence/>",
        "<presence><show>away</show><status>out</status><priority>5</priority></presence>",
        "<presence type='unavailable'/>",
        "<presence type='subscribe' to='-100001@chat.sandbox.test'/>",
        "<message type='chat' to='-100001@chat.sandbox.test'><body>hi</body></message>",
        "<message type='chat' to='-100002@chat.sandbox.test/x'><body>yo &amp; é</body>"
        "<active xmlns='http://jabber.org/protocol/chatstates'/></message>",
        "<message type='chat' to='-200003@chat.sandbox.test'><composing "
        "xmlns='http://jabber.org/protocol/chatstates'/></message>",
        "<message to='nobody@else.example'><body>x</body></message>",
        "<message type='error' to='-100001@chat.sandbox.test'><error type='cancel'/></message>",
        "<iq type='get' id='r'><query xmlns='jabber:iq:roster'/></iq>",
        "<iq type='set' id='s'><session xmlns='urn:ietf:params:xml:ns:xmpp-session'/></iq>",
        "<iq type='get' id='p'><ping xmlns='urn:xmpp:ping'/></iq>",
        "<iq type='set' id='b'><bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'/></iq>",
        "<iq type='get' id='v'><query xmlns='jabber:iq:version'/></iq>",
        "<iq type='result' id='z'/>",
        " ",
        "</stream:stream>",
    };
}

QByteArray randomBytes(QRandomGenerator &random, int size) {
    static const QByteArray alphabet = "<>/='\"&;:-@ abcxyz01\x00\xff\xc3\xa9\n";
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += random.bounded(4) == 0 ? char(random.bounded(256))
                                        : alphabet.at(random.bounded(alphabet.size()));
    return bytes;
}

QByteArray mutate(QRandomGenerator &random, QByteArray data) {
    const int mutations = random.bounded(1, 6);
    for (int m = 0; m < mutations && !data.isEmpty(); ++m) {
        const int at = random.bounded(data.size());
        switch (random.bounded(7)) {
        case 0: // flip a byte
            data[at] = char(random.bounded(256));
            break;
        case 1: // insert random bytes
            data.insert(at, randomBytes(random, random.bounded(1, 12)));
            break;
        case 2: // delete a stretch
            data.remove(at, random.bounded(1, 16));
            break;
        case 3: // duplicate a stretch
            data.insert(at, data.mid(at, random.bounded(1, 64)));
            break;
        case 4: // truncate
            data.truncate(at);
            break;
        case 5: // swap two halves
            data = data.mid(at) + data.left(at);
            break;
        default: // nest deeply or grow large
            data.insert(at, random.bounded(2)
                                ? QByteArray(random.bounded(40) * 3, 'x').replace("xxx", "<a>")
                                : QByteArray(random.bounded(1, 200000), 'q'));
            break;
        }
    }
    return data;
}

QByteArray composedFrom(QRandomGenerator &random, const QList<QByteArray> &pieces, int count) {
    QByteArray data;
    for (int i = 0; i < count; ++i)
        data += pieces.at(random.bounded(pieces.size()));
    return data;
}

// Sends `data` in random slices, aborting midway now and then.
void sendInSlices(QRandomGenerator &random, RawPeer &peer, const QByteArray &data) {
    int position = 0;
    while (position < data.size()) {
        const int slice = random.bounded(1, 4096);
        peer.send(data.mid(position, slice));
        position += slice;
        if (random.bounded(8) == 0)
            QCoreApplication::processEvents();
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 40;
    const int maxRounds = argc > 2 ? QByteArray(argv[2]).toInt() : 100000;
    const quint32 seed =
        argc > 3 ? QByteArray(argv[3]).toUInt() : QRandomGenerator::system()->generate();
    QRandomGenerator random(seed);
    std::printf("seed %u, at most %d s and %d rounds\n", seed, seconds, maxRounds);

    ChatOptions options;
    options.loginTimeoutMs = 2000;
    Server server(options);
    if (!server.start()) {
        std::fprintf(stderr, "cannot listen\n");
        return 1;
    }
    const quint16 port = server.server.port();
    server.server.setAutoReply(QLatin1String(MemoryChatDirectory::bea), 0, QStringLiteral("auto"));

    const QString first = QLatin1String(MemoryChatDirectory::firstUser);
    const QString second = QLatin1String(MemoryChatDirectory::secondUser);
    auto sentinelA = loggedInClient(port, first);
    auto sentinelB = loggedInClient(port, second);
    if (!sentinelA || !sentinelB) {
        std::fprintf(stderr, "sentinel login failed\n");
        return 1;
    }
    Inbox sentinelInbox(sentinelB.get());
    // A raw session beside the sentinel: everything the server sends it must
    // be well-formed XML, whatever the fuzzed peers made it route.
    RawPeer spy;
    if (!spy.connectTo(port) || !spy.logInWithPlain(second, MemoryChatDirectory::passwordOf(second),
                                                    QStringLiteral("spy"))) {
        std::fprintf(stderr, "spy login failed\n");
        return 1;
    }
    const auto spyStreamError = [&spy]() {
        // The stream after the restart that followed the login.
        const QByteArray stream = spy.received().mid(spy.received().lastIndexOf("<?xml"));
        QXmlStreamReader reader(stream + "</stream:stream>");
        while (!reader.atEnd())
            reader.readNext();
        return reader.hasError() ? QStringLiteral("%1 at byte %2: %3")
                                       .arg(reader.errorString())
                                       .arg(reader.characterOffset())
                                       .arg(QString::fromUtf8(stream).mid(
                                           qMax<qint64>(0, reader.characterOffset() - 300), 400))
                                 : QString();
    };

    const QList<QByteArray> prePieces = preLoginPieces();
    const QList<QByteArray> postPieces = stanzaPieces();
    const QRegularExpression conditionPattern(QStringLiteral("<stream:error><([a-z-]+)"));
    QMap<QString, int> conditions;
    int streams = 0;
    int loggedIn = 0;
    int checks = 0;
    QElapsedTimer timer;
    timer.start();
    int round = 0;
    for (; round < maxRounds && timer.elapsed() < seconds * 1000; ++round) {
        std::vector<std::unique_ptr<RawPeer>> peers;
        for (int i = 0; i < 6; ++i) {
            auto peer = std::make_unique<RawPeer>();
            if (!peer->connectTo(port)) {
                std::fprintf(stderr, "round %d: cannot connect\n", round);
                return 1;
            }
            QByteArray data;
            if (i % 2 == 0) {
                data = composedFrom(random, prePieces, random.bounded(1, 6));
                if (random.bounded(4) != 0)
                    data = mutate(random, data);
                if (random.bounded(10) == 0)
                    data = randomBytes(random, random.bounded(1, 2000));
            } else {
                const QString who = people.at(random.bounded(people.size()));
                if (!peer->logInWithPlain(who, MemoryChatDirectory::passwordOf(who),
                                          QStringLiteral("fuzz%1").arg(random.bounded(3)))) {
                    std::fprintf(stderr, "round %d: a proper login failed\n", round);
                    return 1;
                }
                ++loggedIn;
                data = mutate(random, composedFrom(random, postPieces, random.bounded(1, 30)));
            }
            sendInSlices(random, *peer, data);
            peers.push_back(std::move(peer));
            ++streams;
        }
        QTest::qWait(random.bounded(1, 30));
        for (auto &peer : peers) {
            const QRegularExpressionMatch match =
                conditionPattern.match(QString::fromLatin1(peer->received()));
            if (match.hasMatch())
                ++conditions[match.captured(1)];
            if (random.bounded(2))
                peer->abort();
        }
        peers.clear();

        if (round % 25 == 0) {
            const QString body = QStringLiteral("check %1").arg(round);
            sentinelA->sendPacket(QXmppMessage(QString(), bareJid(second), body));
            QElapsedTimer wait;
            wait.start();
            while (!sentinelInbox.bodiesFrom(first).contains(body)) {
                if (wait.elapsed() > 10000 || !sentinelA->isConnected() ||
                    !sentinelB->isConnected()) {
                    std::fprintf(stderr,
                                 "round %d: the server stopped serving (sentinels connected: "
                                 "%d %d, stream errors %d %d)\n",
                                 round, sentinelA->isConnected(), sentinelB->isConnected(),
                                 int(sentinelA->xmppStreamError()),
                                 int(sentinelB->xmppStreamError()));
                    std::fprintf(stderr, "spy: %s\n", qPrintable(spyStreamError()));
                    return 1;
                }
                QTest::qWait(2);
            }
            ++checks;
        }
    }
    QTest::qWait(100);
    std::printf("%d rounds, %d streams (%d after a proper login), %d liveness checks passed in "
                "%lld ms\n",
                round, streams, loggedIn, checks, static_cast<long long>(timer.elapsed()));
    std::printf("stream errors seen:");
    for (auto it = conditions.cbegin(); it != conditions.cend(); ++it)
        std::printf(" %s=%d", qPrintable(it.key()), it.value());
    const QString spyError = spyStreamError();
    std::printf("\nserver output well-formed: %s\n",
                spyError.isEmpty() ? "yes" : qPrintable(spyError));
    const bool serving = sentinelA->isConnected() && sentinelB->isConnected() && spy.isConnected();
    std::printf("server still serving: %s\n", serving ? "yes" : "no");
    return serving && spyError.isEmpty() ? 0 : 1;
}
