#pragma once

#include "chatoptions.h"
#include "chatrouter.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPair>
#include <QStringList>
#include <QTcpServer>

class ChatStream;

class ChatDirectory;

// The sandbox's XMPP chat server (client-to-server streams, no TLS) on a
// loopback address. People log in with SASL X-FACEBOOK-PLATFORM (a Graph
// access token the directory knows, and the application id) or PLAIN (a
// fictional person's numeric id and password). A bound session is
// "-<id>@<domain>/<resource>"; its roster comes from the directory; contacts'
// presences and chat messages reach it from their bare addresses; messages
// for someone without a session wait for their next one (ChatOptions has the
// limits and where messages are kept across restarts).
//
// The public slots are the control interface for tests and demos. They may be
// called from other threads only through QMetaObject::invokeMethod (queued or
// blocking-queued); all of them return at once.
class ChatServer : public QObject {
    Q_OBJECT
public:
    // `directory` must outlive the server.
    explicit ChatServer(const ChatDirectory *directory, const QString &domain,
                        const ChatOptions &options = {}, QObject *parent = nullptr);
    ~ChatServer() override;

public slots:
    // Only loopback addresses are accepted; port 0 picks a free port.
    bool listen(const QHostAddress &address, quint16 port);
    // Stops listening and ends every connection with a system-shutdown stream
    // error. Everything else stays: messages waiting, presences, rosters.
    void close();
    // Listens again where the last listen() did; true if it does.
    bool resume();
    bool isListening() const;
    // The port it listens on, or listened on last.
    quint16 port() const;
    QString errorString() const;
    QString domain() const;

    // Shows a person without a connection of their own to everyone who has
    // them on their roster: show "" (available), "away", "xa", "dnd" or
    // "chat"; "unavailable" takes them off-line again.
    void setVirtualPresence(const QString &userId, const QString &show);
    // A chat message from `fromUserId` to every connection of `toUserId`, or
    // for their next session, with the id `id` (none when empty).
    void sendMessageAs(const QString &fromUserId, const QString &toUserId, const QString &body,
                       const QString &id = QString());
    // A typing notification (composing, or paused when `composing` is false).
    void sendTypingAs(const QString &fromUserId, const QString &toUserId, bool composing);
    // `userId` answers each chat message sent to them with a typing
    // notification and, `delayMs` later, `text`. An empty text turns it off.
    void setAutoReply(const QString &userId, int delayMs, const QString &text);
    // Every message body sent to `userId` (by connected people or through
    // sendMessageAs), oldest first, as (sender id, body); the last
    // ChatOptions::maxRecordedMessages are kept.
    ChatMessages messagesTo(const QString &userId) const;
    // People with at least one bound connection and people shown online
    // through setVirtualPresence, sorted.
    QStringList onlineUsers() const;
    // Ends every connection of `userId` without a stream end, as a lost
    // network would; returns how many.
    int dropUser(const QString &userId);
    // See ChatRouter.
    QStringList addContacts(const QString &userId, int count);
    void rename(const QString &userId, const QString &name);
    void setFullJids(bool on);
    bool isPerson(const QString &userId) const;

signals:
    // A message with a body was handed on or kept for its addressee.
    void messageRouted(QString fromUserId, QString toUserId, QString body);

private:
    void acceptConnections();
    void dropConnections();
    QList<ChatStream *> streams() const;

    ChatOptions m_options;
    QTcpServer m_server;
    QHostAddress m_address;
    quint16 m_port = 0;
    ChatRouter m_router;
    QString m_error;
    int m_connections = 0;
    int m_refused = 0; // turned away, still saying why
};
