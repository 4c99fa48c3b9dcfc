#include "chatitems.h"

#include <QQmlEngine>

namespace {
// How many incoming ids a conversation remembers to drop redeliveries.
constexpr int rememberedIds = 100;
} // namespace

QQmlListProperty<ChatMessage> Conversation::messages() {
    return chatitems::readOnlyList(this, &m_messages);
}

void Conversation::append(ChatMessage *message) {
    message->setParent(this);
    m_messages.append(message);
    emit messagesChanged();
}

void Conversation::insertOlder(const QList<ChatMessage *> &messages) {
    if (messages.isEmpty())
        return;
    for (ChatMessage *message : messages)
        message->setParent(this);
    m_messages = messages + m_messages;
    emit messagesChanged();
}

void Conversation::trimTo(int limit) {
    bool dropped = false;
    for (int i = 0; m_messages.size() > limit && i < m_messages.size();) {
        if (m_messages.at(i)->pending()) {
            ++i;
            continue;
        }
        // A view may still show it until the event loop runs again.
        m_messages.takeAt(i)->deleteLater();
        dropped = true;
    }
    if (dropped)
        emit messagesChanged();
}

bool Conversation::rememberIncomingId(const QString &id) {
    if (id.isEmpty())
        return true;
    if (m_recentIds.contains(id))
        return false;
    m_recentIds.append(id);
    if (m_recentIds.size() > rememberedIds)
        m_recentIds.removeFirst();
    return true;
}

void registerChatTypes() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    const char *module = "chatCore";
    qmlRegisterType<FBUser>(module, 1, 0, "User");
    qmlRegisterType<Conversation>(module, 1, 0, "Conversation");
    qmlRegisterType<ChatMessage>(module, 1, 0, "Message");
}
