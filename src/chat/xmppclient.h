#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <QXmppClient.h>
#include <QXmppConfiguration.h>

#include "chatdata.h"
#include "serviceconfig.h"

class QMediaPlayer;
class QXmppIq;
class QXmppMessage;
class QXmppPresence;

// The chat connection: logs in with the user's access token (SASL
// X-FACEBOOK-PLATFORM), hands the roster, presences and messages to the chat
// model through its signals and keeps its own session alive. A session lost
// to anything but a refusal (not-authorized, conflict) or the user's own
// disconnect is tried again after 1 s, doubling up to 60 s. Messages go
// through an outbox: filed as pending, sent with their id once a session
// exists (again after a lost one), delivered once the server answers a ping
// sent after them.
class xmppClient : public QXmppClient {
    Q_OBJECT

public:
    static constexpr int firstRetryMs = 1000;
    static constexpr int lastRetryMs = 60000;

    explicit xmppClient(const ServiceSettings &settings, QObject *parent = nullptr);
    ~xmppClient() override;

    // Messages not yet confirmed by the server, oldest first.
    QStringList pendingIds() const;
    // The delay before the next attempt to connect again.
    int retryDelay() const { return m_retryDelay; }
    // Whether a refusal (dead token, another session taking over) ended the
    // attempts until the next connectChat with another token.
    bool refused() const { return m_refused; }

signals:
    // The session is established, with the full JID the server bound.
    void clientConnected(QVariant ownJid);
    void ownJidReceived(QString jid);
    // The session is gone (it may come back): nobody is known online.
    void connectionLost();
    // A new roster, for the model; then for the scene.
    void rosterReceived(Roster roster);
    // A presence stanza: type as on the wire ("" available), its show.
    void presenceUpdate(QString jid, QString type, QString show);
    // A message stanza to be filed by the model.
    void msgReceived(IncomingMessage message);
    // A message the user sends, to be filed as pending under `id`.
    void msgSent(QString to, QString text, QString id);
    void msgDelivered(QString id);
    // The account is signed out: the model forgets it.
    void accountCleared();
    // Has no emitter here; the root window re-applies its chat setting.
    void setPresence();

public slots:
    void sendMessage(QString to, QString msg);
    // A message still pending when an earlier run ended (already filed by
    // the model): sent again under its id at the next session start, after
    // the others put back before it and before anything written in this run.
    void requeue(QString to, QString text, QString id);
    void connectChat(QString sessionKey);
    void disconnectChat();
    void setPresence(bool available);
    void playsound(QString dir, QString sound, QString full);

private:
    struct Outgoing {
        QString to;
        QString text;
        QString id;
        bool sent = false;     // on the current session
        bool restored = false; // from an earlier run
    };

    void sessionStarted();
    void rosterArrived();
    void rosterChanged();
    void presenceArrived(const QXmppPresence &presence);
    void messageArrived(const QXmppMessage &message);
    void iqArrived(const QXmppIq &iq);
    void failed(QXmppClient::Error error);
    void connectionEnded();
    void scheduleRetry();
    void connectNow();
    void stop();
    void flushOutbox();
    void drop(const QString &id);

    QXmppConfiguration m_configuration;
    QString m_token;
    bool m_wanted = false;  // the user wants a session
    bool m_refused = false; // the server refused the token or took the session
    bool m_hadSession = false;
    bool m_available = true;
    int m_retryDelay = firstRetryMs;
    QTimer m_retry;
    QTimer m_rosterPush;
    QList<Outgoing> m_outbox;
    // Per ping sent on this session, the message ids it confirms.
    QHash<QString, QStringList> m_pings;
    QHash<QString, QMediaPlayer *> m_players;
};
