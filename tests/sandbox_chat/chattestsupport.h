#pragma once

#include "chatserver.h"
#include "memorychatdirectory.h"

#include <QByteArray>
#include <QObject>
#include <QTcpSocket>
#include <QXmppClient.h>
#include <QXmppConfiguration.h>
#include <QXmppMessage.h>
#include <QXmppPresence.h>
#include <memory>

namespace ChatTest {

// The people of the default world.
inline const QString first = QLatin1String(MemoryChatDirectory::firstUser);
inline const QString second = QLatin1String(MemoryChatDirectory::secondUser);
inline const QString ada = QLatin1String(MemoryChatDirectory::ada);
inline const QString nameless = QLatin1String(MemoryChatDirectory::nameless);
inline const QString bea = QLatin1String(MemoryChatDirectory::bea);
constexpr int timeout = 10000;
#define TRY_COMPARE(actual, expected) QTRY_COMPARE_WITH_TIMEOUT(actual, expected, ChatTest::timeout)
#define TRY_VERIFY(condition) QTRY_VERIFY_WITH_TIMEOUT(condition, ChatTest::timeout)

QString bareJid(const QString &userId);
QXmppMessage chatMessage(const QString &to, const QString &body, const QString &id = QString());

// A chat server on a free loopback port over the default fictional world.
struct Server {
    explicit Server(const ChatOptions &options = {});
    bool start();

    MemoryChatDirectory directory;
    ChatServer server;
};

// A test case with a fresh server for each test function.
class ServerTest : public QObject {
    Q_OBJECT
protected:
    ChatServer &server() { return m_server->server; }
    quint16 port() { return server().port(); }
    // Replaces the server with one that has these options.
    bool restart(const ChatOptions &options = {});

    std::unique_ptr<Server> m_server;

private slots:
    void init();
    void cleanup();
};

// Configurations as the app and a scripted contact would make them (no TLS,
// no reconnection, so failures stay visible).
QXmppConfiguration
facebookConfiguration(quint16 port, const QString &token,
                      const QString &appId = QLatin1String(MemoryChatDirectory::appId));
QXmppConfiguration plainConfiguration(quint16 port, const QString &user, const QString &password);

// Connects and waits until the session is established (true) or the client
// failed or gave up (false).
bool connectClient(QXmppClient &client, const QXmppConfiguration &configuration,
                   const QXmppPresence &initialPresence = QXmppPresence());

// Everything a client receives, in order.
class Inbox : public QObject {
    Q_OBJECT
public:
    explicit Inbox(QXmppClient *client);

    QList<QXmppMessage> messages;
    QList<QXmppPresence> presences;

    // What came from a person's bare address.
    QList<QXmppMessage> messagesFrom(const QString &userId) const;
    QList<QXmppPresence> presencesFrom(const QString &userId) const;
    // Message bodies, empty ones (typing notifications) left out.
    QStringList bodiesFrom(const QString &userId) const;
};

// A QXmpp client that keeps everything it receives, from before it connects.
class Session : public QXmppClient {
    Q_OBJECT
public:
    Inbox inbox{this};
    // Logs in as a person of the default world with their token.
    bool logIn(quint16 port, const QString &userId,
               const QXmppPresence &initialPresence = QXmppPresence(),
               const QString &resource = QString());
};

// A bare TCP peer that speaks the XMPP stream by hand, for what a well-behaved
// client library never sends.
class RawPeer : public QObject {
    Q_OBJECT
public:
    bool connectTo(quint16 port);
    void send(const QByteArray &data);
    // Waits until the bytes received since the last mark contain `needle`.
    bool waitFor(const QByteArray &needle, int timeoutMs = 10000);
    // Forgets what was received so far for the next waitFor().
    void mark();
    // Marks, sends and waits for `until`: what came since, or nothing on a timeout.
    QByteArray ask(const QByteArray &data, const QByteArray &until);
    QByteArray received() const { return m_received; }
    QByteArray sinceMark() const { return m_received.mid(m_mark); }
    bool waitForDisconnected(int timeoutMs = 10000);
    // Whether what the server sent since the last stream header is
    // well-formed XML so far: empty, or the parser's complaint.
    QString currentStreamError() const;
    bool isConnected() const;
    void abort();
    // From now on nothing is read: the peer's buffers fill up and TCP stalls.
    void stopReading();

    static QByteArray header(const QString &domain = QLatin1String(MemoryChatDirectory::domain));
    static QByteArray plainAuth(const QString &authcid, const QString &password);
    // Header, PLAIN and the restart; true once the new features are in.
    bool authenticate(const QString &authcid, const QString &password);
    // Header, PLAIN, restart, bind and session; true once bound.
    bool logInWithPlain(const QString &authcid, const QString &password,
                        const QString &resource = QStringLiteral("raw"));
    // Connects and sends a stream header; true once the features are in.
    bool open(quint16 port);
    // Connects and logs in as a person of the default world.
    bool logIn(quint16 port, const QString &userId,
               const QString &resource = QStringLiteral("raw"));

private:
    QTcpSocket m_socket;
    QByteArray m_received;
    int m_mark = 0;
};

} // namespace ChatTest
