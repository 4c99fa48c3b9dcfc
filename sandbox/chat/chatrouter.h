#pragma once

#include "chatdirectory.h"
#include "chatoptions.h"
#include "chatstore.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QStringList>
#include <QXmppPresence.h>
#include <QXmppRosterIq.h>

#include <functional>

#include <deque>

class ChatStream;
class QXmppMessage;

// What a person's contacts see of them.
struct ChatPresence {
    bool available = false;
    QXmppPresence::AvailableStatusType show = QXmppPresence::Online;
    QString statusText;

    bool operator==(const ChatPresence &other) const {
        return available == other.available && show == other.show && statusText == other.statusText;
    }
    bool operator!=(const ChatPresence &other) const { return !(*this == other); }
};

// The shared side of the chat server: who is connected under which address,
// what their contacts see of them, and where messages go. Contacts see a
// person's presence and messages from the person's bare address, or, with
// full addresses on, as standard servers send them: each connection's
// presence and messages from "<bare>/<resource>" (a virtual contact's from
// "<bare>/sandbox"). A message for a person without a session waits for their
// next one. People without a connection can be given a presence, messages and
// an automatic answer ("virtual" contacts), for tests and demos; generated
// contacts and new names for people join the directory's rosters.
class ChatRouter : public QObject {
    Q_OBJECT
public:
    ChatRouter(const ChatDirectory *directory, const QString &domain, const ChatOptions &options,
               QObject *parent = nullptr);

    // The resource a virtual contact's presences and messages come from
    // when full addresses are on.
    static constexpr char virtualResource[] = "sandbox";

    const ChatDirectory &directory() const { return *m_directory; }
    QString domain() const { return m_domain; }
    // The directory's roster with the generated contacts and new names.
    QList<ChatContact> rosterOf(const QString &userId) const;
    bool isPerson(const QString &userId) const;
    QXmppRosterIq::Item rosterItem(const ChatContact &contact) const;

    // Registers a stream under `userId` and returns its resource: the one
    // asked for if it is acceptable, otherwise a generated one. An older
    // stream bound to the same address is closed with a conflict. Returns an
    // empty string, binding nothing, when the person has too many sessions.
    QString bind(ChatStream *stream, const QString &userId, const QString &requestedResource);
    // A freshly bound stream receives the presence of its online contacts and
    // the messages that waited for it.
    void startSession(ChatStream *stream);
    // The stream's own presence changed.
    void updatePresence(ChatStream *stream);
    // The stream is gone; its user may now appear unavailable.
    void streamEnded(ChatStream *stream);
    // Hands a message from `fromUserId` to every connection of `toUserId` (or
    // keeps it for their next session), records its body and triggers an
    // automatic answer if one is set. A message whose (sender, id) was seen
    // lately goes nowhere. False when `toUserId` is no one. `fromResource` is
    // the sending connection's (empty: a virtual contact's).
    bool route(const QString &fromUserId, const QString &toUserId, const QXmppMessage &message,
               const QString &fromResource = QString());

    // "" (available), "away", "xa", "dnd" or "chat" show the person as
    // online with that status; "unavailable" takes them off-line.
    void setVirtualPresence(const QString &userId, const QString &show);
    void setAutoReply(const QString &userId, int delayMs, const QString &text);
    // Adds `count` generated people to the roster of `userId`, online (every
    // fourth away), and tells the user's connections; returns their ids.
    QStringList addContacts(const QString &userId, int count);
    // The name every roster shows for `userId` from now on.
    void rename(const QString &userId, const QString &name);
    void setFullJids(bool on);
    bool fullJids() const { return m_fullJids; }
    ChatMessages messagesTo(const QString &userId) const { return m_store.received(userId); }
    QStringList onlineUsers() const;

signals:
    void messageRouted(const QString &fromUserId, const QString &toUserId, const QString &body);

private:
    struct AutoReply {
        int delayMs = 0;
        QString text;
    };

    // What contacts see of a person, by the resource it comes from ("" for
    // the bare address); only available presences.
    using Presences = QHash<QString, ChatPresence>;

    ChatPresence effectivePresence(const QString &userId) const;
    Presences visiblePresences(const QString &userId) const;
    // Tells the contacts of `userId` if what they see of them has changed.
    void announce(const QString &userId);
    // Calls `send` for every connection that has `userId` on its roster.
    void tellContactsOf(const QString &userId, const std::function<void(ChatStream *)> &send);
    QString addressOf(const QString &userId, const QString &resource) const;
    QXmppPresence presenceStanza(const QString &fromUserId, const QString &resource,
                                 const ChatPresence &presence, const QString &toJid) const;
    void pushRosterTo(ChatStream *stream, const ChatContact &contact);
    bool routeMessage(const QString &fromUserId, const QString &fromResource,
                      const QString &toUserId, const QXmppMessage &message, bool mayAnswer);
    // True the first time (sender, id) comes along, and for messages without an id.
    bool isFirstSeen(const QString &fromUserId, const QString &id);
    void deliver(const QString &fromUserId, const QString &fromResource, const QString &toUserId,
                 QXmppMessage message);
    void deliverOffline(ChatStream *stream);
    void scheduleAutoReply(const QString &contactId, const QString &userId);
    QString generatedResource(const QString &userId) const;

    const ChatDirectory *m_directory;
    QString m_domain;
    int m_maxSessionsPerUser;
    // Bound streams by user id, oldest first.
    QHash<QString, QList<ChatStream *>> m_sessions;
    // When each stream last changed its presence, to prefer the newest.
    QHash<const ChatStream *, quint64> m_presenceOrder;
    quint64 m_presenceClock = 0;
    QHash<QString, ChatPresence> m_virtual;
    // What the contacts of each online person were last told.
    QHash<QString, Presences> m_announced;
    bool m_fullJids = false;
    // Generated contacts by roster owner, with their names, and new names.
    QHash<QString, QList<ChatContact>> m_addedContacts;
    QHash<QString, QString> m_generatedPeople;
    QHash<QString, QString> m_names;
    quint64 m_nextGeneratedId;
    QHash<QString, AutoReply> m_autoReplies;
    QSet<QPair<QString, QString>> m_pendingReplies;
    ChatStore m_store;
    // The latest message ids of each sender, oldest first, to drop repeats.
    struct RecentIds {
        std::deque<QString> order;
        QSet<QString> ids;
    };
    QHash<QString, RecentIds> m_recentIds;
};
