// The "/_sandbox/" control endpoints for tests and demos.
#include "sandboxtestsupport.h"

#include <QtTest>

class TestSandboxControl : public QObject {
    Q_OBJECT

private:
    SandboxFixture fixture;
    SandboxFixture *const f = &fixture;

    HttpResult control(const QByteArray &method, const QString &command) {
        return httpRequest(method, f->root() + "/_sandbox/" + command,
                           method == "POST" ? QByteArray("") : QByteArray());
    }
    int unseen() {
        return f->getObject("/method/notifications.get?format=json")
            .value("notification_counts")
            .toObject()
            .value("unseen")
            .toInt();
    }
    QString friendAt(int i) { return f->list("me/friends")[i].toObject().value("id").toString(); }

private slots:

    void accountIsDescribed() {
        const QJsonObject account = control("GET", "account").object();
        QCOMPARE(account.value("id").toString(), f->me());
        QCOMPARE(account.value("login").toString(), f->sandbox().accountLogin());
        QCOMPARE(account.value("password").toString(), f->sandbox().accountPassword());
    }

    void notificationsAndFriendRequestsCanBeAdded() {
        const int before = unseen();
        const HttpResult added = control("POST", "notifications?from=" + friendAt(3) + "&title=" +
                                                     QUrl::toPercentEncoding("Hi there"));
        QCOMPARE(added.status, 200);
        QCOMPARE(unseen(), before + 1);
        QCOMPARE(f->list("me/notifications?include_read=1")[0].toObject().value("title").toString(),
                 QStringLiteral("Hi there"));
        QCOMPARE(control("POST", "notifications?from=1").status, 400);

        const QString stranger =
            f->list("search?q=-Vell&type=user")[0].toObject().value("id").toString();
        const int requests = f->list("me/friendrequests").size();
        QCOMPARE(control("POST", "friend_requests?from=" + stranger).status, 200);
        QCOMPARE(f->list("me/friendrequests").size(), requests + 1);
        QCOMPARE(control("POST", "friend_requests?from=" + friendAt(0)).status, 400);
    }

    void postingsCanBeReadBack() {
        const QString coordinates =
            QUrl::toPercentEncoding("{\"latitude\":\"60.17\",\"longitude\":\"24.94\"}");
        QCOMPARE(f->post("me/checkins?message=x&coordinates=" + coordinates +
                         "&place=700000000000001&tags[]=" + friendAt(1) + "&tags[]=" + friendAt(2))
                     .status,
                 200);
        const QJsonArray posted =
            control("GET", "posted?path=/me/checkins").object().value("data").toArray();
        QCOMPARE(posted.size(), 1);
        const QJsonObject params = posted[0].toObject().value("params").toObject();
        QCOMPARE(params.value("tags[]").toArray().size(), 2);
        QVERIFY(!params.contains("access_token"));
        QCOMPARE(posted[0].toObject().value("method").toString(), QStringLiteral("POST"));
    }

    void resetRestoresTheWorldButKeepsTokens() {
        const QString id = f->post("me/feed?message=temporary").object().value("id").toString();
        QCOMPARE(f->get(id).status, 200);
        QCOMPARE(control("POST", "reset").status, 200);
        QCOMPARE(f->get(id).status, 400);
        QCOMPARE(f->get("me").status, 200);
        QVERIFY(control("GET", "posted").object().value("data").toArray().isEmpty());
    }

    void commandsAreChecked() {
        QCOMPARE(control("GET", "reset").status, 400);
        QCOMPARE(control("POST", "no-such-command").status, 404);
        QCOMPARE(control("POST", "expire_token").status, 400);
        QCOMPARE(control("POST", "chat/presence?user=" + friendAt(0) + "&show=sleepy").status, 400);
        QCOMPARE(control("POST", "chat/message?from=1&to=2&body=x").status, 400);
    }

    void chatCommandsReachTheChatServer() {
        if (!f->sandbox().hasChat())
            QSKIP("built without the chat server");
        const QString from = friendAt(4), to = f->me();
        QCOMPARE(control("POST", "chat/message?from=" + from + "&to=" + to +
                                     "&body=" + QUrl::toPercentEncoding("Hello from the harbour"))
                     .status,
                 200);
        // Queued to the chat server: wait for it to run.
        QTRY_VERIFY(
            control("GET", "chat/messages?user=" + to).body.contains("Hello from the harbour"));
        // A routed message joins the two people's inbox thread.
        QTRY_VERIFY(f->get("me/inbox").body.contains("Hello from the harbour"));

        QCOMPARE(control("POST", "chat/presence?user=" + from + "&show=away").status, 200);
        QTRY_VERIFY(control("GET", "chat/online").object().value("data").toArray().contains(from));
        QCOMPARE(control("POST", "chat/presence?user=" + from + "&show=unavailable").status, 200);
        QTRY_VERIFY(!control("GET", "chat/online").object().value("data").toArray().contains(from));
        QCOMPARE(control("POST", "chat/typing?from=" + from + "&to=" + to + "&composing=1").status,
                 200);
    }
};

QTEST_MAIN(TestSandboxControl)
#include "tst_sandbox_control.moc"
