// The chat model without a server: presences, rosters, filing of message
// stanzas, the message limit, the items it lets go of, and the conversations
// kept on disk per account.
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlListReference>
#include <QTemporaryDir>
#include <QtTest>

#include "chatcache.h"
#include "chatdata.h"
#include "rootwiring.h"
#include "xmppclient.h"

namespace {

// Stands in for the chat library's roster manager.
struct FakeRoster {
    struct Entry {
        QString n;
        QString name() const { return n; }
    };
    QStringList jids;
    QStringList names;
    QStringList getRosterBareJids() const { return jids; }
    Entry getRosterEntry(const QString &jid) const { return {names.value(jids.indexOf(jid))}; }
};

// Anna is -1, Bo -2; the roster may carry more contacts: -3, -4, ...
Roster roster(int size) {
    FakeRoster r;
    for (int i = 1; i <= size; ++i) {
        r.jids << QStringLiteral("-%1@chat.test").arg(i);
        r.names << (i == 1 ? "Anna Berg" : i == 2 ? "Bo" : QStringLiteral("C%1").arg(i));
    }
    return rosterOf(r);
}

// The users as the scene reads them: "on", "away" or "off" each.
QString presences(ChatData &model) {
    QQmlListReference users(&model, "users");
    QStringList out;
    for (int i = 0; i < users.count(); ++i) {
        const QObject *u = users.at(i);
        out << (!u->property("isOnline").toBool() ? "off"
                : u->property("isAway").toBool()  ? "away"
                                                  : "on");
    }
    return out.join(',');
}

// The conversations as the scene reads them: name, then each message with
// "<" received or ">" sent, "*" pending, "!" failed; "+" when unread.
QString conversations(ChatData &model) {
    QQmlListReference list(&model, "conversations");
    QStringList out;
    for (int i = 0; i < list.count(); ++i) {
        QObject *c = list.at(i);
        QQmlListReference messages(c, "messages");
        QStringList texts;
        for (int j = 0; j < messages.count(); ++j) {
            const QObject *m = messages.at(j);
            texts << (m->property("receiver").toBool() ? "<" : ">") +
                         m->property("message").toString() +
                         (m->property("pending").toBool() ? "*" : "") +
                         (m->property("failed").toBool() ? "!" : "");
        }
        out << c->property("name").toString() + ":" + texts.join(',') +
                   (c->property("hasNewMessages").toBool() ? "+" : "");
    }
    return out.join(' ');
}

void freeLetGoItems() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// One run of the application's chat: client (never connected), model and
// cache, wired as the host wires them, over the kept files in `folder`.
struct ChatRun {
    explicit ChatRun(const QString &folder)
        : cache(folder, &model) {
        connectChatCache(&client, &model, &cache);
        connectChatModel(&client, &model);
    }
    // The outbox as the texts of the model's messages of those ids.
    QString outbox() const {
        QStringList texts;
        for (const QString &id : client.pendingIds()) {
            QString text = "?";
            for (const Conversation *c : model.conversationList())
                for (const ChatMessage *m : c->messageList())
                    if (m->id() == id)
                        text = m->message();
            texts << text;
        }
        return texts.join(',');
    }
    ChatData model;
    xmppClient client{ServiceSettings::builtIn()};
    ChatCache cache;
};

} // namespace

class TestChatData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { registerChatTypes(); }

    void presence_data();
    void presence();
    void secondRosterReplacesUsers_data();
    void secondRosterReplacesUsers();
    void filing_data();
    void filing();
    void limitNeverDropsPending_data();
    void limitNeverDropsPending();
    void liveItemsStayFlat();
    void viewOutlivesLetGoItems();
    void keptPerAccount_data();
    void keptPerAccount();
};

