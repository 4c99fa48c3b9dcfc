// libFuzzer harness, built with clang on demand: the incremental stream
// parser fed in input-chosen slices, the stanza classes the server parses
// what it yields with, and the SASL and address decoding.
//
//   fuzz_xmpp_parser -max_total_time=60 -dict=fuzz_xmpp.dict CORPUS_DIR

#include "chatjid.h"
#include "chatsasl.h"
#include "xmppstreamparser.h"

#include <QByteArray>
#include <QXmlStreamWriter>
#include <QXmppBindIq.h>
#include <QXmppMessage.h>
#include <QXmppPresence.h>
#include <QXmppRosterIq.h>
#include <cstdint>

namespace {

void parseStanza(const QDomElement &element) {
    QByteArray out;
    QXmlStreamWriter writer(&out);
    const QString name = element.localName();
    if (name == QLatin1String("message")) {
        QXmppMessage message;
        message.parse(element);
        ChatJid::userIdOf(message.to(), QStringLiteral("chat.sandbox.test"));
        message.setFrom(QStringLiteral("-1@chat.sandbox.test"));
        message.toXml(&writer);
    } else if (name == QLatin1String("presence")) {
        QXmppPresence presence;
        presence.parse(element);
        presence.toXml(&writer);
    } else if (name == QLatin1String("iq")) {
        if (QXmppBindIq::isBindIq(element)) {
            QXmppBindIq bind;
            bind.parse(element);
            ChatJid::isAcceptableResource(bind.resource());
        }
        QXmppRosterIq::isRosterIq(element);
    } else {
        QByteArray data;
        bool present = false;
        ChatSasl::decodePayload(element.text(), &data, &present);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data) + 2, int(size - 2));
    const int mode = data[0] % 3;
    if (mode == 2) {
        ChatSasl::PlainCredentials credentials;
        if (ChatSasl::parsePlain(input, &credentials))
            ChatSasl::userIdOfAuthcid(credentials.authcid);
        ChatSasl::FacebookResponse response;
        ChatSasl::parseFacebookResponse(input, &response);
        ChatJid::userIdOf(QString::fromUtf8(input), QStringLiteral("chat.sandbox.test"));
        return 0;
    }
    // Small limits so that the limits themselves are exercised.
    XmppStreamParser parser(mode == 0 ? XmppStreamParser::defaultMaxPendingBytes : 512,
                            mode == 0 ? XmppStreamParser::defaultMaxDepth : 6);
    const int slice = 1 + data[1] % 64;
    for (int position = 0; position < input.size(); position += slice) {
        parser.addData(input.mid(position, slice));
        for (;;) {
            const XmppStreamParser::Event event = parser.next();
            if (event == XmppStreamParser::Event::NeedMoreData)
                break;
            if (event == XmppStreamParser::Event::Failed)
                return 0;
            if (event == XmppStreamParser::Event::Element) {
                parseStanza(parser.element());
                if (parser.element().localName() == QLatin1String("success"))
                    parser.restart();
            }
        }
    }
    return 0;
}
