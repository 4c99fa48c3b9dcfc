#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QQmlListProperty>
#include <QString>
#include <QVariant>
#include <QVector>

#include "chatitems.h"

// One roster entry as the chat connection delivers it.
struct RosterContact {
    QString jid;
    QString name;
};
using Roster = QVector<RosterContact>;

// The thin adapter between a chat library's roster manager and the model:
// the bare JIDs in the manager's order, each with its entry's name.
template <class Manager> Roster rosterOf(const Manager &manager) {
    Roster roster;
    const auto jids = manager.getRosterBareJids();
    for (const QString &jid : jids)
        roster.append({jid, manager.getRosterEntry(jid).name()});
    return roster;
}

// A message stanza as the chat connection received it.
struct IncomingMessage {
    QString from; // full or bare JID
    QString id;
    QString body;
    bool error = false;     // an error answer to a message sent with `id`
    bool composing = false; // the chat state "composing"
};

// The chat's native model, published as `fbChatData`: the roster contacts
// with one presence state per bare JID, and the open conversations with
// their latest messages. It never talks to the network; the chat connection
// feeds it the roster, presences and messages, the scene what the user sends,
// reads and clears. Every item is a child of the model (messages of their
// conversation); items it lets go of are deleted once the event loop runs.
class ChatData : public QObject {
    Q_OBJECT
    Q_PROPERTY(int totalUsers READ totalUsers NOTIFY totalUsersChanged)
    Q_PROPERTY(QString ownJid READ ownJid WRITE setOwnJid NOTIFY ownJidChanged)
    Q_PROPERTY(QQmlListProperty<FBUser> users READ users CONSTANT)
    Q_PROPERTY(QQmlListProperty<FBUser> onlineUsers READ onlineUsers CONSTANT)
    Q_PROPERTY(int totalOnlineUsers READ totalOnlineUsers CONSTANT)
    Q_PROPERTY(
        QQmlListProperty<Conversation> conversations READ conversations NOTIFY conversationsChanged)
    Q_PROPERTY(int conversationsCount READ conversationsCount NOTIFY conversationCountChanged)

public:
    // What became of an incoming message stanza.
    enum class Filing {
        Ignored,   // nothing to show: no body and not composing, or unknown error
        Typing,    // the contact is composing
        Filed,     // a new message from a contact
        Own,       // filed from the own account: no unread mark, no alert
        Duplicate, // an id that came in already
        Failed,    // an error: the sent message of that id is marked failed
    };
    Q_ENUM(Filing)

    // A conversation keeps this many messages, and more only while pending.
    static constexpr int messageLimit = 20;

    explicit ChatData(QObject *parent = nullptr);

    int totalUsers() const { return m_users.size(); }
    QString ownJid() const { return m_ownJid; }
    QQmlListProperty<FBUser> users();
    // A snapshot of the users online now, valid until the next read.
    QQmlListProperty<FBUser> onlineUsers();
    int totalOnlineUsers() const { return m_online.size(); }
    QQmlListProperty<Conversation> conversations();
    int conversationsCount() const { return m_conversations.size(); }
    const QList<Conversation *> &conversationList() const { return m_conversations; }

    FBUser *user(const QString &jid) const;
    Conversation *conversation(const QString &jid) const;

    static QString bareJid(const QString &jid);
    // "-<id>@domain" gives "<id>".
    static QString numericId(const QString &jid);

public slots:
    void setOwnJid(const QString &jid);
    // The users become `roster`, in its order; a user already known by its
    // JID keeps its item, the others are let go.
    void setRoster(const Roster &roster);
    // Files an incoming stanza; emits messageReceived(bare JID, body) for a
    // contact's new message, and with an empty body for typing.
    Filing fileIncoming(const IncomingMessage &stanza);
    // Files a message the user sends, pending until setDelivered(id). Returns
    // its id (`id`, or a new one when empty); empty when nothing was filed.
    // A message already filed under `id` is not filed again.
    QString fileOutgoing(const QString &to, const QString &text, const QString &id = {});

    // Puts back a conversation kept from an earlier run: `messages` (oldest
    // first; taken as children) go before those the conversation has now,
    // except ids it holds already; received ids count as seen. `name` is
    // used while the JID has no named roster user.
    void restoreConversation(const QString &jid, const QString &name, bool unread,
                             const QList<ChatMessage *> &messages);

    void presenceChanged(QString jid, QString resource);
    // A presence stanza: `type` as on the wire ("" is available), `show` its
    // show element. Only available and unavailable presences count.
    void presenceReceived(const QString &jid, const QString &type, const QString &show);
    // The chat session is gone: nobody is known to be online any more.
    void sessionLost();
    void messageReceived(QString jid, QString message);
    void sendMessage(QString to, QString msg);
    void setDelivered(const QString &id);
    void setFailed(const QString &id);
    void clearConversation(QString jid);
    void markAsRead(QString jid);
    // Forgets the account: users, presences, conversations and own JID.
    void clear();

signals:
    void totalUsersChanged();
    void ownJidChanged();
    void conversationsChanged();
    void conversationCountChanged();
    void messageReceived(QVariant jid, QVariant msg);
    // Something a kept copy of the conversations holds has changed: a
    // message, its state, a name or the unread mark.
    void contentChanged();

private:
    enum class Availability { Online, Away, Offline };
    void applyPresence(const QString &jid, Availability availability);
    void showPresence(FBUser *user) const;
    Conversation *openConversation(const QString &bareJid);
    QString conversationName(const QString &bareJid, const QString &stored) const;
    ChatMessage *sentMessage(const QString &id) const;
    ChatMessage *newMessage(const QString &text, const QString &id, bool received) const;

    QString m_ownJid;
    QList<FBUser *> m_users;
    QHash<QString, FBUser *> m_userByJid;
    QList<FBUser *> m_online;
    QList<Conversation *> m_conversations;
    QHash<QString, Conversation *> m_conversationByJid;
    // Per bare JID its available resources, the latest last, each with
    // whether it is away. A JID without any is offline.
    QHash<QString, QVector<QPair<QString, bool>>> m_presences;
};
