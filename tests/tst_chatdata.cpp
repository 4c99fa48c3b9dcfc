// The chat model without a server: presences, rosters, filing of message
// stanzas, the message limit and the items it lets go of.
#include <QQmlListReference>
#include <QtTest>

#include "chatdata.h"

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

QTEST_GUILESS_MAIN(TestChatData)
#include "tst_chatdata.moc"
