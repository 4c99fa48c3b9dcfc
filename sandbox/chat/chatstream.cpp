#include "chatstream.h"

#include "chatdirectory.h"
#include "chatjid.h"
#include "chatlogging.h"
#include "chatoptions.h"
#include "chatrouter.h"
#include "chatsasl.h"

#include <QTcpSocket>
#include <QXmlStreamWriter>
#include <QXmppBindIq.h>
#include <QXmppMessage.h>
#include <QXmppPingIq.h>
#include <QXmppRosterIq.h>
#include <QXmppSessionIq.h>
#include <QXmppStreamFeatures.h>

namespace {

const QString clientNamespace = QStringLiteral("jabber:client");
const QString saslNamespace = QStringLiteral("urn:ietf:params:xml:ns:xmpp-sasl");
const QString streamNamespace = QStringLiteral("http://etherx.jabber.org/streams");
const QString tlsNamespace = QStringLiteral("urn:ietf:params:xml:ns:xmpp-tls");

// Read in slices so that one busy peer cannot hold up the others.
constexpr qint64 readSliceBytes = 64 * 1024;
// What the socket may buffer before TCP pushes back on the peer.
constexpr qint64 socketReadBufferBytes = 256 * 1024;
// A peer that leaves this much of our output unread is not reading at all.
constexpr qint64 maxUnsentBytes = 8 * 1024 * 1024;
// How long a closing peer gets to take its last bytes.
constexpr int closeGraceMs = 5000;

QString escaped(const QString &text) {
    return text.toHtmlEscaped();
}

QByteArray serialized(const QXmppStanza &stanza) {
    QByteArray data;
    QXmlStreamWriter writer(&data);
    stanza.toXml(&writer);
    return data;
}

} // namespace

ChatStream::ChatStream(QTcpSocket *socket, ChatRouter *router, const ChatOptions &options,
                       QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_router(router)
    , m_streamId(ChatSasl::makeNonce()) {
    socket->setParent(this);
    socket->setReadBufferSize(socketReadBufferBytes);
    connect(socket, &QTcpSocket::readyRead, this, &ChatStream::readIncoming);
    connect(socket, &QTcpSocket::disconnected, this, &ChatStream::onDisconnected);

    for (QTimer *timer : {&m_loginTimer, &m_idleTimer}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this,
                [this] { closeWithError(QStringLiteral("connection-timeout")); });
    }
    if (options.loginTimeoutMs > 0)
        m_loginTimer.start(options.loginTimeoutMs);
    if (options.idleTimeoutMs > 0)
        m_idleTimer.start(options.idleTimeoutMs);

    if (socket->state() != QAbstractSocket::ConnectedState)
        QMetaObject::invokeMethod(this, &ChatStream::onDisconnected, Qt::QueuedConnection);
    else if (socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &ChatStream::readIncoming, Qt::QueuedConnection);
}

