#include "chatcache.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <utility>

#include "chatdata.h"
#include "logging.h"
#include "privatefolder.h"

namespace {
const QString accountKey = QStringLiteral("account");
const QString conversationsKey = QStringLiteral("conversations");
const QString tokensKey = QStringLiteral("tokens");
const QString tokenKey = QStringLiteral("token");

// The same token reaches us bare and as the query pair "access_token=...".
QString tokenFingerprint(const QString &token) {
    const QString prefix = QStringLiteral("access_token=");
    return privatefile::fingerprint(token.startsWith(prefix) ? token.mid(prefix.size()) : token);
}

QJsonObject messageObject(const ChatMessage *m) {
    return {{"id", m->id()},           {"text", m->message()},
            {"time", m->time()},       {"received", m->receiver()},
            {"pending", m->pending()}, {"failed", m->failed()}};
}

ChatMessage *messageFrom(const QJsonObject &o) {
    auto *m = new ChatMessage;
    m->setId(o.value("id").toString());
    m->setMessage(o.value("text").toString());
    m->setTime(o.value("time").toString());
    m->setReceiver(o.value("received").toBool());
    m->setFailed(o.value("failed").toBool());
    // Only a sent message waits for the server.
    m->setPending(!m->receiver() && !m->failed() && o.value("pending").toBool());
    return m;
}
} // namespace