// Steps: "roster"; "lost"; "p|jid|type|show" a presence stanza; "w|jid|word"
// the presence word of the chat connection.
void TestChatData::presence_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("expected");
    const QString anna = "-1@chat.test", phone = anna + "/phone", desk = anna + "/desk";
    auto row = [](const char *name, const QStringList &steps, const char *expected) {
        QTest::newRow(name) << steps << QString(expected);
    };
    row("available then away: latest wins",
        {"roster", "p|" + phone + "||", "p|" + phone + "||away"}, "away,off");
    row("away then available", {"roster", "p|" + phone + "||away", "p|" + phone + "||"}, "on,off");
    row("xa and dnd are online", {"roster", "p|" + phone + "||xa", "p|-2@chat.test/a||dnd"},
        "on,on");
    row("bare JID", {"roster", "p|" + anna + "||away"}, "away,off");
    row("unavailable from the bare JID ends every resource",
        {"roster", "p|" + phone + "||", "p|" + desk + "||", "p|" + anna + "|unavailable|"},
        "off,off");
    row("two resources, one leaves",
        {"roster", "p|" + phone + "||", "p|" + desk + "||away", "p|" + desk + "|unavailable|"},
        "on,off");
    row("two resources, the older leaves",
        {"roster", "p|" + phone + "||", "p|" + desk + "||away", "p|" + phone + "|unavailable|"},
        "away,off");
    row("before the roster", {"p|" + phone + "||away", "p|-2@chat.test/x||", "roster"}, "away,on");
    row("left before the roster", {"p|" + phone + "||", "p|" + phone + "|unavailable|", "roster"},
        "off,off");
    row("other types count for nothing",
        {"roster", "p|" + phone + "|subscribe|", "p|" + desk + "|error|", "p|-2@chat.test|probe|"},
        "off,off");
    row("session lost", {"roster", "p|" + phone + "||away", "p|-2@chat.test/x||", "lost"},
        "off,off");
    row("session lost, then a new presence",
        {"roster", "p|" + phone + "||", "lost", "p|-2@chat.test/x||", "roster"}, "off,on");
    row("presence words",
        {"roster", "w|" + phone + "|away", "w|-2@chat.test/x|", "w|" + phone + "|unavailable"},
        "off,on");
}

void TestChatData::presence() {
    QFETCH(QStringList, steps);
    QFETCH(QString, expected);
    ChatData model;
    for (const QString &step : steps) {
        const QStringList f = step.split('|');
        if (step == "roster")
            model.setRoster(roster(2));
        else if (step == "lost")
            model.sessionLost();
        else if (f[0] == "p")
            model.presenceReceived(f[1], f[2], f[3]);
        else
            model.presenceChanged(f[1], f[2]);
    }
    QCOMPARE(presences(model), expected);
}

void TestChatData::secondRosterReplacesUsers_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("smaller") << 4 << 2;
    QTest::newRow("larger") << 2 << 5;
    QTest::newRow("the same again") << 3 << 3;
}

void TestChatData::secondRosterReplacesUsers() {
    QFETCH(int, first);
    QFETCH(int, second);
    ChatData model;
    model.setRoster(roster(first));
    model.presenceReceived("-2@chat.test/x", "", "away");
    model.fileIncoming({"-9@chat.test/x", "m1", "hi", false, false});
    QPointer<FBUser> bo = model.user("-2@chat.test");
    QPointer<FBUser> last = model.user(QStringLiteral("-%1@chat.test").arg(first));
    QSignalSpy total(&model, &ChatData::totalUsersChanged);

    Roster next = roster(second);
    next[1].name = "Bo Renamed";
    next.append(next[0]); // a repeated entry counts once
    model.setRoster(next);
    freeLetGoItems();

    QCOMPARE(model.totalUsers(), second);
    QCOMPARE(QQmlListReference(&model, "users").count(), second);
    QCOMPARE(model.findChildren<FBUser *>().size(), second);
    QCOMPARE(total.count(), first == second ? 0 : 1);
    QCOMPARE(model.user("-2@chat.test"), bo.data());
    QCOMPARE(bo->property("name").toString(), QString("Bo Renamed"));
    QCOMPARE(bo->property("alphabet").toString(), QString("B"));
    QCOMPARE(presences(model).section(',', 0, 1), QString("off,away"));
    QCOMPARE(last.isNull(), second < first);
    for (int i = 0; i < second; ++i)
        QCOMPARE(QQmlListReference(&model, "users").at(i)->property("jid").toString(),
                 QStringLiteral("-%1@chat.test").arg(i + 1));
    // A stranger's conversation keeps its row whatever the roster.
    QCOMPARE(conversations(model), QString("9:<hi+"));
}

