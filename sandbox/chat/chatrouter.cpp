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
#include <iterator>

namespace {

constexpr int maxAutoReplyDelayMs = 60 * 1000;
// Message ids remembered per sender to drop repeats.
constexpr size_t recentIdsPerSender = 256;
// Generated contacts take ids from here on, clear of the world's.
constexpr quint64 firstGeneratedId = 100000000900001ULL;
const char *const generatedFirstNames[] = {"Ines", "Jonas", "Mette", "Tobias", "Kaja",  "Rune",
                                           "Liv",  "Emil",  "Selma", "Aksel",  "Frida", "Odin"};
const char *const generatedLastNames[] = {"Varga", "Holm", "Berg", "Dahl", "Lund", "Moe"};

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
    , m_fullJids(options.fullJids)
    , m_nextGeneratedId(firstGeneratedId)
    , m_store(options.stateDir, options.maxRecordedMessages, options.maxOfflineMessages) {}

QList<ChatContact> ChatRouter::rosterOf(const QString &userId) const {
    QList<ChatContact> roster = m_directory->rosterOf(userId) + m_addedContacts.value(userId);
    if (!m_names.isEmpty()) {
        for (ChatContact &contact : roster)
            contact.name = m_names.value(contact.userId, contact.name);
    }
    return roster;
}

bool ChatRouter::isPerson(const QString &userId) const {
    return m_generatedPeople.contains(userId) || m_directory->isPerson(userId);
}

QXmppRosterIq::Item ChatRouter::rosterItem(const ChatContact &contact) const {
    QXmppRosterIq::Item item;
    item.setBareJid(ChatJid::bare(contact.userId, m_domain));
    item.setName(contact.name);
    item.setSubscriptionType(QXmppRosterIq::Item::Both);
    return item;
}

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
    const QList<ChatContact> roster = rosterOf(stream->userId());
    for (const ChatContact &contact : roster) {
        const Presences presences = m_announced.value(contact.userId);
        for (auto it = presences.cbegin(); it != presences.cend(); ++it)
            stream->sendStanza(presenceStanza(contact.userId, it.key(), *it, stream->fullJid()));
    }
    deliverOffline(stream);
}