ChatCache::ChatCache(const QString &folder, ChatData *model, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
    , m_model(model) {
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(saveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &ChatCache::save);
}

ChatCache::~ChatCache() {
    if (m_saveTimer.isActive())
        save();
}

QString ChatCache::accountFile(const QString &account) const {
    return m_folder + QLatin1Char('/') + privatefile::fingerprint(account) +
           QStringLiteral(".json");
}

QString ChatCache::indexFile() const {
    return m_folder + QStringLiteral("/accounts.json");
}

QJsonArray ChatCache::readIndex() const {
    return privatefile::readObject(indexFile()).value(tokensKey).toArray();
}

void ChatCache::writeIndex(const QJsonArray &tokens, const QJsonArray &old) const {
    if (tokens != old)
        privatefile::write(
            indexFile(),
            QJsonDocument(QJsonObject{{tokensKey, tokens}}).toJson(QJsonDocument::Compact));
}

QString ChatCache::accountFor(const QString &tokenFingerprint) const {
    const QJsonArray tokens = readIndex();
    for (const QJsonValue &entry : tokens)
        if (entry.toObject().value(tokenKey).toString() == tokenFingerprint)
            return entry.toObject().value(accountKey).toString();
    return {};
}

void ChatCache::remember(const QStringList &tokenFingerprints, const QString &account) {
    const QJsonArray old = readIndex();
    QJsonArray tokens;
    for (const QString &token : tokenFingerprints)
        tokens.append(QJsonObject{{tokenKey, token}, {accountKey, account}});
    for (const QJsonValue &entry : old)
        if (!tokenFingerprints.contains(entry.toObject().value(tokenKey).toString()) &&
            tokens.size() < rememberedTokens)
            tokens.append(entry);
    writeIndex(tokens, old);
}

void ChatCache::restore(const QString &token) {
    const QString fingerprint = tokenFingerprint(token);
    if (token.isEmpty() || m_tokens.contains(fingerprint) || !m_model)
        return;
    const QString account = accountFor(fingerprint);
    if (!m_account.isEmpty() && account == m_account) {
        m_tokens.append(fingerprint);
        return;
    }
    if (!m_account.isEmpty()) {
        save();
        m_model->clear();
    }
    detach();
    m_tokens = QStringList{fingerprint};
    if (!account.isEmpty())
        load(account);
}

void ChatCache::load(const QString &account) {
    m_account = account;
    const QJsonObject kept = privatefile::readObject(accountFile(account));
    if (kept.value(accountKey).toString() != account)
        return;
    const QJsonArray conversations = kept.value(conversationsKey).toArray();
    for (const QJsonValue &value : conversations) {
        const QJsonObject c = value.toObject();
        const QString jid = ChatData::bareJid(c.value("jid").toString());
        QList<ChatMessage *> messages;
        const QJsonArray keptMessages = c.value("messages").toArray();
        for (const QJsonValue &m : keptMessages) {
            ChatMessage *message = messageFrom(m.toObject());
            if (message->message().isEmpty()) {
                delete message;
                continue;
            }
            if (message->pending() && !message->id().isEmpty())
                m_pending.append({jid, message->message(), message->id()});
            messages.append(message);
        }
        m_model->restoreConversation(jid, c.value("name").toString(), c.value("unread").toBool(),
                                     messages);
    }
    qCDebug(lcXmpp) << "kept conversations restored:" << conversations.size();
}

void ChatCache::confirm(const QString &jid) {
    const QString account = ChatData::bareJid(jid);
    if (account.isEmpty() || !m_model)
        return;
    if (!m_account.isEmpty() && account != m_account) {
        qCWarning(lcXmpp) << "the token now belongs to another account: its kept "
                             "conversations are no longer shown";
        save();
        m_model->clear();
        m_pending.clear();
        m_account.clear();
    }
    if (m_account.isEmpty())
        load(account);
    remember(m_tokens, account);
    const QVector<Pending> pending = std::exchange(m_pending, {});
    for (const Pending &p : pending)
        emit pendingRestored(p.to, p.text, p.id);
}

void ChatCache::rekey(const QString &oldToken, const QString &newToken) {
    const QString old = tokenFingerprint(oldToken);
    const QString fresh = tokenFingerprint(newToken);
    if (oldToken.isEmpty() || newToken.isEmpty())
        return;
    if (m_tokens.contains(old) && !m_tokens.contains(fresh))
        m_tokens.append(fresh);
    const QString account = accountFor(old);
    if (!account.isEmpty())
        remember({fresh}, account);
}

void ChatCache::close() {
    save();
    detach();
}

void ChatCache::forget(const QString &token) {
    QStringList accounts;
    if (!m_account.isEmpty())
        accounts.append(m_account);
    const QString fingerprint = tokenFingerprint(token);
    const QString account = token.isEmpty() ? QString() : accountFor(fingerprint);
    if (!account.isEmpty() && account != m_account)
        accounts.append(account);
    for (const QString &gone : qAsConst(accounts))
        QFile::remove(accountFile(gone));

    const QJsonArray old = readIndex();
    QJsonArray tokens;
    for (const QJsonValue &entry : old) {
        const QString t = entry.toObject().value(tokenKey).toString();
        if (!accounts.contains(entry.toObject().value(accountKey).toString()) && t != fingerprint &&
            !m_tokens.contains(t))
            tokens.append(entry);
    }
    writeIndex(tokens, old);
    detach();
    if (m_model)
        m_model->clear();
    qCDebug(lcXmpp) << "kept conversations forgotten";
}

void ChatCache::detach() {
    m_saveTimer.stop();
    m_account.clear();
    m_tokens.clear();
    m_pending.clear();
}

void ChatCache::scheduleSave() {
    if (!m_account.isEmpty() && !m_saveTimer.isActive())
        m_saveTimer.start();
}

void ChatCache::save() {
    m_saveTimer.stop();
    if (m_account.isEmpty() || !m_model)
        return;
    QJsonArray conversations;
    for (const Conversation *c : m_model->conversationList()) {
        QJsonArray messages;
        for (const ChatMessage *m : c->messageList())
            messages.append(messageObject(m));
        conversations.append(QJsonObject{{"jid", c->jid()},
                                         {"name", c->name()},
                                         {"unread", c->hasNewMessages()},
                                         {"messages", messages}});
    }
    privatefile::write(
        accountFile(m_account),
        QJsonDocument(QJsonObject{{accountKey, m_account}, {conversationsKey, conversations}})
            .toJson(QJsonDocument::Compact));
}
