#include "chatserver.h"

#include "chatjid.h"
#include "chatlogging.h"
#include "chatstream.h"

#include <QMetaType>
#include <QTcpSocket>
#include <QXmppMessage.h>

ChatServer::ChatServer(const ChatDirectory *directory, const QString &domain,
                       const ChatOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_router(directory, domain, options) {
    qRegisterMetaType<ChatMessages>("ChatMessages");
    connect(&m_server, &QTcpServer::newConnection, this, &ChatServer::acceptConnections);
    connect(&m_router, &ChatRouter::messageRouted, this, &ChatServer::messageRouted);
}

ChatServer::~ChatServer() {
    // The streams refer to the router, so they go first.
    m_server.close();
    dropConnections();
}

bool ChatServer::listen(const QHostAddress &address, quint16 port) {
    if (!address.isLoopback()) {
        m_error = QStringLiteral("the chat server listens on loopback addresses only");
        return false;
    }
    if (!m_server.listen(address, port)) {
        m_error = m_server.errorString();
        return false;
    }
    m_error.clear();
    m_address = address;
    m_port = m_server.serverPort();
    qCInfo(lcSandboxChat) << "chat listening on" << address.toString() << m_port;
    return true;
}

void ChatServer::close() {
    if (m_server.isListening())
        qCInfo(lcSandboxChat) << "chat server stopped";
    m_server.close();
    // Each stream goes once its peer has the error and has closed, or after
    // a grace period.
    for (ChatStream *stream : streams())
        stream->closeWithError(QStringLiteral("system-shutdown"));
}

bool ChatServer::resume() {
    return m_server.isListening() || (m_port != 0 && listen(m_address, m_port));
}

bool ChatServer::isListening() const {
    return m_server.isListening();
}

quint16 ChatServer::port() const {
    return m_port;
}

QString ChatServer::errorString() const {
    return m_error;
}

QString ChatServer::domain() const {
    return m_router.domain();
}

void ChatServer::setVirtualPresence(const QString &userId, const QString &show) {
    m_router.setVirtualPresence(userId, show);
}

void ChatServer::sendMessageAs(const QString &fromUserId, const QString &toUserId,
                               const QString &body, const QString &id) {
    if (!ChatJid::isUserId(fromUserId) || !ChatJid::isUserId(toUserId)) {
        qCWarning(lcSandboxChat) << "message between malformed user ids ignored";
        return;
    }
    QXmppMessage message;
    message.setType(QXmppMessage::Chat);
    message.setBody(body);
    message.setId(id);
    message.setState(QXmppMessage::Active);
    m_router.route(fromUserId, toUserId, message);
}

void ChatServer::sendTypingAs(const QString &fromUserId, const QString &toUserId, bool composing) {
    if (!ChatJid::isUserId(fromUserId) || !ChatJid::isUserId(toUserId)) {
        qCWarning(lcSandboxChat) << "typing notification between malformed user ids ignored";
        return;
    }
    QXmppMessage message;
    message.setType(QXmppMessage::Chat);
    message.setState(composing ? QXmppMessage::Composing : QXmppMessage::Paused);
    m_router.route(fromUserId, toUserId, message);
}

void ChatServer::setAutoReply(const QString &userId, int delayMs, const QString &text) {
    m_router.setAutoReply(userId, delayMs, text);
}

ChatMessages ChatServer::messagesTo(const QString &userId) const {
    return m_router.messagesTo(userId);
}

QStringList ChatServer::onlineUsers() const {
    return m_router.onlineUsers();
}

int ChatServer::dropUser(const QString &userId) {
    int dropped = 0;
    for (ChatStream *stream : streams()) {
        if (stream->userId() == userId && !stream->isClosed()) {
            stream->abortConnection();
            ++dropped;
        }
    }
    qCInfo(lcSandboxChat) << "dropped" << dropped << "connections of" << userId;
    return dropped;
}

QStringList ChatServer::addContacts(const QString &userId, int count) {
    return m_router.addContacts(userId, count);
}

void ChatServer::rename(const QString &userId, const QString &name) {
    m_router.rename(userId, name);
}

void ChatServer::setFullJids(bool on) {
    m_router.setFullJids(on);
}

bool ChatServer::isPerson(const QString &userId) const {
    return m_router.isPerson(userId);
}

void ChatServer::acceptConnections() {
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (m_connections < m_options.maxConnections) {
            ++m_connections;
            auto *stream = new ChatStream(socket, &m_router, m_options, this);
            connect(stream, &QObject::destroyed, this, [this] { --m_connections; });
        } else if (m_refused < m_options.maxConnections) {
            // The peer learns why: a stream header and a stream error.
            qCWarning(lcSandboxChat) << "too many connections; turning one away";
            ++m_refused;
            auto *stream = new ChatStream(socket, &m_router, m_options, this);
            connect(stream, &QObject::destroyed, this, [this] { --m_refused; });
            stream->closeWithError(QStringLiteral("resource-constraint"),
                                   QStringLiteral("too many connections"));
        } else {
            socket->abort(); // a flood: not even a word
            socket->deleteLater();
        }
    }
}

QList<ChatStream *> ChatServer::streams() const {
    return findChildren<ChatStream *>(QString(), Qt::FindDirectChildrenOnly);
}

void ChatServer::dropConnections() {
    const QList<ChatStream *> all = streams();
    for (ChatStream *stream : all)
        stream->closeWithError(QStringLiteral("system-shutdown"));
    qDeleteAll(all);
}
