#include "xmppclient.h"

#include <QFileInfo>
#include <QHostAddress>
#include <QMediaPlayer>
#include <QUuid>
#include <QXmppMessage.h>
#include <QXmppPingIq.h>
#include <QXmppPresence.h>
#include <QXmppRosterManager.h>
#include <algorithm>

#include "logging.h"

namespace {

// A host on this machine may take the token without TLS (the sandbox has none).
bool isLoopback(const QString &host) {
    return host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
}

QXmppPresence presenceOf(QXmppPresence::Type type) {
    QXmppPresence presence(type);
    presence.setAvailableStatusType(QXmppPresence::Online);
    presence.setPriority(0);
    return presence;
}

QString typeWord(QXmppPresence::Type type) {
    switch (type) {
    case QXmppPresence::Available:
        return {};
    case QXmppPresence::Unavailable:
        return QStringLiteral("unavailable");
    case QXmppPresence::Error:
        return QStringLiteral("error");
    case QXmppPresence::Subscribe:
        return QStringLiteral("subscribe");
    case QXmppPresence::Subscribed:
        return QStringLiteral("subscribed");
    case QXmppPresence::Unsubscribe:
        return QStringLiteral("unsubscribe");
    case QXmppPresence::Unsubscribed:
        return QStringLiteral("unsubscribed");
    case QXmppPresence::Probe:
        return QStringLiteral("probe");
    }
    return {};
}

QString showWord(QXmppPresence::AvailableStatusType show) {
    switch (show) {
    case QXmppPresence::Away:
        return QStringLiteral("away");
    case QXmppPresence::XA:
        return QStringLiteral("xa");
    case QXmppPresence::DND:
        return QStringLiteral("dnd");
    case QXmppPresence::Chat:
        return QStringLiteral("chat");
    default:
        return {};
    }
}

} // namespace

xmppClient::xmppClient(const ServiceSettings &settings, QObject *parent)
    : QXmppClient(parent) {
    // The library logs nothing then: the SASL exchange carries the token.
    setLogger(nullptr);

    m_configuration.setDomain(settings.chatDomain);
    if (!settings.chatHost.isEmpty())
        m_configuration.setHost(settings.chatHost);
    if (settings.chatPort > 0)
        m_configuration.setPort(settings.chatPort);
    m_configuration.setFacebookAppId(settings.appId);
    m_configuration.setSaslAuthMechanism(QStringLiteral("X-FACEBOOK-PLATFORM"));
    // Reconnection is ours: the library's gives up after a clean close.
    m_configuration.setAutoReconnectionEnabled(false);
    m_configuration.setIgnoreSslErrors(false);
    m_configuration.setStreamSecurityMode(isLoopback(settings.chatHost)
                                              ? QXmppConfiguration::TLSEnabled
                                              : QXmppConfiguration::TLSRequired);

    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &xmppClient::connectNow);
    connect(this, &QXmppClient::connected, this, &xmppClient::sessionStarted);
    connect(this, &QXmppClient::disconnected, this, &xmppClient::connectionEnded);
    connect(this, &QXmppClient::error, this, &xmppClient::failed);
    connect(this, &QXmppClient::presenceReceived, this, &xmppClient::presenceArrived);
    connect(this, &QXmppClient::messageReceived, this, &xmppClient::messageArrived);
    connect(this, &QXmppClient::iqReceived, this, &xmppClient::iqArrived);
    if (auto *roster = findExtension<QXmppRosterManager>()) {
        connect(roster, &QXmppRosterManager::rosterReceived, this, &xmppClient::rosterArrived);
        // The server's roster pushes: contacts added, renamed or removed
        // during the session. A burst of pushes (a thousand contacts added at
        // once) gives the model one new roster, not one per push.
        m_rosterPush.setSingleShot(true);
        m_rosterPush.setInterval(0);
        connect(&m_rosterPush, &QTimer::timeout, this, &xmppClient::rosterChanged);
        for (auto changed : {&QXmppRosterManager::itemAdded, &QXmppRosterManager::itemChanged,
                             &QXmppRosterManager::itemRemoved})
            connect(roster, changed, &m_rosterPush, qOverload<>(&QTimer::start));
    }
}

