// Zero loss across a lost chat session: the chat client and its model, wired
// as the application wires them, against the whole sandbox in process. The
// chat server is stopped and started, or only the app's connection dropped,
// while the app and a contact (through the control endpoints) keep writing.
#include <QSignalSpy>
#include <QtTest>

#include "chatdata.h"
#include "rootwiring.h"
#include "sandboxtestsupport.h"
#include "xmppclient.h"

namespace {
constexpr int timeout = 30000; // reconnection backs off to several seconds
}
#define TRY_VERIFY(condition) QTRY_VERIFY_WITH_TIMEOUT(condition, timeout)
#define TRY_COMPARE(actual, expected) QTRY_COMPARE_WITH_TIMEOUT(actual, expected, timeout)

class TestXmppReconnect : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyMessageOnceInOrder_data();
    void everyMessageOnceInOrder();

private:
    QString jidOf(const QString &userId) {
        return QLatin1Char('-') + userId + QLatin1Char('@') + f.sandbox().chatDomain();
    }
    void contactSays(const QString &body) {
        QCOMPARE(f.control("POST", "chat/message?from=" + m_friend + "&to=" + f.me() +
                                       "&body=" + QUrl::toPercentEncoding(body))
                     .status,
                 200);
    }
    // What the sandbox routed to the contact, as "id body".
    QStringList routedToContact() const {
        QStringList routed;
        const QJsonArray data =
            f.control("GET", "chat/messages?user=" + m_friend).object().value("data").toArray();
        for (const QJsonValue &m : data)
            routed << m["id"].toString() + ' ' + m["body"].toString();
        return routed;
    }

    SandboxFixture f;
    QString m_friend;
};

void TestXmppReconnect::initTestCase() {
    m_friend = f.list("me/friends").at(0)["id"].toString();
    QVERIFY(!m_friend.isEmpty());
    QCOMPARE(f.control("POST", "chat/presence?user=" + m_friend + "&show=").status, 200);
}

void TestXmppReconnect::everyMessageOnceInOrder_data() {
    QTest::addColumn<QString>("interrupt");
    QTest::addColumn<QString>("resume");
    QTest::newRow("server stopped and started") << "chat/stop"
                                                << "chat/start";
    QTest::newRow("only the app's connection dropped") << "chat/drop?user=" + f.me() << QString();
}

void TestXmppReconnect::everyMessageOnceInOrder() {
    QFETCH(QString, interrupt);
    QFETCH(QString, resume);
    ServiceSettings settings;
    settings.chatDomain = f.sandbox().chatDomain();
    settings.chatHost = QStringLiteral("127.0.0.1");
    settings.chatPort = f.sandbox().xmppPort();
    settings.appId = f.sandbox().appId();
    ChatData model;
    xmppClient client(settings);
    connectChatModel(&client, &model);
    QSignalSpy connected(&client, &xmppClient::clientConnected);
    QSignalSpy lost(&client, &xmppClient::connectionLost);
    const QString contact = jidOf(m_friend);
    const auto contactOnline = [&] {
        return model.user(contact) && model.user(contact)->isOnline();
    };
    const auto say = [&](const QString &text) { client.sendMessage(contact, text); };
    const int routedBefore = routedToContact().size();

    client.connectChat(f.token());
    TRY_VERIFY(client.isAuthenticated() && contactOnline());
    say("app before");
    contactSays("contact before");
    TRY_VERIFY(client.pendingIds().isEmpty() && model.conversation(contact)->messagesCount() == 2);

    // In flight when the session goes: routed or not, it is sent again and
    // arrives once.
    say("app just before");
    QCOMPARE(f.control("POST", interrupt).status, 200);
    TRY_COMPARE(lost.size(), 1);
    QVERIFY(!client.isAuthenticated() && !contactOnline());
    say("app while down 1");
    say("app while down 2");
    QVERIFY(client.pendingIds().size() >= 2);
    contactSays("contact while down 1");
    contactSays("contact while down 2");
    if (!resume.isEmpty()) {
        // Once an attempt has met the closed port (the delay has doubled twice).
        TRY_VERIFY(client.retryDelay() >= 4 * xmppClient::firstRetryMs);
        QCOMPARE(f.control("POST", resume).status, 200);
    }

    TRY_VERIFY(connected.size() == 2 && client.isAuthenticated() && contactOnline());
    say("app after");
    contactSays("contact after");

    const QStringList expected{"app before",           "contact before",   "app just before",
                               "app while down 1",     "app while down 2", "contact while down 1",
                               "contact while down 2", "app after",        "contact after"};
    const auto shown = [&] {
        QStringList bodies;
        for (const ChatMessage *m : model.conversation(contact)->messageList())
            bodies << m->message() + (m->pending() || m->failed() ? " !" : "");
        return bodies;
    };
    TRY_COMPARE(shown(), expected);
    QVERIFY(client.pendingIds().isEmpty());
    // The contact got each of the app's messages once, in order, under the
    // id the app filed it with.
    QStringList sent;
    for (const ChatMessage *m : model.conversation(contact)->messageList())
        if (!m->receiver())
            sent << m->id() + ' ' + m->message();
    TRY_COMPARE(routedToContact().mid(routedBefore), sent);
    QCOMPARE(lost.size(), 1);
    client.disconnectChat();
}

QTEST_GUILESS_MAIN(TestXmppReconnect)
#include "tst_xmppreconnect.moc"
