#pragma once

#include "xmppstreamparser.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QXmppPresence.h>

class ChatRouter;
struct ChatOptions;
class QDomElement;
class QXmppMessage;
class QTcpSocket;
class QXmppIq;
class QXmppStanza;

// One client connection of the chat server: the XMPP stream from its header
// through SASL, the stream restart, resource binding and the session, to its
// end. Stanzas of a bound session go to the router; what the router sends
// back comes in through sendStanza(). The stream deletes itself (and its
// socket) once the connection is gone.
class ChatStream : public QObject {
    Q_OBJECT
public:
    ChatStream(QTcpSocket *socket, ChatRouter *router, const ChatOptions &options,
               QObject *parent = nullptr);
    ~ChatStream() override;

    bool isBound() const { return m_state == State::Bound; }
    bool isClosed() const { return m_state == State::Closed; }
    QString userId() const { return m_userId; }
    QString resource() const { return m_resource; }
    QString fullJid() const;
    // The last available or unavailable presence the client sent.
    const QXmppPresence &presence() const { return m_presence; }

    // Sends a stanza if the stream is still open.
    void sendStanza(const QXmppStanza &stanza);
    // Sends a stream error (e.g. "conflict") and ends the stream.
    void closeWithError(const QString &condition, const QString &text = QString());
    // Ends the connection without a word, as a lost network would; the
    // stream deletes itself.
    void abortConnection();

private:
    enum class State { AwaitingHeader, Authenticating, AwaitingBind, Bound, Closed };
    enum class SaslStep { None, PlainResponse, FacebookResponse };

    void readIncoming();
    void processEvents();
    void handleStreamOpened();
    void handleElement(const QDomElement &element);
    void handleSasl(const QDomElement &element);
    void handleAuth(const QDomElement &element);
    void handleResponse(const QDomElement &element);
    void handleIq(const QDomElement &element);
    void handleBind(const QDomElement &element);
    void handleMessage(const QDomElement &element);
    // Tells the sender that no one has the address `message` went to.
    void sendNotFound(const QXmppMessage &message);
    void handlePresence(const QDomElement &element);

    void acceptPlain(const QByteArray &message);
    void acceptFacebook(const QByteArray &message);
    void saslSucceeded(const QString &userId);
    void saslFailed(const QString &condition);

    void sendHeader();
    void sendFeatures();
    void sendIqResult(const QDomElement &request);
    void sendIqError(const QDomElement &request, int type, int condition);
    void writeRaw(const QByteArray &data);
    // Ends the stream: the router forgets it, the socket is closed.
    void finish();
    void onDisconnected();

    QPointer<QTcpSocket> m_socket;
    ChatRouter *m_router;
    XmppStreamParser m_parser;
    State m_state = State::AwaitingHeader;
    SaslStep m_saslStep = SaslStep::None;
    bool m_authenticated = false;
    bool m_headerSent = false;
    bool m_readScheduled = false;
    int m_failedLogins = 0;
    QString m_streamId;
    QString m_nonce;
    QString m_userId;
    QString m_resource;
    QXmppPresence m_presence{QXmppPresence::Unavailable};
    QTimer m_loginTimer;
    // Restarted by every byte until the stream is bound.
    QTimer m_idleTimer;
};