// Steps: "in|from|id|body", "typing|from", "paused|from", "error|from|id",
// "out|to|id|text", "ok|id" (the server has it). Anna is -1, the unnamed
// roster contact -2, the own account -5, -77 a stranger.
void TestChatData::filing_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("filings");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("signalled");
    auto row = [](const char *name, const QStringList &steps, const char *filings,
                  const char *expected, const char *signalled) {
        QTest::newRow(name) << steps << QString(filings) << QString(expected) << QString(signalled);
    };
    row("only composing is typing, and opens nothing",
        {"typing|-1@c.test/r", "paused|-1@c.test/r", "in|-1@c.test/r||"}, "Typing,Ignored,Ignored",
        "", "-1@c.test:");
    row("a contact's message, full and bare JID in one conversation",
        {"in|-1@c.test/r|a|hi", "in|-1@c.test|b|yo"}, "Filed,Filed", "Anna Berg:<hi,<yo+",
        "-1@c.test:hi -1@c.test:yo");
    row("an error fails the sent message of its id; a resend is filed once",
        {"out|-1@c.test|m1|hi", "out|-1@c.test|m2|yo", "out|-1@c.test|m1|hi", "ok|m2",
         "error|-1@c.test/r|m1", "error|-1@c.test/r|unknown", "error|-1@c.test/r|"},
        "Failed,Ignored,Ignored", "Anna Berg:>hi!,>yo", "");
    row("own account: filed silently", {"in|-5@c.test/other|a|note", "typing|-5@c.test/other"},
        "Own,Ignored", "5:<note", "");
    row("a stranger gets a conversation named by number", {"in|-77@c.test/r|a|hello"}, "Filed",
        "77:<hello+", "-77@c.test:hello");
    row("an unnamed contact is named by number", {"in|-2@c.test|a|hey"}, "Filed", "2:<hey+",
        "-2@c.test:hey");
    row("a repeated id is dropped",
        {"in|-1@c.test/r|a|hi", "in|-1@c.test/r2|a|hi", "in|-1@c.test/r|b|hi"},
        "Filed,Duplicate,Filed", "Anna Berg:<hi,<hi+", "-1@c.test:hi -1@c.test:hi");
    row("answering reads the conversation", {"in|-1@c.test|a|hi", "out|-1@c.test|m1|yes"}, "Filed",
        "Anna Berg:<hi,>yes*", "-1@c.test:hi");
}

void TestChatData::filing() {
    QFETCH(QStringList, steps);
    QFETCH(QString, filings);
    QFETCH(QString, expected);
    QFETCH(QString, signalled);
    ChatData model;
    model.setOwnJid("-5@c.test/QXmpp");
    model.setRoster({{"-1@c.test", "Anna Berg"}, {"-2@c.test", ""}});
    QStringList heard;
    connect(
        &model, qOverload<QVariant, QVariant>(&ChatData::messageReceived),
        [&heard](QVariant jid, QVariant msg) { heard << jid.toString() + ":" + msg.toString(); });
    QStringList results;
    const QMetaEnum names = QMetaEnum::fromType<ChatData::Filing>();
    for (const QString &step : steps) {
        const QStringList f = step.split('|');
        if (f[0] == "out")
            QCOMPARE(model.fileOutgoing(f[1], f[3], f[2]), f[2]);
        else if (f[0] == "ok")
            model.setDelivered(f[1]);
        else
            results << names.valueToKey(int(model.fileIncoming(
                {f[1], f.value(2), f.value(3), f[0] == "error", f[0] == "typing"})));
    }
    QCOMPARE(results.join(','), filings);
    QCOMPARE(conversations(model), expected);
    QCOMPARE(heard.join(' '), signalled);
    QCOMPARE(model.conversationsCount(), QQmlListReference(&model, "conversations").count());
}

void TestChatData::limitNeverDropsPending_data() {
    QTest::addColumn<int>("pending");
    QTest::addColumn<int>("kept");
    QTest::newRow("none pending: the oldest goes") << 0 << 20;
    QTest::newRow("three pending, then received ones") << 3 << 20;
    QTest::newRow("all pending") << 21 << 21;
}

