#include "chatrouter.h"

#include "chatdirectory.h"
#include "chatjid.h"
#include "chatlogging.h"
#include "chatsasl.h"
#include "chatstream.h"

#include <QDateTime>
#include <QTimer>
#include <QXmppMessage.h>
#include <algorithm>

namespace {

constexpr int maxAutoReplyDelayMs = 60 * 1000;
// Message ids remembered per sender to drop repeats.
constexpr size_t recentIdsPerSender = 256;

bool containsContact(const QList<ChatContact> &roster, const QString &userId) {
    return std::any_of(roster.cbegin(), roster.cend(),
                       [&userId](const ChatContact &contact) { return contact.userId == userId; });
}

} // namespace

ChatRouter::ChatRouter(const ChatDirectory *directory, const QString &domain,
                       const ChatOptions &options, QObject *parent)
    : QObject(parent)
    , m_directory(directory)
    , m_domain(domain)
    , m_maxSessionsPerUser(options.maxSessionsPerUser)
    , m_store(options.stateDir, options.maxRecordedMessages, options.maxOfflineMessages) {}

QString ChatRouter::bind(ChatStream *stream, const QString &userId,
                         const QString &requestedResource) {
    QString resource = ChatJid::isAcceptableResource(requestedResource) ? requestedResource
                                                                        : generatedResource(userId);
    // The newest connection wins: an older one under the same address is
    // most likely a dead connection the client has already given up on.
    const QList<ChatStream *> existing = m_sessions.value(userId);
    const auto replaced = std::count_if(existing.cbegin(), existing.cend(), [&](ChatStream *other) {
        return other->resource() == resource;
    });
    if (existing.size() - replaced >= m_maxSessionsPerUser) {
        qCWarning(lcSandboxChat) << userId << "has" << existing.size() << "sessions; no more";
        return {};
    }
    for (ChatStream *other : existing) {
        if (other->resource() == resource)
            other->closeWithError(QStringLiteral("conflict"),
                                  QStringLiteral("replaced by a new connection"));
    }
    m_sessions[userId].append(stream);
    qCDebug(lcSandboxChat) << "bound" << userId << "resource" << resource;
    return resource;
}

void ChatRouter::startSession(ChatStream *stream) {
    const QList<ChatContact> roster = m_directory->rosterOf(stream->userId());
    for (const ChatContact &contact : roster) {
        const ChatPresence presence = m_announced.value(contact.userId);
        if (presence.available)
            stream->sendStanza(presenceStanza(contact.userId, presence, stream->fullJid()));
    }
    deliverOffline(stream);
}

void ChatRouter::deliverOffline(ChatStream *stream) {
    const QList<OfflineMessage> waiting = m_store.takeOffline(stream->userId());
    for (const OfflineMessage &offline : waiting) {
        QXmppMessage message;
        message.setType(QXmppMessage::Chat);
        message.setId(offline.id);
        message.setFrom(ChatJid::bare(offline.from, m_domain));
        message.setTo(stream->fullJid());
        message.setBody(offline.body);
        message.setSubject(offline.subject);
        message.setThread(offline.thread);
        message.setStamp(offline.stamp); // a <delay/> with the time it was sent
        stream->sendStanza(message);
    }
    if (!waiting.isEmpty())
        qCInfo(lcSandboxChat) << waiting.size() << "offline messages delivered to"
                              << stream->userId();
}

void ChatRouter::updatePresence(ChatStream *stream) {
    m_presenceOrder[stream] = ++m_presenceClock;
    announce(stream->userId());
}

void ChatRouter::streamEnded(ChatStream *stream) {
    m_presenceOrder.remove(stream);
    const QString userId = stream->userId();
    auto it = m_sessions.find(userId);
    if (it == m_sessions.end() || !it->removeOne(stream))
        return;
    if (it->isEmpty())
        m_sessions.erase(it);
    qCDebug(lcSandboxChat) << "session ended:" << userId;
    announce(userId);
}

