#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>

class StateWriter;

// A message body sent to someone, as kept for reading back.
struct ChatRecord {
    QString from; // the sender's id
    QString body;
    QString id; // the message's id; empty when the sender gave none

    bool operator==(const ChatRecord &other) const {
        return from == other.from && body == other.body && id == other.id;
    }
};
// The alias also gives the list a name that QMetaObject::invokeMethod can be
// called with: Q_RETURN_ARG(ChatMessages, x).
using ChatMessages = QList<ChatRecord>;

// A chat message waiting for its addressee's next session.
struct OfflineMessage {
    QString from;
    QString resource; // the sender's resource, if they sent from a connection
    QString id;
    QString body;
    QString subject;
    QString thread;
    QDateTime stamp; // when the server took it, UTC
};

// The messages the chat server keeps per addressee: every body sent to them
// (for reading back) and what waits for their next session. With a folder,
// an addressee's part is written through to "<folder>/<id>.json" whenever it
// changes (on a writer thread; what received() returns is on disk) and read
// back at start; without one, nothing is written.
class ChatStore {
public:
    ChatStore(const QString &folder, int maxRecorded, int maxOffline);
    ~ChatStore();

    // Keeps a body sent to `to` and, when `offline` is given, queues it.
    void add(const QString &to, const ChatRecord &record, const OfflineMessage *offline);
    // The queued messages of `to`, oldest first; the queue is then empty.
    QList<OfflineMessage> takeOffline(const QString &to);
    ChatMessages received(const QString &to) const;

private:
    void load();
    void save(const QString &userId) const;

    QString m_folder;
    int m_maxRecorded;
    int m_maxOffline;
    QHash<QString, ChatMessages> m_received;
    QHash<QString, QList<OfflineMessage>> m_offline;
    std::unique_ptr<StateWriter> m_writer;
};