void TestChatData::limitNeverDropsPending() {
    QFETCH(int, pending);
    QFETCH(int, kept);
    ChatData model;
    for (int i = 0; i < 21; ++i) {
        if (i < pending)
            model.fileOutgoing("-1@c.test", QString::number(i));
        else
            model.fileIncoming({"-1@c.test/r", QString::number(i), QString::number(i)});
    }
    const Conversation *c = model.conversation("-1@c.test");
    QCOMPARE(c->messagesCount(), kept);
    int stillPending = 0;
    for (const ChatMessage *m : c->messageList())
        stillPending += m->pending() ? 1 : 0;
    QCOMPARE(stillPending, pending);
    // The first one left is the first pending, or the second received.
    QCOMPARE(c->messageList().first()->message(), pending ? "0" : "1");
}

// 10,000 messages, sent and received, in one conversation: the live items
// stay at the limit; a cleared conversation and a cleared model are freed.
void TestChatData::liveItemsStayFlat() {
    ChatData model;
    model.setRoster(roster(3));
    for (int i = 0; i < 10000; ++i) {
        if (i % 2)
            model.setDelivered(model.fileOutgoing("-1@chat.test", "out"));
        else
            model.fileIncoming({"-1@chat.test/r", QString::number(i), "in"});
        if (i % 1000 == 999) {
            freeLetGoItems();
            QCOMPARE(model.findChildren<ChatMessage *>().size(), ChatData::messageLimit);
        }
    }
    model.fileIncoming({"-2@chat.test/r", "x", "hi"});
    QPointer<Conversation> anna = model.conversation("-1@chat.test");
    model.clearConversation("-1@chat.test");
    QCOMPARE(model.conversationsCount(), 1);
    QVERIFY(anna); // still readable by a view until the event loop runs
    freeLetGoItems();
    QVERIFY(!anna);
    QCOMPARE(model.findChildren<ChatMessage *>().size(), 1);

    model.setOwnJid("-5@chat.test");
    model.presenceReceived("-3@chat.test/r", "", "");
    model.clear();
    freeLetGoItems();
    QVERIFY(model.children().isEmpty());
    QCOMPARE(model.totalUsers(), 0);
    QCOMPARE(model.conversationsCount(), 0);
    QVERIFY(model.ownJid().isEmpty());
    // Presences of the old account are gone too.
    model.setRoster(roster(3));
    QCOMPARE(presences(model), QString("off,off,off"));
}

// A conversation page's list bound to the messages while the model drops the
// oldest and then the whole conversation: the items are freed, the page reads
// null and shows nothing, without a warning.
void TestChatData::viewOutlivesLetGoItems() {
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick 2.15\n"
                      "ListView {\n"
                      "    property QtObject conversation\n"
                      "    width: 100; height: 4000\n"
                      "    model: conversation ? conversation.messages : 0\n"
                      "    delegate: Text { text: modelData.message }\n"
                      "}",
                      QUrl());
    std::unique_ptr<QObject> view(component.create());
    QVERIFY2(view, qPrintable(component.errorString()));
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type != QtDebugMsg && type != QtInfoMsg)
                warnings << text;
        });
    auto restoreHandler = qScopeGuard([previous] { qInstallMessageHandler(previous); });

    ChatData model;
    for (int i = 0; i < ChatData::messageLimit; ++i)
        model.fileIncoming({"-1@c.test/r", QString::number(i), QString::number(i)});
    QPointer<Conversation> c = model.conversation("-1@c.test");
    view->setProperty("conversation", QVariant::fromValue<QObject *>(c));
    QCOMPARE(view->property("count").toInt(), ChatData::messageLimit);
    QPointer<ChatMessage> oldest = c->messageList().first();
    model.fileIncoming({"-1@c.test/r", "new", "new"});
    freeLetGoItems();
    QVERIFY(!oldest);
    QCOMPARE(view->property("count").toInt(), ChatData::messageLimit);

    model.clearConversation("-1@c.test");
    freeLetGoItems();
    QVERIFY(!c);
    QCOMPARE(view->property("conversation").value<QObject *>(), nullptr);
    QCOMPARE(view->property("count").toInt(), 0);
    QCOMPARE(warnings, QStringList());
}