void ChatRouter::deliverOffline(ChatStream *stream) {
    const QList<OfflineMessage> waiting = m_store.takeOffline(stream->userId());
    for (const OfflineMessage &offline : waiting) {
        QXmppMessage message;
        message.setType(QXmppMessage::Chat);
        message.setId(offline.id);
        message.setFrom(addressOf(offline.from, offline.resource));
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

ChatRouter::Presences ChatRouter::visiblePresences(const QString &userId) const {
    Presences result;
    if (!m_fullJids) {
        const ChatPresence presence = effectivePresence(userId);
        if (presence.available)
            result.insert(QString(), presence);
        return result;
    }
    for (const ChatStream *stream : m_sessions.value(userId)) {
        const QXmppPresence &presence = stream->presence();
        if (presence.type() == QXmppPresence::Available)
            result.insert(stream->resource(),
                          {true, presence.availableStatusType(), presence.statusText()});
    }
    const ChatPresence virtualPresence = m_virtual.value(userId);
    if (virtualPresence.available)
        result.insert(QLatin1String(virtualResource), virtualPresence);
    return result;
}

void ChatRouter::announce(const QString &userId) {
    const Presences now = visiblePresences(userId);
    const Presences before = m_announced.value(userId);
    if (now == before)
        return;
    if (now.isEmpty())
        m_announced.remove(userId);
    else
        m_announced.insert(userId, now);
    // New and changed addresses first, then those gone: a contact who stays
    // online never looks off-line for a moment.
    QList<QPair<QString, ChatPresence>> changes;
    for (auto it = now.cbegin(); it != now.cend(); ++it)
        if (before.value(it.key()) != *it)
            changes.append({it.key(), *it});
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (!now.contains(it.key()))
            changes.append({it.key(), ChatPresence()});
    tellContactsOf(userId, [&](ChatStream *stream) {
        for (const auto &change : changes)
            stream->sendStanza(
                presenceStanza(userId, change.first, change.second, stream->fullJid()));
    });
}

void ChatRouter::tellContactsOf(const QString &userId,
                                const std::function<void(ChatStream *)> &send) {
    // A copy: sending can end a stream, which changes the sessions.
    const QHash<QString, QList<ChatStream *>> sessions = m_sessions;
    for (auto it = sessions.cbegin(); it != sessions.cend(); ++it) {
        if (it.key() == userId || !containsContact(rosterOf(it.key()), userId))
            continue;
        for (ChatStream *stream : it.value())
            send(stream);
    }
}

QString ChatRouter::addressOf(const QString &userId, const QString &resource) const {
    return m_fullJids
               ? ChatJid::full(userId, m_domain,
                               resource.isEmpty() ? QLatin1String(virtualResource) : resource)
               : ChatJid::bare(userId, m_domain);
}

QXmppPresence ChatRouter::presenceStanza(const QString &fromUserId, const QString &resource,
                                         const ChatPresence &presence, const QString &toJid) const {
    QXmppPresence stanza(presence.available ? QXmppPresence::Available
                                            : QXmppPresence::Unavailable);
    stanza.setFrom(resource.isEmpty() ? ChatJid::bare(fromUserId, m_domain)
                                      : ChatJid::full(fromUserId, m_domain, resource));
    stanza.setTo(toJid);
    if (presence.available) {
        stanza.setAvailableStatusType(presence.show);
        stanza.setStatusText(presence.statusText);
    }
    return stanza;
}

bool ChatRouter::route(const QString &fromUserId, const QString &toUserId,
                       const QXmppMessage &message, const QString &fromResource) {
    return routeMessage(fromUserId, fromResource, toUserId, message, true);
}

bool ChatRouter::routeMessage(const QString &fromUserId, const QString &fromResource,
                              const QString &toUserId, const QXmppMessage &message,
                              bool mayAnswer) {
    if (!isPerson(toUserId))
        return false;
    const QString body = message.body();
    if (body.isEmpty()) { // typing notifications are for those online only
        deliver(fromUserId, fromResource, toUserId, message);
        return true;
    }
    if (!isFirstSeen(fromUserId, message.id())) {
        qCDebug(lcSandboxChat) << "repeated message from" << fromUserId << "dropped";
        return true;
    }
    // Delivered first: keeping and telling others may take longer.
    const bool online = m_sessions.contains(toUserId);
    deliver(fromUserId, fromResource, toUserId, message);
    OfflineMessage offline;
    if (!online) {
        offline.from = fromUserId;
        offline.resource = fromResource;
        offline.id = message.id();
        offline.body = body;
        offline.subject = message.subject();
        offline.thread = message.thread();
        offline.stamp = QDateTime::currentDateTimeUtc();
    }
    m_store.add(toUserId, {fromUserId, body, message.id()}, online ? nullptr : &offline);
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

void ChatRouter::deliver(const QString &fromUserId, const QString &fromResource,
                         const QString &toUserId, QXmppMessage message) {
    const QList<ChatStream *> streams = m_sessions.value(toUserId);
    if (streams.isEmpty())
        return;
    message.setFrom(addressOf(fromUserId, fromResource));
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
    deliver(contactId, QString(), userId, typing);

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
        routeMessage(key.first, QString(), key.second, answer, false);
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

QStringList ChatRouter::addContacts(const QString &userId, int count) {
    constexpr int firstNames = int(std::size(generatedFirstNames));
    constexpr int lastNames = int(std::size(generatedLastNames));
    QStringList ids;
    QList<ChatContact> &added = m_addedContacts[userId];
    for (int i = 0; i < count; ++i) {
        QString id;
        do
            id = QString::number(m_nextGeneratedId++);
        while (isPerson(id));
        // Names repeat with a number, so lists hold equal names that sort by it.
        const int n = m_generatedPeople.size();
        const QString name =
            QStringLiteral("%1 %2 %3")
                .arg(QLatin1String(generatedFirstNames[n % firstNames]),
                     QLatin1String(generatedLastNames[(n / firstNames) % lastNames]))
                .arg(n / (firstNames * lastNames) + 1);
        m_generatedPeople.insert(id, name);
        added.append({id, name});
        ids.append(id);
        for (ChatStream *stream : m_sessions.value(userId))
            pushRosterTo(stream, added.last());
        setVirtualPresence(id, i % 4 == 3 ? QStringLiteral("away") : QString());
    }
    qCInfo(lcSandboxChat) << count << "contacts added for" << userId;
    return ids;
}

void ChatRouter::rename(const QString &userId, const QString &name) {
    m_names.insert(userId, name);
    tellContactsOf(userId, [&](ChatStream *stream) { pushRosterTo(stream, {userId, name}); });
}

void ChatRouter::pushRosterTo(ChatStream *stream, const ChatContact &contact) {
    // A roster push: the client's roster changes while it is connected.
    QXmppRosterIq push;
    push.setType(QXmppIq::Set);
    push.setTo(stream->fullJid());
    push.addItem(rosterItem(contact));
    stream->sendStanza(push);
}

void ChatRouter::setFullJids(bool on) {
    if (on == m_fullJids)
        return;
    m_fullJids = on;
    // Contacts see the old addresses go off-line and the new ones come on.
    const QStringList people = m_announced.keys() + m_sessions.keys() + m_virtual.keys();
    for (const QString &userId : QSet<QString>(people.cbegin(), people.cend()))
        announce(userId);
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
