// The app's side of the chat interop test: the chat client and its model,
// wired as the application wires them, talking to a chat server. It prints
// what the model files, one JSON object per line, and sends what it reads
// from standard input ({"to": JID, "text": TEXT} per line).
//
//   chatprobe HOST PORT DOMAIN APP_ID TOKEN

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

#include "chatdata.h"
#include "rootwiring.h"
#include "xmppclient.h"

namespace {
void print(const QJsonObject &event) {
    std::fputs(QJsonDocument(event).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::fputs("usage: chatprobe HOST PORT DOMAIN APP_ID TOKEN\n", stderr);
        return 2;
    }
    ServiceSettings settings;
    settings.chatHost = args[1];
    settings.chatPort = args[2].toInt();
    settings.chatDomain = args[3];
    settings.appId = args[4];
    ChatData model;
    xmppClient client(settings);
    connectChatModel(&client, &model); // first: the model files before we look

    QObject::connect(&client, &xmppClient::clientConnected, &app, [](const QVariant &jid) {
        print({{"event", "connected"}, {"jid", jid.toString()}});
    });
    QObject::connect(&client, &xmppClient::connectionLost, &app, [] {
        print({{"event", "lost"}});
    });
    QObject::connect(&client, &xmppClient::rosterReceived, &app, [](const Roster &roster) {
        QJsonArray contacts;
        for (const RosterContact &contact : roster)
            contacts.append(QJsonArray{contact.jid, contact.name});
        print({{"event", "roster"}, {"contacts", contacts}});
    });
    const auto printPresence = [&](const QString &jid) {
        const FBUser *user = model.user(ChatData::bareJid(jid));
        print({{"event", "presence"},
               {"jid", ChatData::bareJid(jid)},
               {"online", user && user->isOnline()},
               {"away", user && user->isAway()}});
    };
    // A presence may come before the roster that names its contact: the
    // model shows it once the roster is filed.
    QObject::connect(&client, &xmppClient::rosterReceived, &app, [&](const Roster &roster) {
        for (const RosterContact &contact : roster)
            printPresence(contact.jid);
    });
    QObject::connect(&client, &xmppClient::presenceUpdate, &app, printPresence);
    QObject::connect(&model, qOverload<QVariant, QVariant>(&ChatData::messageReceived), &app,
                     [&](const QVariant &jid, const QVariant &text) {
                         const Conversation *c = model.conversation(jid.toString());
                         const QString filed = text.toString().isEmpty() || !c
                                                   ? QString()
                                                   : c->messageList().last()->message();
                         print({{"event", text.toString().isEmpty() ? "typing" : "message"},
                                {"jid", jid.toString()},
                                {"text", filed}});
                     });
    QObject::connect(&client, &xmppClient::msgDelivered, &app, [](const QString &id) {
        print({{"event", "delivered"}, {"id", id}});
    });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char chunk[4096];
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) {
            app.quit();
            return;
        }
        pending.append(chunk, int(got));
        for (int end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QJsonObject command = QJsonDocument::fromJson(pending.left(end)).object();
            client.sendMessage(command["to"].toString(), command["text"].toString());
        }
    });
    client.connectChat(args[5]);
    return app.exec();
}