ChatStream::~ChatStream() {
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

QString ChatStream::fullJid() const {
    return ChatJid::full(m_userId, m_router->domain(), m_resource);
}

void ChatStream::sendStanza(const QXmppStanza &stanza) {
    if (m_state == State::Closed)
        return;
    writeRaw(serialized(stanza));
}

void ChatStream::closeWithError(const QString &condition, const QString &text) {
    if (m_state == State::Closed)
        return;
    if (!m_headerSent)
        sendHeader();
    qCInfo(lcSandboxChat) << "stream error" << condition << text << "for" << m_userId;
    const QString streamsNs = QStringLiteral("urn:ietf:params:xml:ns:xmpp-streams");
    QString error = QStringLiteral("<stream:error><%1 xmlns='%2'/>").arg(condition, streamsNs);
    if (!text.isEmpty())
        error += QStringLiteral("<text xmlns='%1'>%2</text>").arg(streamsNs, escaped(text));
    error += QStringLiteral("</stream:error></stream:stream>");
    writeRaw(error.toUtf8());
    finish();
}

void ChatStream::readIncoming() {
    m_readScheduled = false;
    if (!m_socket)
        return;
    if (m_state == State::Closed) {
        m_socket->readAll(); // nothing more is read from a closed stream
        return;
    }
    const QByteArray data = m_socket->read(readSliceBytes);
    if (data.isEmpty())
        return;
    if (m_idleTimer.isActive())
        m_idleTimer.start();
    m_parser.addData(data);
    processEvents();
    if (m_state != State::Closed && m_socket && m_socket->bytesAvailable() > 0 &&
        !m_readScheduled) {
        m_readScheduled = true;
        QTimer::singleShot(0, this, &ChatStream::readIncoming);
    }
}

void ChatStream::processEvents() {
    while (m_state != State::Closed) {
        switch (m_parser.next()) {
        case XmppStreamParser::Event::NeedMoreData:
            return;
        case XmppStreamParser::Event::StreamOpened:
            handleStreamOpened();
            break;
        case XmppStreamParser::Event::Element:
            handleElement(m_parser.element());
            break;
        case XmppStreamParser::Event::StreamClosed:
            writeRaw("</stream:stream>");
            finish();
            return;
        case XmppStreamParser::Event::Failed:
            closeWithError(XmppStreamParser::conditionName(m_parser.failure()),
                           m_parser.failureText());
            return;
        }
    }
}

void ChatStream::handleStreamOpened() {
    const QXmlStreamAttributes &attributes = m_parser.streamAttributes();
    sendHeader();
    const QString to = attributes.value(QLatin1String("to")).toString();
    if (!to.isEmpty() && to.compare(m_router->domain(), Qt::CaseInsensitive) != 0) {
        closeWithError(QStringLiteral("host-unknown"));
        return;
    }
    sendFeatures();
    m_state = m_authenticated ? State::AwaitingBind : State::Authenticating;
}

void ChatStream::handleElement(const QDomElement &element) {
    const QString ns = element.namespaceURI();
    const QString name = element.localName();
    if (ns == saslNamespace) {
        if (m_state == State::Authenticating)
            handleSasl(element);
        else
            closeWithError(QStringLiteral("policy-violation"), QStringLiteral("already logged in"));
        return;
    }
    if (ns == clientNamespace && (name == QLatin1String("iq") || name == QLatin1String("message") ||
                                  name == QLatin1String("presence"))) {
        const bool allowed = m_state == State::Bound ||
                             (m_state == State::AwaitingBind && name == QLatin1String("iq"));
        if (!allowed) {
            closeWithError(QStringLiteral("not-authorized"));
            return;
        }
        if (name == QLatin1String("iq"))
            handleIq(element);
        else if (name == QLatin1String("message"))
            handleMessage(element);
        else
            handlePresence(element);
        return;
    }
    if (ns == streamNamespace && name == QLatin1String("error")) {
        qCInfo(lcSandboxChat) << "client ended its stream with an error";
        writeRaw("</stream:stream>");
        finish();
        return;
    }
    if (ns == tlsNamespace) {
        closeWithError(QStringLiteral("unsupported-feature"), QStringLiteral("no TLS here"));
        return;
    }
    closeWithError(QStringLiteral("unsupported-stanza-type"));
}

void ChatStream::handleIq(const QDomElement &element) {
    const QString type = element.attribute(QStringLiteral("type"));
    if (type == QLatin1String("result") || type == QLatin1String("error"))
        return; // the server asks nothing, so there is nothing to match
    if (type != QLatin1String("get") && type != QLatin1String("set")) {
        sendIqError(element, QXmppStanza::Error::Modify, QXmppStanza::Error::BadRequest);
        return;
    }
    const bool isSet = type == QLatin1String("set");
    if (m_state == State::AwaitingBind) {
        if (isSet && QXmppBindIq::isBindIq(element))
            handleBind(element);
        else
            closeWithError(QStringLiteral("not-authorized"),
                           QStringLiteral("bind a resource first"));
        return;
    }
    if (QXmppBindIq::isBindIq(element)) {
        sendIqError(element, QXmppStanza::Error::Cancel, QXmppStanza::Error::NotAllowed);
    } else if (QXmppSessionIq::isSessionIq(element) || QXmppPingIq::isPingIq(element)) {
        sendIqResult(element);
    } else if (QXmppRosterIq::isRosterIq(element)) {
        if (isSet) {
            sendIqError(element, QXmppStanza::Error::Cancel, QXmppStanza::Error::NotAllowed);
            return;
        }
        QXmppRosterIq roster;
        roster.setType(QXmppIq::Result);
        roster.setId(element.attribute(QStringLiteral("id")));
        roster.setTo(fullJid());
        const QList<ChatContact> contacts = m_router->rosterOf(m_userId);
        for (const ChatContact &contact : contacts)
            roster.addItem(m_router->rosterItem(contact));
        sendStanza(roster);
    } else {
        sendIqError(element, QXmppStanza::Error::Cancel, QXmppStanza::Error::ServiceUnavailable);
    }
}

void ChatStream::handleBind(const QDomElement &element) {
    QXmppBindIq request;
    request.parse(element);
    m_resource = m_router->bind(this, m_userId, request.resource());
    if (m_resource.isEmpty()) {
        sendIqError(element, QXmppStanza::Error::Wait, QXmppStanza::Error::ResourceConstraint);
        closeWithError(QStringLiteral("policy-violation"),
                       QStringLiteral("too many sessions of one person"));
        return;
    }
    m_state = State::Bound;
    m_loginTimer.stop();
    m_idleTimer.stop();

    QXmppBindIq result;
    result.setType(QXmppIq::Result);
    result.setId(request.id());
    result.setJid(fullJid());
    sendStanza(result);
    m_router->startSession(this);
}

void ChatStream::handleMessage(const QDomElement &element) {
    QXmppMessage message;
    message.parse(element);
    const QXmppMessage::Type type = message.type();
    if (type != QXmppMessage::Chat && type != QXmppMessage::Normal)
        return; // errors, group chat and headlines have no one to go to here
    const QString to = ChatJid::userIdOf(message.to(), m_router->domain());
    if (to.isEmpty()) {
        sendNotFound(message);
        return;
    }
    // Only what the chat needs is passed on. Unknown extensions are left out:
    // written out again they could lose their namespace declarations (or carry
    // namespace names the XML writer does not escape) and break the
    // recipient's stream.
    QXmppMessage routed;
    routed.setType(type);
    routed.setId(message.id());
    routed.setBody(message.body());
    routed.setSubject(message.subject());
    routed.setThread(message.thread());
    routed.setState(message.state());
    if (!m_router->route(m_userId, to, routed, m_resource))
        sendNotFound(message);
}

void ChatStream::sendNotFound(const QXmppMessage &message) {
    QXmppMessage error;
    error.setType(QXmppMessage::Error);
    error.setId(message.id());
    error.setFrom(message.to());
    error.setTo(fullJid());
    error.setError(
        QXmppStanza::Error(QXmppStanza::Error::Cancel, QXmppStanza::Error::ItemNotFound));
    sendStanza(error);
}

void ChatStream::handlePresence(const QDomElement &element) {
    QXmppPresence presence;
    presence.parse(element);
    // Directed presences and subscription requests change nothing: every
    // roster here is fixed and shared both ways.
    if (!presence.to().isEmpty())
        return;
    if (presence.type() != QXmppPresence::Available &&
        presence.type() != QXmppPresence::Unavailable)
        return;
    m_presence = presence;
    m_router->updatePresence(this);
}

void ChatStream::sendHeader() {
    m_headerSent = true;
    const QString header =
        QStringLiteral("<?xml version='1.0' encoding='UTF-8'?><stream:stream xmlns='%1' "
                       "xmlns:stream='%2' id='%3' from='%4' version='1.0' xml:lang='en'>")
            .arg(clientNamespace, streamNamespace, m_streamId, escaped(m_router->domain()));
    writeRaw(header.toUtf8());
}

void ChatStream::sendFeatures() {
    QXmppStreamFeatures features;
    if (m_authenticated) {
        features.setBindMode(QXmppStreamFeatures::Required);
        features.setSessionMode(QXmppStreamFeatures::Enabled);
    } else {
        features.setAuthMechanisms(
            {QLatin1String(ChatSasl::plainMechanism), QLatin1String(ChatSasl::facebookMechanism)});
    }
    sendStanza(features);
}

void ChatStream::sendIqResult(const QDomElement &request) {
    QXmppIq result(QXmppIq::Result);
    result.setId(request.attribute(QStringLiteral("id")));
    result.setTo(fullJid());
    sendStanza(result);
}

void ChatStream::sendIqError(const QDomElement &request, int type, int condition) {
    QXmppIq error(QXmppIq::Error);
    error.setId(request.attribute(QStringLiteral("id")));
    if (m_state == State::Bound)
        error.setTo(fullJid());
    error.setError(QXmppStanza::Error(QXmppStanza::Error::Type(type),
                                      QXmppStanza::Error::Condition(condition)));
    sendStanza(error);
}

void ChatStream::writeRaw(const QByteArray &data) {
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    if (m_socket->bytesToWrite() + data.size() > maxUnsentBytes) {
        // Closing here could reach back into the router while it is going
        // through its sessions, so the connection is dropped a moment later.
        qCWarning(lcSandboxChat) << "peer does not read; dropping" << m_userId;
        QTimer::singleShot(0, m_socket, &QTcpSocket::abort);
        return;
    }
    m_socket->write(data);
}

void ChatStream::finish() {
    if (m_state == State::Closed)
        return;
    m_state = State::Closed;
    m_loginTimer.stop();
    m_idleTimer.stop();
    m_router->streamEnded(this);
    if (m_socket) {
        QTimer::singleShot(closeGraceMs, m_socket, &QTcpSocket::abort);
        m_socket->disconnectFromHost();
    }
}

void ChatStream::abortConnection() {
    if (m_socket)
        m_socket->disconnect(this);
    finish();
    if (m_socket)
        m_socket->abort(); // nothing more goes out, not even the stream's end
    deleteLater();
}

void ChatStream::onDisconnected() {
    finish();
    deleteLater();
}
