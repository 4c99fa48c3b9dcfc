#pragma once

#include <QList>
#include <QObject>
#include <QQmlListProperty>
#include <QString>
#include <QStringList>

namespace chatitems {
// Stores `value` and emits `changed` only when it differs from `field`.
template <class C, class T> void assign(C *item, T &field, const T &value, void (C::*changed)()) {
    if (field == value)
        return;
    field = value;
    emit(item->*changed)();
}

// A list property the scene can read but not change, over `list`.
template <class T> QQmlListProperty<T> readOnlyList(QObject *owner, QList<T *> *list) {
    using Property = QQmlListProperty<T>;
    return Property(
        owner, list, [](Property *p) { return static_cast<QList<T *> *>(p->data)->size(); },
        [](Property *p, int i) -> T * {
            const auto *items = static_cast<QList<T *> *>(p->data);
            return i >= 0 && i < items->size() ? items->at(i) : nullptr;
        });
}
} // namespace chatitems

// One roster contact. Created and owned by ChatData.
class FBUser : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString alphabet READ alphabet WRITE setAlphabet NOTIFY alphabetChanged)
    Q_PROPERTY(QString jid READ jid WRITE setJid NOTIFY jidChanged)
    Q_PROPERTY(bool isOnline READ isOnline WRITE setIsOnline NOTIFY isOnlineChanged)
    Q_PROPERTY(bool isAway READ isAway WRITE setIsAway NOTIFY isAwayChanged)

public:
    explicit FBUser(QObject *parent = nullptr)
        : QObject(parent) {}

    QString name() const { return m_name; }
    QString alphabet() const { return m_alphabet; }
    QString jid() const { return m_jid; }
    bool isOnline() const { return m_online; }
    bool isAway() const { return m_away; }
    void setName(const QString &v) { chatitems::assign(this, m_name, v, &FBUser::nameChanged); }
    void setAlphabet(const QString &v) {
        chatitems::assign(this, m_alphabet, v, &FBUser::alphabetChanged);
    }
    void setJid(const QString &v) { chatitems::assign(this, m_jid, v, &FBUser::jidChanged); }
    void setIsOnline(bool v) { chatitems::assign(this, m_online, v, &FBUser::isOnlineChanged); }
    void setIsAway(bool v) { chatitems::assign(this, m_away, v, &FBUser::isAwayChanged); }

signals:
    void isOnlineChanged();
    void nameChanged();
    void jidChanged();
    void isAwayChanged();
    void alphabetChanged();

private:
    QString m_name;
    QString m_alphabet;
    QString m_jid;
    bool m_online = false;
    bool m_away = false;
};

// One message of a conversation. `id` is the stanza id; a sent message is
// `pending` until the server has it, and `failed` once it refused it.
class ChatMessage : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString message READ message WRITE setMessage NOTIFY messageChanged)
    Q_PROPERTY(QString time READ time WRITE setTime NOTIFY timeChanged)
    Q_PROPERTY(bool receiver READ receiver WRITE setReceiver NOTIFY receiverChanged)
    Q_PROPERTY(QString id READ id WRITE setId NOTIFY idChanged)
    Q_PROPERTY(bool pending READ pending WRITE setPending NOTIFY pendingChanged)
    Q_PROPERTY(bool failed READ failed WRITE setFailed NOTIFY failedChanged)

public:
    explicit ChatMessage(QObject *parent = nullptr)
        : QObject(parent) {}

    QString message() const { return m_message; }
    QString time() const { return m_time; }
    bool receiver() const { return m_receiver; }
    QString id() const { return m_id; }
    bool pending() const { return m_pending; }
    bool failed() const { return m_failed; }
    void setMessage(const QString &v) {
        chatitems::assign(this, m_message, v, &ChatMessage::messageChanged);
    }
    void setTime(const QString &v) {
        chatitems::assign(this, m_time, v, &ChatMessage::timeChanged);
    }
    void setReceiver(bool v) {
        chatitems::assign(this, m_receiver, v, &ChatMessage::receiverChanged);
    }
    void setId(const QString &v) { chatitems::assign(this, m_id, v, &ChatMessage::idChanged); }
    void setPending(bool v) { chatitems::assign(this, m_pending, v, &ChatMessage::pendingChanged); }
    void setFailed(bool v) { chatitems::assign(this, m_failed, v, &ChatMessage::failedChanged); }

signals:
    void messageChanged();
    void receiverChanged();
    void timeChanged();
    void idChanged();
    void pendingChanged();
    void failedChanged();

private:
    QString m_message;
    QString m_time;
    QString m_id;
    bool m_receiver = false;
    bool m_pending = false;
    bool m_failed = false;
};

// One open conversation: the other party's bare JID, the name shown for it
// (kept when the contact leaves the roster) and its latest messages, oldest
// first. The messages are its children.
class Conversation : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString jid READ jid WRITE setJid NOTIFY jidChanged)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QQmlListProperty<ChatMessage> messages READ messages NOTIFY messagesChanged)
    Q_PROPERTY(int messagesCount READ messagesCount NOTIFY messagesChanged)
    Q_PROPERTY(bool hasNewMessages READ hasNewMessages WRITE setHasNewMessages NOTIFY
                   hasNewMessagesChanged)

public:
    explicit Conversation(QObject *parent = nullptr)
        : QObject(parent) {}

    QString jid() const { return m_jid; }
    QString name() const { return m_name; }
    bool hasNewMessages() const { return m_hasNew; }
    void setJid(const QString &v) { chatitems::assign(this, m_jid, v, &Conversation::jidChanged); }
    void setName(const QString &v) {
        chatitems::assign(this, m_name, v, &Conversation::nameChanged);
    }
    void setHasNewMessages(bool v) {
        chatitems::assign(this, m_hasNew, v, &Conversation::hasNewMessagesChanged);
    }

    // Read-only for the scene: only the model adds and drops messages.
    QQmlListProperty<ChatMessage> messages();
    int messagesCount() const { return m_messages.size(); }
    const QList<ChatMessage *> &messageList() const { return m_messages; }

    // Takes `message` as a child and appends it.
    void append(ChatMessage *message);
    // Takes `messages` (oldest first) as children and puts them before the
    // ones it holds.
    void insertOlder(const QList<ChatMessage *> &messages);
    // Drops the oldest messages that are not pending until at most `limit`
    // remain; pending ones are never dropped. Dropped messages are deleted
    // once control returns to the event loop.
    void trimTo(int limit);
    // False when `id` came in recently already; remembers it otherwise.
    bool rememberIncomingId(const QString &id);

signals:
    void jidChanged();
    void hasNewMessagesChanged();
    void nameChanged();
    void messagesChanged();

private:
    QString m_jid;
    QString m_name;
    bool m_hasNew = false;
    QList<ChatMessage *> m_messages;
    // The latest incoming ids, a bounded window: repeats of a redelivery are
    // dropped without the memory growing with every message.
    QStringList m_recentIds;
};

// Registers User, Conversation and Message as the module "chatCore" 1.0.
void registerChatTypes();