ChatPresence ChatRouter::effectivePresence(const QString &userId) const {
    const ChatStream *chosen = nullptr;
    for (const ChatStream *stream : m_sessions.value(userId)) {
        const QXmppPresence &presence = stream->presence();
        if (presence.type() != QXmppPresence::Available)
            continue;
        if (!chosen || presence.priority() > chosen->presence().priority() ||
            (presence.priority() == chosen->presence().priority() &&
             m_presenceOrder.value(stream) > m_presenceOrder.value(chosen)))
            chosen = stream;
    }
    if (!chosen)
        return m_virtual.value(userId);
    ChatPresence result;
    result.available = true;
    result.show = chosen->presence().availableStatusType();
    result.statusText = chosen->presence().statusText();
    return result;
}

void ChatRouter::announce(const QString &userId) {
    const ChatPresence presence = effectivePresence(userId);
    if (presence == m_announced.value(userId))
        return;
    if (presence.available)
        m_announced.insert(userId, presence);
    else
        m_announced.remove(userId);

    // A copy: sending can end a stream, which changes the sessions.
    const QHash<QString, QList<ChatStream *>> sessions = m_sessions;
    for (auto it = sessions.cbegin(); it != sessions.cend(); ++it) {
        if (it.key() == userId || !containsContact(m_directory->rosterOf(it.key()), userId))
            continue;
        for (ChatStream *stream : it.value())
            stream->sendStanza(presenceStanza(userId, presence, stream->fullJid()));
    }
}

QXmppPresence ChatRouter::presenceStanza(const QString &fromUserId, const ChatPresence &presence,
                                         const QString &toJid) const {
    QXmppPresence stanza(presence.available ? QXmppPresence::Available
                                            : QXmppPresence::Unavailable);
    stanza.setFrom(ChatJid::bare(fromUserId, m_domain));
    stanza.setTo(toJid);
    if (presence.available) {
        stanza.setAvailableStatusType(presence.show);
        stanza.setStatusText(presence.statusText);
    }
    return stanza;
}

bool ChatRouter::route(const QString &fromUserId, const QString &toUserId,
                       const QXmppMessage &message) {
    return routeMessage(fromUserId, toUserId, message, true);
}

bool ChatRouter::routeMessage(const QString &fromUserId, const QString &toUserId,
                              const QXmppMessage &message, bool mayAnswer) {
    if (!m_directory->isPerson(toUserId))
        return false;
    const QString body = message.body();
    if (body.isEmpty()) { // typing notifications are for those online only
        deliver(fromUserId, toUserId, message);
        return true;
    }
    if (!isFirstSeen(fromUserId, message.id())) {
        qCDebug(lcSandboxChat) << "repeated message from" << fromUserId << "dropped";
        return true;
    }
    // Delivered first: keeping and telling others may take longer.
    const bool online = m_sessions.contains(toUserId);
    deliver(fromUserId, toUserId, message);
    OfflineMessage offline;
    if (!online) {
        offline.from = fromUserId;
        offline.id = message.id();
        offline.body = body;
        offline.subject = message.subject();
        offline.thread = message.thread();
        offline.stamp = QDateTime::currentDateTimeUtc();
    }
    m_store.add(toUserId, fromUserId, body, online ? nullptr : &offline);
    emit messageRouted(fromUserId, toUserId, body);
    if (mayAnswer && m_autoReplies.contains(toUserId) && toUserId != fromUserId)
        scheduleAutoReply(toUserId, fromUserId);
    return true;
}

bool ChatRouter::isFirstSeen(const QString &fromUserId, const QString &id) {
    if (id.isEmpty())
        return true;
    RecentIds &recent = m_recentIds[fromUserId];
    if (recent.ids.contains(id))
        return false;
    recent.ids.insert(id);
    recent.order.push_back(id);
    if (recent.order.size() > recentIdsPerSender) {
        recent.ids.remove(recent.order.front());
        recent.order.pop_front();
    }
    return true;
}

