#include "chatdata.h"

#include <QTime>
#include <QUuid>
#include <algorithm>

#include "logging.h"

namespace {
// The name of a roster contact without one.
const QString unnamed = QStringLiteral("-");

// The first character of `name`, a surrogate pair kept whole.
QString firstCharacter(const QString &name) {
    return name.left(!name.isEmpty() && name.at(0).isHighSurrogate() ? 2 : 1);
}
} // namespace

ChatData::ChatData(QObject *parent)
    : QObject(parent) {}

QString ChatData::bareJid(const QString &jid) {
    return jid.section(QLatin1Char('/'), 0, 0);
}

QString ChatData::numericId(const QString &jid) {
    QString local = bareJid(jid).section(QLatin1Char('@'), 0, 0);
    if (local.startsWith(QLatin1Char('-')))
        local.remove(0, 1);
    return local;
}

void ChatData::setOwnJid(const QString &jid) {
    if (jid == m_ownJid)
        return;
    m_ownJid = jid;
    emit ownJidChanged();
}

QQmlListProperty<FBUser> ChatData::users() {
    return chatitems::readOnlyList(this, &m_users);
}

QQmlListProperty<FBUser> ChatData::onlineUsers() {
    m_online.clear();
    for (FBUser *user : qAsConst(m_users))
        if (user->isOnline())
            m_online.append(user);
    return chatitems::readOnlyList(this, &m_online);
}

QQmlListProperty<Conversation> ChatData::conversations() {
    return chatitems::readOnlyList(this, &m_conversations);
}

FBUser *ChatData::user(const QString &jid) const {
    return m_userByJid.value(bareJid(jid));
}

Conversation *ChatData::conversation(const QString &jid) const {
    return m_conversationByJid.value(bareJid(jid));
}

void ChatData::setRoster(const Roster &roster) {
    const int before = m_users.size();
    QList<FBUser *> users;
    QHash<QString, FBUser *> byJid;
    for (const RosterContact &contact : roster) {
        const QString jid = bareJid(contact.jid);
        if (jid.isEmpty() || byJid.contains(jid))
            continue;
        FBUser *user = m_userByJid.take(jid);
        if (!user)
            user = new FBUser(this);
        const QString name = contact.name.isEmpty() ? unnamed : contact.name;
        user->setName(name);
        user->setJid(jid);
        user->setAlphabet(firstCharacter(name));
        showPresence(user);
        users.append(user);
        byJid.insert(jid, user);
    }
    // Contacts that left the roster: nothing refers to them any more.
    for (FBUser *gone : qAsConst(m_userByJid))
        gone->deleteLater();
    m_online.clear();
    m_users = users;
    m_userByJid = byJid;
    for (Conversation *c : qAsConst(m_conversations))
        c->setName(conversationName(c->jid(), c->name()));
    if (m_users.size() != before)
        emit totalUsersChanged();
    if (!m_conversations.isEmpty())
        emit contentChanged();
}

void ChatData::presenceChanged(QString jid, QString resource) {
    // `resource` carries the presence word: "", "away" or "unavailable".
    applyPresence(jid, resource == QLatin1String("unavailable") ? Availability::Offline
                       : resource == QLatin1String("away")      ? Availability::Away
                                                                : Availability::Online);
}

void ChatData::presenceReceived(const QString &jid, const QString &type, const QString &show) {
    if (type == QLatin1String("unavailable"))
        applyPresence(jid, Availability::Offline);
    else if (type.isEmpty() || type == QLatin1String("available"))
        applyPresence(jid,
                      show == QLatin1String("away") ? Availability::Away : Availability::Online);
}

void ChatData::applyPresence(const QString &jid, Availability availability) {
    const QString bare = bareJid(jid);
    if (bare.isEmpty())
        return;
    const QString resource = jid.mid(bare.size() + 1);
    auto &resources = m_presences[bare];
    auto same = [&resource](const QPair<QString, bool> &r) { return r.first == resource; };
    resources.erase(std::remove_if(resources.begin(), resources.end(), same), resources.end());
    if (availability != Availability::Offline)
        resources.append({resource, availability == Availability::Away});
    else if (resource.isEmpty())
        resources.clear(); // the bare JID went offline as a whole
    if (resources.isEmpty())
        m_presences.remove(bare);
    if (FBUser *u = m_userByJid.value(bare))
        showPresence(u);
}

void ChatData::showPresence(FBUser *user) const {
    const auto it = m_presences.constFind(user->jid());
    const bool online = it != m_presences.constEnd();
    user->setIsOnline(online);
    user->setIsAway(online && it->constLast().second);
}

void ChatData::sessionLost() {
    m_presences.clear();
    for (FBUser *user : qAsConst(m_users))
        showPresence(user);
}

void ChatData::messageReceived(QString jid, QString message) {
    fileIncoming({jid, {}, message, false, false});
}