xmppClient::~xmppClient() {
    // The library's own end emits no more into this half-destroyed object.
    QObject::disconnect(this, nullptr, this, nullptr);
    m_retry.stop();
    qDeleteAll(m_players);
}

QStringList xmppClient::pendingIds() const {
    QStringList ids;
    for (const Outgoing &message : m_outbox)
        ids.append(message.id);
    return ids;
}

void xmppClient::connectChat(QString sessionKey) {
    if (sessionKey.isEmpty() || (sessionKey == m_token && (m_wanted || m_refused)))
        return;
    m_token = sessionKey;
    m_configuration.setFacebookAccessToken(sessionKey);
    m_refused = false;
    m_wanted = true;
    m_available = true;
    m_retryDelay = firstRetryMs;
    if (state() != DisconnectedState) {
        // Another token: the next session is the new one's.
        m_wanted = false;
        disconnectFromServer();
        m_wanted = true;
    }
    connectNow();
}

void xmppClient::connectNow() {
    if (!m_wanted || m_refused)
        return;
    if (state() != DisconnectedState) {
        scheduleRetry();
        return;
    }
    qCDebug(lcXmpp) << "connecting to the chat server";
    // Shown offline until the roster is in.
    connectToServer(m_configuration, presenceOf(QXmppPresence::Unavailable));
}

void xmppClient::scheduleRetry() {
    if (!m_wanted || m_refused || m_retry.isActive())
        return;
    qCDebug(lcXmpp) << "connecting again in" << m_retryDelay << "ms";
    m_retry.start(m_retryDelay);
    m_retryDelay = qMin(m_retryDelay * 2, lastRetryMs);
}

void xmppClient::stop() {
    m_wanted = false;
    m_retry.stop();
    if (state() != DisconnectedState)
        disconnectFromServer();
}

void xmppClient::disconnectChat() {
    stop();
    m_token.clear();
    m_refused = false;
    m_outbox.clear();
    m_pings.clear();
    emit accountCleared();
}

void xmppClient::setPresence(bool available) {
    m_available = available;
    if (!available) {
        // The library sends the unavailable presence, then closes the stream.
        m_wanted = false;
        m_retry.stop();
        if (isAuthenticated())
            setClientPresence(presenceOf(QXmppPresence::Unavailable));
        else if (state() != DisconnectedState)
            disconnectFromServer(); // still logging in: the library would go on
        return;
    }
    if (m_token.isEmpty() || m_refused)
        return;
    m_wanted = true;
    if (isAuthenticated())
        setClientPresence(presenceOf(QXmppPresence::Available));
    else if (state() == DisconnectedState && !m_retry.isActive())
        connectNow();
}

void xmppClient::sessionStarted() {
    if (!m_wanted) {
        disconnectFromServer();
        return;
    }
    m_hadSession = true;
    m_retryDelay = firstRetryMs;
    m_retry.stop();
    const QString jid = configuration().jid();
    qCDebug(lcXmpp) << "chat session established as" << jid;
    emit ownJidReceived(jid);
    emit clientConnected(jid);
    flushOutbox();
}

void xmppClient::connectionEnded() {
    m_pings.clear();
    for (Outgoing &message : m_outbox)
        message.sent = false;
    if (m_hadSession) {
        m_hadSession = false;
        qCDebug(lcXmpp) << "chat session ended";
        emit connectionLost();
    }
    scheduleRetry();
}

void xmppClient::failed(QXmppClient::Error error) {
    const auto condition = xmppStreamError();
    if (error == XmppStreamError && (condition == QXmppStanza::Error::NotAuthorized ||
                                     condition == QXmppStanza::Error::Conflict)) {
        qCWarning(lcXmpp) << "the chat server refused the session:"
                          << (condition == QXmppStanza::Error::Conflict ? "conflict"
                                                                        : "not authorized");
        m_refused = true;
        m_retry.stop();
        return;
    }
    qCDebug(lcXmpp) << "chat connection error" << error;
    if (state() == DisconnectedState)
        scheduleRetry();
}

