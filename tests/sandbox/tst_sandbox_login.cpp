// Tokens and login: the dialog, the code exchange, the long-lived token, the
// dead-token answer and the other error conventions, Read It Later; then the
// "/_sandbox/" control endpoints for tests and demos.
#include "sandboxtestsupport.h"

#include <QTcpSocket>
#include <QtTest>

class TestSandboxLogin : public SandboxTest {
    Q_OBJECT

private:
    QString dialogUrl(const QString &clientId, const QString &redirect = {}) const {
        QString url = f->root() + QStringLiteral("/dialog/oauth?client_id=") + clientId;
        if (!redirect.isEmpty())
            url += QStringLiteral("&redirect_uri=") + QUrl::toPercentEncoding(redirect);
        return url + QStringLiteral("&display=popup&scope=read_stream,xmpp_login,publish_stream");
    }
    HttpResult submit(const QString &password, const QString &redirect) {
        QUrlQuery form;
        form.addQueryItem("client_id", f->sandbox().appId());
        form.addQueryItem("redirect_uri", redirect);
        form.addQueryItem("email", f->sandbox().accountLogin());
        form.addQueryItem("pass", password);
        return httpRequest("POST", f->root() + "/dialog/oauth",
                           form.query(QUrl::FullyEncoded).toUtf8(),
                           {{"Content-Type", "application/x-www-form-urlencoded"}});
    }
    QString exchangeCode(const QString &code, const QString &secret, int *status) {
        const HttpResult r =
            httpRequest("GET", f->root() + "/oauth/access_token?client_id=" + f->sandbox().appId() +
                                   "&redirect_uri=" + f->root() + "/connect/login_success.html" +
                                   "&client_secret=" + secret + "&code=" + code);
        *status = r.status;
        return QString::fromUtf8(r.body);
    }
    static QString param(const QString &text, const QString &name) {
        return QUrlQuery(text).queryItemValue(name);
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

    void dialogPageHoldsTheElementsTheLoginViewScripts() {
        const HttpResult page = httpRequest("GET", dialogUrl(f->sandbox().appId()));
        QCOMPARE(page.status, 200);
        QVERIFY(page.header("Content-Type").startsWith("text/html"));
        QVERIFY(page.body.contains("id=\"footer\""));
        QVERIFY(page.body.contains("id=\"platform_dialog_bottom_bar\""));
        QVERIFY(page.body.contains("type=\"password\""));
        QVERIFY(page.body.contains(f->sandbox().accountName().toUtf8()));
        // The login help link uses the second application id.
        QCOMPARE(httpRequest("GET", dialogUrl("100000000000002")).status, 200);
        QCOMPARE(httpRequest("GET", dialogUrl("999")).status, 400);
        QCOMPARE(
            httpRequest("GET", dialogUrl(f->sandbox().appId(), "http://elsewhere.test/x")).status,
            400);
    }

    void wrongPasswordShowsAnErrorAndNoCode() {
        const HttpResult r = submit("not-the-password", f->root() + "/connect/login_success.html");
        QCOMPARE(r.status, 200);
        QVERIFY(r.body.contains("incorrect"));
        QVERIFY(r.header("Location").isEmpty());
        QVERIFY(!r.body.contains("code="));
    }

    void rightPasswordRedirectsWithACodeThatBuysOneToken() {
        const QString redirect = f->root() + "/connect/login_success.html";
        const HttpResult r = submit(f->sandbox().accountPassword(), redirect);
        QCOMPARE(r.status, 302);
        const QString location = QString::fromUtf8(r.header("Location"));
        QVERIFY2(location.startsWith(redirect + "?code="), qPrintable(location));
        const QString code = location.mid(location.indexOf("code=") + 5);
        QVERIFY(!code.isEmpty());
        QCOMPARE(httpRequest("GET", location).status, 200);

        int status = 0;
        QString answer = exchangeCode(code, "0123456789abcdef0123456789abcdef", &status);
        QCOMPARE(status, 400); // wrong secret
        answer = exchangeCode(code, f->sandbox().clientSecret(), &status);
        QCOMPARE(status, 200);
        const QString token = param(answer, "access_token");
        QVERIFY(token.size() > 20);
        QVERIFY(param(answer, "expires").toInt() > 0);
        exchangeCode(code, f->sandbox().clientSecret(), &status);
        QCOMPARE(status, 400); // a code is used once

        const HttpResult me = httpRequest("GET", f->root() + "/me?fields=id&access_token=" + token);
        QCOMPARE(me.status, 200);
        QCOMPARE(me.object(), (QJsonObject{{"id", f->me()}}));

        const HttpResult extended =
            httpRequest("GET", f->root() + "/oauth/access_token?client_id=" + f->sandbox().appId() +
                                   "&client_secret=" + f->sandbox().clientSecret() +
                                   "&grant_type=fb_exchange_token&fb_exchange_token=" + token);
        QCOMPARE(extended.status, 200);
        const QString longToken = param(QString::fromUtf8(extended.body), "access_token");
        QVERIFY(!longToken.isEmpty() && longToken != token);
        QVERIFY(param(QString::fromUtf8(extended.body), "expires").toInt() >
                param(answer, "expires").toInt());
        QCOMPARE(httpRequest("GET", f->root() + "/me?fields=id&access_token=" + longToken).status,
                 200);
    }

    void redirectHonoursAGivenQuery() {
        const HttpResult r = submit(f->sandbox().accountPassword(),
                                    f->root() + "/connect/login_success.html?from=test");
        QVERIFY(r.header("Location").contains("login_success.html?from=test&code="));
    }

    void errorAnswers_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("deadToken");
        for (const char *token : {"", "access_token=SBXnot-issued-here"})
            for (const char *path : {"/me/home?", "/method/notifications.get?format=json&",
                                     "/method/fql.query?format=json&query=x&"})
                QTest::addRow("%s, %s", *token ? "unknown token" : "no token", path)
                    << f->root() + path + token << 400 << true;
        QTest::newRow("unknown search type")
            << f->withToken("search?q=x&type=spaceship") << 400 << false;
        QTest::newRow("unknown path") << f->withToken("me/feed/extra/parts") << 404 << false;
        QTest::newRow("unknown connection") << f->withToken("me/spaceships") << 404 << false;
    }
    void errorAnswers() {
        QFETCH(QString, url);
        QFETCH(int, status);
        QFETCH(bool, deadToken);
        const HttpResult r = httpRequest("GET", url);
        QCOMPARE(r.status, status);
        const QJsonObject error = r.object().value("error").toObject();
        QVERIFY2(!error.value("message").toString().isEmpty(), r.body);
        const QByteArray auth = r.header("WWW-Authenticate");
        if (!deadToken) {
            QVERIFY2(auth.isEmpty(), auth);
            return;
        }
        QVERIFY2(auth.startsWith("OAuth \"Facebook Platform\" \"invalid_token\""), auth);
        QCOMPARE(error.value("type").toString(), QStringLiteral("OAuthException"));
    }