ChatData::Filing ChatData::fileIncoming(const IncomingMessage &stanza) {
    const QString bare = bareJid(stanza.from);
    if (bare.isEmpty())
        return Filing::Ignored;
    if (stanza.error) {
        if (!sentMessage(stanza.id))
            return Filing::Ignored;
        setFailed(stanza.id);
        return Filing::Failed;
    }
    const bool own = !m_ownJid.isEmpty() && bare == bareJid(m_ownJid);
    if (stanza.body.isEmpty()) {
        if (!stanza.composing || own)
            return Filing::Ignored;
        emit messageReceived(QVariant(bare), QVariant(QString()));
        return Filing::Typing;
    }
    Conversation *c = conversation(bare);
    if (c && !c->rememberIncomingId(stanza.id))
        return Filing::Duplicate;
    if (!c) {
        c = openConversation(bare);
        c->rememberIncomingId(stanza.id);
    }
    c->append(newMessage(stanza.body, stanza.id, true));
    c->trimTo(messageLimit);
    if (!own)
        c->setHasNewMessages(true);
    emit conversationsChanged();
    emit contentChanged();
    if (own)
        return Filing::Own;
    emit messageReceived(QVariant(bare), QVariant(stanza.body));
    return Filing::Filed;
}

void ChatData::sendMessage(QString to, QString msg) {
    fileOutgoing(to, msg);
}

QString ChatData::fileOutgoing(const QString &to, const QString &text, const QString &id) {
    const QString bare = bareJid(to);
    if (bare.isEmpty() || text.isEmpty())
        return {};
    // A message sent again under its id is filed once.
    if (sentMessage(id))
        return id;
    const QString messageId =
        id.isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces) : id;
    Conversation *c = conversation(bare);
    if (!c)
        c = openConversation(bare);
    ChatMessage *message = newMessage(text, messageId, false);
    message->setPending(true);
    c->append(message);
    // Answering reads the conversation.
    c->setHasNewMessages(false);
    c->trimTo(messageLimit);
    emit conversationsChanged();
    emit contentChanged();
    return messageId;
}

ChatMessage *ChatData::sentMessage(const QString &id) const {
    if (id.isEmpty())
        return nullptr;
    for (const Conversation *c : m_conversations)
        for (ChatMessage *m : c->messageList())
            if (!m->receiver() && m->id() == id)
                return m;
    return nullptr;
}

void ChatData::setDelivered(const QString &id) {
    if (ChatMessage *m = sentMessage(id)) {
        m->setPending(false);
        emit contentChanged();
    }
}

void ChatData::setFailed(const QString &id) {
    if (ChatMessage *m = sentMessage(id)) {
        m->setPending(false);
        m->setFailed(true);
        emit conversationsChanged();
        emit contentChanged();
    }
}

ChatMessage *ChatData::newMessage(const QString &text, const QString &id, bool received) const {
    auto *message = new ChatMessage;
    message->setMessage(text);
    message->setId(id);
    message->setReceiver(received);
    message->setTime(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    return message;
}

Conversation *ChatData::openConversation(const QString &bareJid) {
    auto *c = new Conversation(this);
    c->setJid(bareJid);
    c->setName(conversationName(bareJid, {}));
    m_conversations.append(c);
    m_conversationByJid.insert(bareJid, c);
    emit conversationCountChanged();
    return c;
}

QString ChatData::conversationName(const QString &bareJid, const QString &stored) const {
    const FBUser *u = m_userByJid.value(bareJid);
    if (u && u->name() != unnamed)
        return u->name();
    return stored.isEmpty() ? numericId(bareJid) : stored;
}

void ChatData::clearConversation(QString jid) {
    if (Conversation *c = m_conversationByJid.take(bareJid(jid))) {
        m_conversations.removeOne(c);
        // A conversation page may still show it until the event loop runs.
        c->deleteLater();
        emit conversationCountChanged();
        emit contentChanged();
    }
    emit conversationsChanged();
}

void ChatData::markAsRead(QString jid) {
    Conversation *c = conversation(jid);
    if (c && c->hasNewMessages()) {
        c->setHasNewMessages(false);
        emit contentChanged();
    }
}

void ChatData::restoreConversation(const QString &jid, const QString &name, bool unread,
                                   const QList<ChatMessage *> &messages) {
    const QString bare = bareJid(jid);
    if (bare.isEmpty()) {
        qDeleteAll(messages);
        return;
    }
    Conversation *c = conversation(bare);
    if (!c)
        c = openConversation(bare);
    QList<ChatMessage *> older;
    for (ChatMessage *m : messages) {
        const bool known = std::any_of(c->messageList().cbegin(), c->messageList().cend(),
                                       [m](const ChatMessage *k) { return k->id() == m->id(); });
        if (known || (m->receiver() && !c->rememberIncomingId(m->id())))
            delete m;
        else
            older.append(m);
    }
    c->insertOlder(older);
    c->trimTo(messageLimit);
    c->setName(conversationName(bare, name));
    if (unread)
        c->setHasNewMessages(true);
    emit conversationsChanged();
}

void ChatData::clear() {
    const bool hadUsers = !m_users.isEmpty();
    const bool hadConversations = !m_conversations.isEmpty();
    for (FBUser *user : qAsConst(m_users))
        user->deleteLater();
    for (Conversation *c : qAsConst(m_conversations))
        c->deleteLater();
    m_users.clear();
    m_userByJid.clear();
    m_online.clear();
    m_conversations.clear();
    m_conversationByJid.clear();
    m_presences.clear();
    setOwnJid({});
    if (hadUsers)
        emit totalUsersChanged();
    if (hadConversations)
        emit conversationCountChanged();
    emit conversationsChanged();
    qCDebug(lcXmpp) << "chat model cleared";
}