void xmppClient::rosterChanged() {
    m_rosterPush.stop();
    if (auto *roster = findExtension<QXmppRosterManager>())
        emit rosterReceived(rosterOf(*roster));
}

void xmppClient::rosterArrived() {
    rosterChanged();
    if (m_available)
        setClientPresence(presenceOf(QXmppPresence::Available));
}

void xmppClient::presenceArrived(const QXmppPresence &presence) {
    emit presenceUpdate(presence.from(), typeWord(presence.type()),
                        showWord(presence.availableStatusType()));
}

void xmppClient::messageArrived(const QXmppMessage &message) {
    IncomingMessage stanza;
    stanza.from = message.from();
    stanza.id = message.id();
    stanza.body = message.body();
    stanza.error = message.type() == QXmppMessage::Error;
    stanza.composing = message.state() == QXmppMessage::Composing;
    if (stanza.error)
        drop(stanza.id); // refused: filed as failed, never sent again
    emit msgReceived(stanza);
}

void xmppClient::sendMessage(QString to, QString msg) {
    if (to.isEmpty() || msg.trimmed().isEmpty())
        return;
    Outgoing message{to, msg, QUuid::createUuid().toString(QUuid::WithoutBraces)};
    m_outbox.append(message);
    emit msgSent(message.to, message.text, message.id);
    flushOutbox();
}

void xmppClient::requeue(QString to, QString text, QString id) {
    const auto same = [&id](const Outgoing &message) { return message.id == id; };
    if (to.isEmpty() || text.isEmpty() || id.isEmpty() ||
        std::any_of(m_outbox.cbegin(), m_outbox.cend(), same))
        return;
    const auto firstNew = std::find_if(m_outbox.begin(), m_outbox.end(),
                                       [](const Outgoing &message) { return !message.restored; });
    // Sent with the others when the session starts (ownJidReceived comes
    // just before), so nothing newer goes out first.
    m_outbox.insert(firstNew, Outgoing{to, text, id, false, true});
}

void xmppClient::flushOutbox() {
    if (!isAuthenticated())
        return;
    QStringList sent;
    for (Outgoing &outgoing : m_outbox) {
        if (outgoing.sent)
            continue;
        QXmppMessage message(QString(), outgoing.to, outgoing.text);
        message.setType(QXmppMessage::Chat);
        message.setId(outgoing.id);
        if (!sendPacket(message))
            break;
        outgoing.sent = true;
        sent.append(outgoing.id);
    }
    if (sent.isEmpty())
        return;
    // The stream is in order: the answer to this ping means the server has
    // every message sent before it.
    QXmppPingIq ping;
    if (ping.id().isEmpty())
        ping.setId(QUuid::createUuid().toString(QUuid::WithoutBraces));
    m_pings.insert(ping.id(), sent);
    sendPacket(ping);
}

void xmppClient::iqArrived(const QXmppIq &iq) {
    const QStringList confirmed = m_pings.take(iq.id());
    for (const QString &id : confirmed) {
        if (std::any_of(m_outbox.cbegin(), m_outbox.cend(),
                        [&](const Outgoing &message) { return message.id == id; })) {
            drop(id);
            emit msgDelivered(id);
        }
    }
}

void xmppClient::drop(const QString &id) {
    m_outbox.erase(std::remove_if(m_outbox.begin(), m_outbox.end(),
                                  [&](const Outgoing &message) { return message.id == id; }),
                   m_outbox.end());
}

void xmppClient::playsound(QString dir, QString sound, QString full) {
    const bool loud = full == QLatin1String("1");
    const bool chat = sound == QLatin1String("chat");
    const QString file =
        chat ? (loud ? QStringLiteral("chat.wav") : QStringLiteral("chat_sil.wav"))
             : (loud ? QStringLiteral("notification.wav") : QStringLiteral("notification_sil.wav"));
    const QString path = dir + QStringLiteral("kelvosounds/") + file;
    if (!QFileInfo::exists(path))
        return;
    QMediaPlayer *&player = m_players[path];
    if (!player) {
        player = new QMediaPlayer;
        player->setMedia(QUrl::fromLocalFile(path));
    }
    player->stop();
    player->setVolume(100);
    player->play();
}