    void expiredTokenIsDead() {
        const QString token = f->sandbox().issueToken();
        QCOMPARE(httpRequest("GET", f->root() + "/me?access_token=" + token).status, 200);
        QCOMPARE(
            f->control("POST", "expire_token?token=" + token).object().value("expired").toInt(), 1);
        const HttpResult r = httpRequest("GET", f->root() + "/me?access_token=" + token);
        QCOMPARE(r.status, 400);
        QVERIFY(r.header("WWW-Authenticate").contains("invalid_token"));
    }

    void readItLaterAcceptsOnlyTheAccount() {
        const QString base = f->root() + "/v2/add?apikey=sandbox-ril-key&url=" +
                             QUrl::toPercentEncoding("http://news.sandbox.test/a") +
                             "&title=A%20title";
        const HttpResult good =
            httpRequest("GET", base + "&username=" + f->sandbox().accountLogin() +
                                   "&password=" + f->sandbox().accountPassword());
        QCOMPARE(good.status, 200);
        QCOMPARE(good.body, QByteArray("200 OK"));
        const HttpResult wrong = httpRequest(
            "GET", base + "&username=" + f->sandbox().accountLogin() + "&password=nope");
        QVERIFY(wrong.status != 200);
        QVERIFY(httpRequest("GET", f->root() + "/v2/add?username=x").status != 200);
    }

