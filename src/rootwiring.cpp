#include "rootwiring.h"

#include <QObject>

#include "logging.h"

namespace {

struct Row {
    QObject *sender;
    const char *signal;
    QObject *receiver;
    const char *slot;
};

} // namespace

int connectRootWindow(QObject *root, const NativeObjects &o, QObject *application) {
    QObject *chat = o.chatClient;
    QObject *model = o.chatData;
    QObject *upload = o.photoUploader;

    // Order matters: Qt calls the receivers of one signal in connection order.
    const Row rows[] = {
        {chat, SIGNAL(rosterReceived(QXmppRosterManager &)), model,
         SLOT(setUsers(QXmppRosterManager &))},
        {chat, SIGNAL(rosterReceived(QXmppRosterManager &)), root, SLOT(updateUsers())},
        {chat, SIGNAL(presenceUpdate(QString, QString)), model,
         SLOT(presenceChanged(QString, QString))},
        {chat, SIGNAL(presenceUpdate(QString, QString)), root, SLOT(updateUsers())},
        {chat, SIGNAL(msgReceived(QString, QString)), model,
         SLOT(messageReceived(QString, QString))},
        {chat, SIGNAL(messageReceived(QVariant, QVariant)), root,
         SLOT(messageReceived(QVariant, QVariant))},
        {chat, SIGNAL(clientConnected(QVariant)), root, SLOT(clientConnected(QVariant))},
        {chat, SIGNAL(setPresence()), root, SLOT(setCurrentPresence())},
        {root, SIGNAL(setPresence(bool)), chat, SLOT(setPresence(bool))},
        {root, SIGNAL(sendMsg(QString, QString)), chat, SLOT(sendMessage(QString, QString))},
        {root, SIGNAL(connectChat(QString)), chat, SLOT(connectChat(QString))},
        {root, SIGNAL(disconnectChat()), chat, SLOT(disconnectChat())},
        // Links open in the desktop's browser whether or not chat is built.
        {root, SIGNAL(openLink(QString)), o.linkOpener, SLOT(openLink(QString))},
        {root, SIGNAL(playsound(QString, QString, QString)), chat,
         SLOT(playsound(QString, QString, QString))},
        {root, SIGNAL(clearConversation(QString)), model, SLOT(clearConversation(QString))},
        {root, SIGNAL(markAsRead(QString)), model, SLOT(markAsRead(QString))},
        {root, SIGNAL(sendMsg(QString, QString)), model, SLOT(sendMessage(QString, QString))},
        {root, SIGNAL(uploadPhoto(QString, QString, QString, QString)), upload,
         SLOT(uploadFile(QString, QString, QString, QString))},
        {root, SIGNAL(quit()), application, SLOT(quit())},
        {upload, SIGNAL(photoUploaded(QVariant)), root, SLOT(photoUploaded(QVariant))},
    };

    int made = 0;
    for (const Row &row : rows) {
        if (!row.sender || !row.receiver)
            continue;
        if (QObject::connect(row.sender, row.signal, row.receiver, row.slot))
            ++made;
        else
            qCWarning(lcCore) << "could not connect" << row.signal + 1 << "to" << row.slot + 1;
    }
    qCDebug(lcCore) << "root window wired:" << made << "connections";
    return made;
}
