#include "rootwiring.h"

#include <QObject>
#include <cstddef>

#include "logging.h"

namespace {

struct Row {
    QObject *sender;
    const char *signal;
    QObject *receiver;
    const char *slot;
};

} // namespace

// Connects each row whose sender and receiver exist; returns how many did.
template <std::size_t N> int connectRows(const Row (&rows)[N]) {
    int made = 0;
    for (const Row &row : rows) {
        if (!row.sender || !row.receiver)
            continue;
        if (QObject::connect(row.sender, row.signal, row.receiver, row.slot))
            ++made;
        else
            qCWarning(lcCore) << "could not connect" << row.signal + 1 << "to" << row.slot + 1;
    }
    return made;
}

int connectChatModel(QObject *chat, QObject *model) {
    const Row rows[] = {
        {chat, SIGNAL(accountCleared()), model, SLOT(clear())},
        {chat, SIGNAL(ownJidReceived(QString)), model, SLOT(setOwnJid(QString))},
        {chat, SIGNAL(rosterReceived(Roster)), model, SLOT(setRoster(Roster))},
        {chat, SIGNAL(presenceUpdate(QString, QString, QString)), model,
         SLOT(presenceReceived(QString, QString, QString))},
        {chat, SIGNAL(connectionLost()), model, SLOT(sessionLost())},
        {chat, SIGNAL(msgReceived(IncomingMessage)), model, SLOT(fileIncoming(IncomingMessage))},
        {chat, SIGNAL(msgSent(QString, QString, QString)), model,
         SLOT(fileOutgoing(QString, QString, QString))},
        {chat, SIGNAL(msgDelivered(QString)), model, SLOT(setDelivered(QString))},
    };
    return connectRows(rows);
}

int connectChatCache(QObject *chat, QObject *model, QObject *cache) {
    const Row rows[] = {
        {chat, SIGNAL(ownJidReceived(QString)), cache, SLOT(confirm(QString))},
        {chat, SIGNAL(accountCleared()), cache, SLOT(close())},
        {cache, SIGNAL(pendingRestored(QString, QString, QString)), chat,
         SLOT(requeue(QString, QString, QString))},
        {model, SIGNAL(contentChanged()), cache, SLOT(scheduleSave())},
    };
    return connectRows(rows);
}

int connectRootWindow(QObject *root, const NativeObjects &o, QObject *application) {
    QObject *chat = o.chatClient;
    QObject *model = o.chatData;
    QObject *upload = o.photoUploader;
    QObject *cache = o.chatCache;
    QObject *notifier = o.chatNotifier;

    // Order matters: Qt calls the receivers of one signal in connection order,
    // so the model has the roster, presences and messages before the scene.
    int made = connectChatCache(chat, model, cache);
    made += connectChatModel(chat, model);
    const Row rows[] = {
        {chat, SIGNAL(rosterReceived(Roster)), root, SLOT(updateUsers())},
        {chat, SIGNAL(presenceUpdate(QString, QString, QString)), root, SLOT(updateUsers())},
        // The model tells of a message once it has filed it.
        {model, SIGNAL(messageReceived(QVariant, QVariant)), root,
         SLOT(messageReceived(QVariant, QVariant))},
        {chat, SIGNAL(clientConnected(QVariant)), root, SLOT(clientConnected(QVariant))},
        {chat, SIGNAL(connectionLost()), root, SLOT(chatDisconnected())},
        {chat, SIGNAL(setPresence()), root, SLOT(setCurrentPresence())},
        {root, SIGNAL(setPresence(bool)), chat, SLOT(setPresence(bool))},
        // The chat client files what is sent, under the id it sends it with.
        {root, SIGNAL(sendMsg(QString, QString)), chat, SLOT(sendMessage(QString, QString))},
        {root, SIGNAL(connectChat(QString)), chat, SLOT(connectChat(QString))},
        // The kept conversations of the token's account show while connecting.
        {root, SIGNAL(connectChat(QString)), cache, SLOT(restore(QString))},
        {root, SIGNAL(disconnectChat()), chat, SLOT(disconnectChat())},
        // Links open in the desktop's browser whether or not chat is built.
        {root, SIGNAL(openLink(QString)), o.linkOpener, SLOT(openLink(QString))},
        {root, SIGNAL(playsound(QString, QString, QString)), chat,
         SLOT(playsound(QString, QString, QString))},
        {root, SIGNAL(clearConversation(QString)), model, SLOT(clearConversation(QString))},
        {root, SIGNAL(markAsRead(QString)), model, SLOT(markAsRead(QString))},
        {root, SIGNAL(markAsRead(QString)), notifier, SLOT(conversationRead(QString))},
        {model, SIGNAL(messageReceived(QVariant, QVariant)), notifier,
         SLOT(messageReceived(QVariant, QVariant))},
        {notifier, SIGNAL(conversationOpened(QVariant, QVariant)), root,
         SLOT(showChat(QVariant, QVariant))},
        {root, SIGNAL(uploadPhoto(QString, QString, QString, QString)), upload,
         SLOT(uploadFile(QString, QString, QString, QString))},
        {root, SIGNAL(quit()), application, SLOT(quit())},
        {upload, SIGNAL(photoUploaded(QVariant)), root, SLOT(photoUploaded(QVariant))},
    };
    made += connectRows(rows);
    qCDebug(lcCore) << "root window wired:" << made << "connections";
    return made;
}