    void privacyPageIsServed() {
        const HttpResult r = httpRequest("GET", f->root() + "/privacy");
        QCOMPARE(r.status, 200);
        QVERIFY(r.body.contains("Privacy"));
    }

    void accountIsDescribed() {
        const QJsonObject account = f->control("GET", "account").object();
        QCOMPARE(account.value("id").toString(), f->me());
        QCOMPARE(account.value("login").toString(), f->sandbox().accountLogin());
        QCOMPARE(account.value("password").toString(), f->sandbox().accountPassword());
    }

    void notificationsAndFriendRequestsCanBeAdded() {
        const int before = unseen();
        const HttpResult added =
            f->control("POST", "notifications?from=" + friendAt(3) +
                                   "&title=" + QUrl::toPercentEncoding("Hi there"));
        QCOMPARE(added.status, 200);
        QCOMPARE(unseen(), before + 1);
        QCOMPARE(f->list("me/notifications?include_read=1")[0].toObject().value("title").toString(),
                 QStringLiteral("Hi there"));
        QCOMPARE(f->control("POST", "notifications?from=1").status, 400);

        const QString stranger =
            f->list("search?q=-Vell&type=user")[0].toObject().value("id").toString();
        const int requests = f->list("me/friendrequests").size();
        QCOMPARE(f->control("POST", "friend_requests?from=" + stranger).status, 200);
        QCOMPARE(f->list("me/friendrequests").size(), requests + 1);
        QCOMPARE(f->control("POST", "friend_requests?from=" + friendAt(0)).status, 400);
    }

    void postingsCanBeReadBack() {
        const QString coordinates =
            QUrl::toPercentEncoding("{\"latitude\":\"60.17\",\"longitude\":\"24.94\"}");
        QCOMPARE(f->post("me/checkins?message=x&coordinates=" + coordinates +
                         "&place=700000000000001&tags[]=" + friendAt(1) + "&tags[]=" + friendAt(2))
                     .status,
                 200);
        const QJsonArray posted =
            f->control("GET", "posted?path=/me/checkins").object().value("data").toArray();
        QCOMPARE(posted.size(), 1);
        const QJsonObject params = posted[0].toObject().value("params").toObject();
        QCOMPARE(params.value("tags[]").toArray().size(), 2);
        QVERIFY(!params.contains("access_token"));
        QCOMPARE(posted[0].toObject().value("method").toString(), QStringLiteral("POST"));

        // A shared link is a link story on the wall, read back like any posting.
        const QString link = QUrl::toPercentEncoding("http://news.sandbox.test/shared?a=1&b=2");
        const QString id = f->post("me/links?message=Look&link=" + link + "&name=N&caption=C" +
                                   "&description=D&picture=" + link)
                               .object()
                               .value("id")
                               .toString();
        const QJsonObject story = f->list("me/feed")[0].toObject();
        QCOMPARE(story.value("id").toString(), id);
        QCOMPARE(story.value("type").toString(), QStringLiteral("link"));
        QCOMPARE(story.value("link").toString(),
                 QStringLiteral("http://news.sandbox.test/shared?a=1&b=2"));
        const QJsonObject shared =
            f->control("GET", "posted?path=/me/links").object().value("data")[0].toObject();
        QCOMPARE(shared.value("result").toString(), id);
        QCOMPARE(shared.value("params").toObject().value("caption").toString(),
                 QStringLiteral("C"));
        // Only web addresses are shared.
        for (const char *bad : {"", "javascript%3Aalert(1)", "file%3A%2F%2F%2Fetc%2Fpasswd"})
            QCOMPARE(f->post("me/links?message=x&link=" + QLatin1String(bad)).status, 400);
    }

    void resetRestoresTheWorldButKeepsTokens() {
        const QString id = f->post("me/feed?message=temporary").object().value("id").toString();
        QCOMPARE(f->get(id).status, 200);
        QCOMPARE(f->control("POST", "reset").status, 200);
        QCOMPARE(f->get(id).status, 400);
        QCOMPARE(f->get("me").status, 200);
        QVERIFY(f->control("GET", "posted").object().value("data").toArray().isEmpty());
    }