// A first run keeps, for account -10 (token "A"), Anna's conversation with a
// message received, one still pending and one delivered; for account -20
// (token "B") an unnamed contact's message. Each row is a later run: steps
// "restore|token", "confirm|jid", "send|to|text", "off" (chat turned off),
// "forget|token", "rekey|old|new", "damage|index" or "damage|<account>".
// Then the model's conversations, the client's outbox and the accounts
// whose file remains.
void TestChatData::keptPerAccount_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("outbox");
    QTest::addColumn<QString>("files");
    const char *anna = "Anna:<hi,>yo*,>sent";
    const char *other = "2:<b+";
    auto row = [](const char *name, const QStringList &steps, const char *shown, const char *outbox,
                  const char *files) {
        QTest::newRow(name) << steps << QString(shown) << QString(outbox) << QString(files);
    };
    row("a token never confirmed shows nothing", {"restore|C"}, "", "", "-10,-20");
    row("before the server answers, the token's account only", {"restore|A"}, anna, "", "-10,-20");
    row("the other token, the other account", {"restore|B"}, other, "", "-10,-20");
    row("confirmed: the pending message is sent again under its id, before newer ones",
        {"restore|A", "send|-1@c.test|new", "confirm|-10@c.test/r"}, "Anna:<hi,>yo*,>sent,>new*",
        "yo,new", "-10,-20");
    row("confirmed for another account: its conversations, nothing of the first sent",
        {"restore|A", "confirm|-20@c.test/r"}, other, "", "-10,-20");
    row("confirmed without a kept list: the account's own kept list",
        {"restore|C", "confirm|-10@c.test/r"}, anna, "yo", "-10,-20");
    row("the exchanged token keeps the account", {"rekey|A|A2", "restore|A2"}, anna, "", "-10,-20");
    row("chat off keeps the file; on again shows it", {"restore|A", "off", "restore|A"}, anna, "",
        "-10,-20");
    row("a damaged file reads as none", {"damage|-10@c.test", "restore|A"}, "", "", "-10,-20");
    row("a damaged index reads as none", {"damage|index", "restore|A"}, "", "", "-10,-20");
    row("signing out deletes the account's conversations",
        {"restore|A", "confirm|-10@c.test/r", "forget|A", "off", "restore|A"}, "", "", "-20");
    row("signing out with chat off too", {"forget|B", "restore|B"}, "", "", "-10");
}

void TestChatData::keptPerAccount() {
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    QFETCH(QString, outbox);
    QFETCH(QString, files);
    QTemporaryDir home;
    const QString folder = home.filePath("chat");
    {
        ChatRun first(folder);
        first.model.setRoster({{"-1@c.test", "Anna"}});
        first.cache.restore("access_token=A");
        emit first.client.ownJidReceived("-10@c.test/r");
        first.model.fileIncoming({"-1@c.test/r", "i1", "hi"});
        first.client.sendMessage("-1@c.test", "yo");
        first.model.setDelivered(first.model.fileOutgoing("-1@c.test", "sent"));
        first.client.disconnectChat();
        first.cache.restore("B");
        emit first.client.ownJidReceived("-20@c.test/r");
        first.model.fileIncoming({"-2@c.test/r", "j1", "b"});
    } // saved at the end of the run
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFile::permissions(folder) & others, QFile::Permissions());
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files))
        QCOMPARE(file.permissions() & others, QFile::Permissions());

    ChatRun run(folder);
    for (const QString &step : steps) {
        const QStringList f = step.split('|');
        if (f[0] == "restore")
            run.cache.restore(f[1]);
        else if (f[0] == "confirm")
            emit run.client.ownJidReceived(f[1]);
        else if (f[0] == "send")
            run.client.sendMessage(f[1], f[2]);
        else if (f[0] == "off")
            run.client.disconnectChat();
        else if (f[0] == "forget")
            run.cache.forget(f[1]);
        else if (f[0] == "rekey")
            run.cache.rekey(f[1], f[2]);
        else if (f[0] == "damage") {
            QFile file(f[1] == "index" ? folder + "/accounts.json" : run.cache.accountFile(f[1]));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("{\"account\":\"-10@c.test\",\"conversations\":[{\"jid\"");
        }
    }
    QCOMPARE(conversations(run.model), shown);
    QCOMPARE(run.outbox(), outbox);
    QStringList kept;
    for (const char *account : {"-10", "-20"})
        if (QFile::exists(run.cache.accountFile(QString(account) + "@c.test")))
            kept << account;
    QCOMPARE(kept.join(','), files);
}

QTEST_MAIN(TestChatData)
#include "tst_chatdata.moc"