void ChatRouter::deliver(const QString &fromUserId, const QString &toUserId, QXmppMessage message) {
    const QList<ChatStream *> streams = m_sessions.value(toUserId);
    if (streams.isEmpty())
        return;
    message.setFrom(ChatJid::bare(fromUserId, m_domain));
    for (ChatStream *stream : streams) {
        message.setTo(stream->fullJid());
        stream->sendStanza(message);
    }
}

void ChatRouter::scheduleAutoReply(const QString &contactId, const QString &userId) {
    // One answer at a time per conversation, however fast messages come in.
    const QPair<QString, QString> key{contactId, userId};
    if (m_pendingReplies.contains(key))
        return;
    m_pendingReplies.insert(key);

    QXmppMessage typing;
    typing.setType(QXmppMessage::Chat);
    typing.setState(QXmppMessage::Composing);
    deliver(contactId, userId, typing);

    QTimer::singleShot(m_autoReplies.value(contactId).delayMs, this, [this, key] {
        m_pendingReplies.remove(key);
        const auto reply = m_autoReplies.constFind(key.first);
        if (reply == m_autoReplies.cend())
            return;
        QXmppMessage answer;
        answer.setType(QXmppMessage::Chat);
        answer.setBody(reply->text);
        answer.setState(QXmppMessage::Active);
        // An answer never triggers another one: two answering contacts
        // would otherwise talk to each other for ever.
        routeMessage(key.first, key.second, answer, false);
    });
}

void ChatRouter::setVirtualPresence(const QString &userId, const QString &show) {
    if (!ChatJid::isUserId(userId)) {
        qCWarning(lcSandboxChat) << "virtual presence for a malformed user id ignored";
        return;
    }
    static const QHash<QString, QXmppPresence::AvailableStatusType> shows = {
        {QStringLiteral(""), QXmppPresence::Online},
        {QStringLiteral("away"), QXmppPresence::Away},
        {QStringLiteral("xa"), QXmppPresence::XA},
        {QStringLiteral("dnd"), QXmppPresence::DND},
        {QStringLiteral("chat"), QXmppPresence::Chat},
    };
    const auto found = shows.constFind(show);
    if (show == QLatin1String("unavailable")) {
        m_virtual.remove(userId);
    } else if (found != shows.cend()) {
        ChatPresence presence;
        presence.available = true;
        presence.show = found.value();
        m_virtual.insert(userId, presence);
    } else {
        qCWarning(lcSandboxChat) << "unknown presence" << show;
        return;
    }
    announce(userId);
}

void ChatRouter::setAutoReply(const QString &userId, int delayMs, const QString &text) {
    if (!ChatJid::isUserId(userId)) {
        qCWarning(lcSandboxChat) << "automatic answer for a malformed user id ignored";
        return;
    }
    if (text.isEmpty()) {
        m_autoReplies.remove(userId);
        return;
    }
    m_autoReplies.insert(userId, {std::clamp(delayMs, 0, maxAutoReplyDelayMs), text});
}

QStringList ChatRouter::onlineUsers() const {
    QSet<QString> users;
    for (auto it = m_sessions.cbegin(); it != m_sessions.cend(); ++it)
        users.insert(it.key());
    for (auto it = m_virtual.cbegin(); it != m_virtual.cend(); ++it)
        users.insert(it.key());
    QStringList result = users.values();
    std::sort(result.begin(), result.end());
    return result;
}

QString ChatRouter::generatedResource(const QString &userId) const {
    const QList<ChatStream *> streams = m_sessions.value(userId);
    for (;;) {
        const QString resource = QStringLiteral("kelvo-") + ChatSasl::makeNonce().left(8);
        const bool taken = std::any_of(streams.cbegin(), streams.cend(),
                                       [&](ChatStream *s) { return s->resource() == resource; });
        if (!taken)
            return resource;
    }
}