    void commandsAreChecked() {
        QCOMPARE(f->control("GET", "reset").status, 400);
        QCOMPARE(f->control("POST", "no-such-command").status, 404);
        QCOMPARE(f->control("POST", "expire_token").status, 400);
        QCOMPARE(f->control("POST", "chat/presence?user=" + friendAt(0) + "&show=sleepy").status,
                 400);
        QCOMPARE(f->control("POST", "chat/message?from=1&to=2&body=x").status, 400);
        for (const char *bad :
             {"variant?shape=spaceship", "feed_paging?by=moon", "feed_size?stories=-1", "feed_size",
              "fail?path=/me&delay_ms=10001", "fail?path=/me&status=99", "fail?path=/me",
              "fail?path=/_sandbox/reset&status=500", "fail?path=/me&status=500&count=0"})
            QVERIFY2(f->control("POST", QLatin1String(bad)).status == 400, bad);
    }

    void chatCommandsReachTheChatServer() {
        if (!f->sandbox().hasChat())
            QSKIP("built without the chat server");
        const QString from = friendAt(4), to = f->me();
        QCOMPARE(f->control("POST", "chat/message?from=" + from + "&to=" + to + "&body=" +
                                        QUrl::toPercentEncoding("Hello from the harbour"))
                     .status,
                 200);
        // Queued to the chat server: wait for it to run.
        QTRY_VERIFY(
            f->control("GET", "chat/messages?user=" + to).body.contains("Hello from the harbour"));
        // A routed message joins the two people's inbox thread.
        QTRY_VERIFY(f->get("me/inbox").body.contains("Hello from the harbour"));

        QCOMPARE(f->control("POST", "chat/presence?user=" + from + "&show=away").status, 200);
        QTRY_VERIFY(
            f->control("GET", "chat/online").object().value("data").toArray().contains(from));
        QCOMPARE(f->control("POST", "chat/presence?user=" + from + "&show=unavailable").status,
                 200);
        QTRY_VERIFY(
            !f->control("GET", "chat/online").object().value("data").toArray().contains(from));
        QCOMPARE(
            f->control("POST", "chat/typing?from=" + from + "&to=" + to + "&composing=1").status,
            200);
    }

    void chatServerControls() {
        if (!f->sandbox().hasChat())
            QSKIP("built without the chat server");
        for (const char *bad : {"chat/contacts?count=0", "chat/contacts?count=5001", "chat/drop",
                                "chat/name?user=1", "chat/full_jids?on=yes", "chat/drop?user=1"})
            QVERIFY2(f->control("POST", QLatin1String(bad)).status == 400, bad);
        const QJsonArray ids =
            f->control("POST", "chat/contacts?count=3").object().value("ids").toArray();
        QCOMPARE(ids.size(), 3);
        // A generated contact is a person to the chat commands; a message
        // gets an id, read back with it.
        const QString contact = ids[0].toString(), me = f->me();
        QCOMPARE(f->control("POST", "chat/name?user=" + contact + "&name=Nils").status, 200);
        const QString id =
            f->control("POST", "chat/message?from=" + contact + "&to=" + me + "&body=hej")
                .object()
                .value("id")
                .toString();
        QVERIFY(!id.isEmpty());
        QTRY_VERIFY(f->control("GET", "chat/messages?user=" + me)
                        .object()
                        .value("data")
                        .toArray()
                        .contains(QJsonObject{{"from", contact}, {"body", "hej"}, {"id", id}}));
        QCOMPARE(f->control("POST", "chat/drop?user=" + me).object().value("dropped").toInt(), 0);

        const quint16 port = f->sandbox().xmppPort();
        const auto listening = [port] {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            return socket.waitForConnected(5000);
        };
        QCOMPARE(f->control("POST", "chat/stop").status, 200);
        QVERIFY(!listening());
        QCOMPARE(f->control("POST", "chat/start").status, 200);
        QVERIFY(listening());
        QCOMPARE(f->control("POST", "chat/full_jids?on=1").status, 200);
        QCOMPARE(f->control("POST", "chat/full_jids?on=0").status, 200);
    }
};

QTEST_MAIN(TestSandboxLogin)
#include "tst_sandbox_login.moc"
