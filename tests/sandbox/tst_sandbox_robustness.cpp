// Bad input never takes the service down: raw malformed HTTP, hostile query
// strings, batches and FQL, and mutated multipart bodies, each answered with
// an error while the service keeps serving. Bounded in count (runs in seconds).
// Then the service under ordinary load and faults: many held connections, the
// sizes the client sends, and a restart after SIGKILL with --state.
#include "sandboxtestsupport.h"

#include "multipart.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <random>

namespace {

// The real executable on free ports, with a state folder; SIGKILL at the end.
class SandboxProcess {
public:
    explicit SandboxProcess(const QString &stateDir) {
        m_process.start(QStringLiteral(KELVO_SANDBOX_EXECUTABLE),
                        {"--http-port", "0", "--xmpp-port", "0", "--state", stateDir});
        QByteArray out;
        while (!out.contains("HTTP") && m_process.waitForReadyRead(10000))
            out += m_process.readAllStandardOutput();
        const int at = out.indexOf("http://127.0.0.1:");
        m_root = QString::fromLatin1(out.mid(at, out.indexOf('\n', at) - at)).trimmed();
    }
    ~SandboxProcess() {
        m_process.kill();
        m_process.waitForFinished();
    }
    QString root() const { return m_root; }

private:
    QProcess m_process;
    QString m_root;
};

} // namespace

class TestSandboxRobustness : public SandboxTest {
    Q_OBJECT

private:
    void stillServing() {
        QCOMPARE(f->get("me?fields=id").object().value("id").toString(), f->me());
    }

private slots:
    void cleanup() { resetSwitches(); }

    void malformedHttp() {
        const QList<QByteArray> inputs{
            "",
            "GET\r\n\r\n",
            "GET / HTTP/1.1\r\n",                   // truncated headers
            "BREW /me HTTP/1.1\r\nHost: x\r\n\r\n", // unknown method
            "GET /me HTTP/9.9\r\nHost: x\r\n\r\n",
            "GET /me HTTP/1.1\r\nHost: x\r\nX: " + QByteArray(20000, 'a') + "\r\n\r\n",
            "GET /" + QByteArray(100000, 'b') + " HTTP/1.1\r\nHost: x\r\n\r\n",
            "POST /me/feed HTTP/1.1\r\nHost: x\r\nContent-Length: 999999999999\r\n\r\nabc",
            "POST /me/feed HTTP/1.1\r\nHost: x\r\nContent-Length: -5\r\n\r\n",
            "POST /me/feed HTTP/1.1\r\nHost: x\r\nContent-Length: 100\r\n\r\nshort",
            "POST /me/feed HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
            QByteArray("GET /me\0/home HTTP/1.1\r\nHost: x\r\n\r\n", 38),
            "\xff\xfe\x00\x01garbage\r\n\r\n",
        };
        for (const QByteArray &input : inputs) {
            const QByteArray answer = rawHttp(f->sandbox().httpPort(), input, 3000, true);
            QVERIFY2(answer.isEmpty() || answer.startsWith("HTTP/1.1 4") ||
                         answer.startsWith("HTTP/1.1 5") || answer.startsWith("HTTP/1.1 2"),
                     answer.left(80));
        }
        stillServing();
    }

    void hostileQueries() {
        const QStringList paths{
            "me/home?limit=-5&offset=-9",
            "me/home?limit=abc&offset=1e99",
            "me/home?limit=99999999999999999999",
            "me/home?%zz=%&&&==&=x",
            "me/%E0%A4%A/feed",
            "me?fields=,,,,",
            "search?type=place&center=1e400,2&q=*",
            "search?type=place&center=,&q=*",
            "?method=POST&batch=not-json",
            "?method=POST&batch=%5B%5D",
            "?method=POST&batch=" +
                QUrl::toPercentEncoding("[{\"relative_url\":\"?method=POST&batch=[]\"}]"),
            "?method=POST&batch=" + QUrl::toPercentEncoding("[1,2,3]"),
            "?method=POST&batch=" +
                QUrl::toPercentEncoding("[" + QString("{\"relative_url\":\"me\"},").repeated(50) +
                                        "{\"relative_url\":\"me\"}]"),
            "/method/fql.query?format=json&query=" +
                QUrl::toPercentEncoding("SELECT pic_cover FROM user WHERE uid = 1 OR 1=1"),
            "/method/fql.multiquery?format=json&queries=" +
                QUrl::toPercentEncoding("{\"a\":\"SELECT uid, name FROM user WHERE uid IN (SELECT "
                                        "uid_from FROM #b)\",\"b\":\"SELECT uid, name FROM user "
                                        "WHERE uid IN (SELECT uid_from FROM #a)\"}"),
            "/method/fql.multiquery?format=json&queries=" + QUrl::toPercentEncoding("{\"a\":5}"),
            "/method/fql.multiquery?format=json&queries=%7B",
            "/method/fql.query?format=xml&query=x",
        };
        for (const QString &path : paths) {
            const HttpResult r = f->get(path);
            QVERIFY2(r.status == 200 || r.status == 400 || r.status == 404,
                     qPrintable(path + " -> " + QString::number(r.status)));
            if (r.status != 200)
                QVERIFY2(r.object().contains("error"), qPrintable(path));
        }
        stillServing();
    }

    void mutatedMultipartBodies() {
        const QByteArray boundary = "xYz123";
        const QByteArray type = "multipart/form-data; boundary=" + boundary;
        QByteArray body = "--" + boundary +
                          "\r\nContent-Disposition: form-data; name=\"file\"; "
                          "filename=\"a.jpg\"\r\nContent-Type: image/jpeg\r\n\r\n" +
                          QByteArray(64, 'J') + "\r\n--" + boundary + "--\r\n";
        QVERIFY(parseMultipart(type, body, body.size()).ok);
        std::mt19937 rng(4242);
        // Many mutations straight into the parser, a few of them over HTTP.
        for (int i = 0; i < 20000; ++i) {
            QByteArray m = body;
            const int edits = 1 + int(rng() % 4);
            for (int e = 0; e < edits; ++e) {
                const int at = int(rng() % quint32(m.size() + 1));
                switch (rng() % 4) {
                case 0:
                    m.insert(at, char(rng() % 256));
                    break;
                case 1:
                    m.remove(at, 1 + int(rng() % 8));
                    break;
                case 2:
                    if (at < m.size())
                        m[at] = char(rng() % 256);
                    break;
                default:
                    m.truncate(at);
                    break;
                }
            }
            const MultipartResult r = parseMultipart(type, m, m.size());
            if (r.ok)
                for (const MultipartPart &p : r.parts)
                    QVERIFY(p.data.size() <= m.size());
            if (i % 400 == 0) {
                const HttpResult h =
                    httpRequest("POST", f->withToken("me/photos"), m, {{"Content-Type", type}});
                QCOMPARE(h.status, 400); // never a valid picture
            }
        }
        stillServing();
    }

    void heldConnectionsDoNotStopOthers() {
        // Idle connections, keep-alive ones reading and posting at once, slow senders.
        const quint16 port = f->sandbox().httpPort();
        std::vector<std::unique_ptr<QTcpSocket>> held;
        for (int i = 0; i < 64; ++i) {
            auto socket = std::make_unique<QTcpSocket>();
            socket->connectToHost(QHostAddress::LocalHost, port);
            QVERIFY(socket->waitForConnected(3000));
            if (i % 3 == 1)
                socket->write((i % 2 ? "GET /me/home?" : "POST /me/feed?message=hi&") +
                              ("access_token=" + f->token().toUtf8()) +
                              " HTTP/1.1\r\nHost: x\r\n\r\n");
            else if (i % 3 == 2) // half-way through its head
                socket->write("GET /me/home?access_token=" + f->token().toUtf8() +
                              " HTTP/1.1\r\nHo");
            socket->flush();
            held.push_back(std::move(socket));
        }
        for (int i = 2; i < 64; i += 3)
            held[size_t(i)]->write("s"); // trickles on
        // Answered at all within rawHttp's 3 s: held workers kept it waiting 10 s and more.
        const QByteArray control =
            rawHttp(port, "GET /_sandbox/account HTTP/1.1\r\nHost: x\r\n\r\n");
        QVERIFY2(control.startsWith("HTTP/1.1 200"), control.left(80));
        const QByteArray feed = rawHttp(port, "GET /me/home?access_token=" + f->token().toUtf8() +
                                                  " HTTP/1.1\r\nHost: x\r\n\r\n");
        QVERIFY2(feed.startsWith("HTTP/1.1 200"), feed.left(80));
        for (int i = 1; i < 64; i += 3) {
            QVERIFY(held[size_t(i)]->waitForReadyRead(3000));
            QVERIFY(held[size_t(i)]->readAll().startsWith("HTTP/1.1 200"));
        }
    }

    void sizesTheClientSends_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("status");
        const QByteArray token = f->token().toUtf8();
        QTest::newRow("POST without a body")
            << QByteArray("POST /_sandbox/token HTTP/1.1\r\nHost: x\r\n\r\n") << 200;
        for (const char *offset : {"-1", "2147483600", "1e3", "x"})
            QTest::addRow("offset %s", offset) << "GET /me/home?offset=" + QByteArray(offset) +
                                                      "&access_token=" + token + " HTTP/1.1\r\n\r\n"
                                               << 400;
        for (const char *time : {"until=x", "since=1e3"})
            QTest::addRow("%s", time) << "GET /me/home?" + QByteArray(time) +
                                             "&access_token=" + token + " HTTP/1.1\r\n\r\n"
                                      << 400;
        QByteArray batch = "[" + QByteArray("{\"relative_url\":\"me\"},").repeated(51);
        batch.chop(1);
        QTest::newRow("51 in a batch")
            << "POST /?batch=" + batch.toPercentEncoding() + "&access_token=" + token +
                   " HTTP/1.1\r\nContent-Length: 0\r\n\r\n"
            << 400;
    }
    void sizesTheClientSends() {
        QFETCH(QByteArray, request);
        QFETCH(int, status);
        const QByteArray answer = rawHttp(f->sandbox().httpPort(), request);
        QVERIFY2(answer.startsWith("HTTP/1.1 " + QByteArray::number(status)), answer.left(200));
        if (status != 200)
            QVERIFY(answer.contains("\"error\""));
    }

    void formsAndLongStatusesArePosted() {
        const QString cjk = QString(3300, QChar(0x4e2d)); // a 30 KB address
        QCOMPARE(f->post("me/feed?message=" + QUrl::toPercentEncoding(cjk)).status, 200);
        QCOMPARE(f->list("me/feed")[0].toObject().value("message").toString(), cjk);
        const HttpResult form =
            httpRequest("POST", f->root() + "/me/feed",
                        "message=From+a+form&access_token=" + f->token().toUtf8(),
                        {{"Content-Type", "application/x-www-form-urlencoded"}});
        QCOMPARE(form.status, 200);
        QCOMPARE(f->getObject(form.object().value("id").toString()).value("message").toString(),
                 QStringLiteral("From a form"));
    }

    // Each variant shape reaches the answer: one row per changed property.
    void answerShapes_data() {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("property");
        const QString batch = "?method=POST&batch=" +
                              QUrl::toPercentEncoding("[{\"relative_url\":\"me\"},{\"relative_"
                                                      "url\":\"me\"},{\"relative_url\":\"me\"}]");
        const struct {
            const char *shape, *path, *property;
        } rows[] = {{"objects", "me/home?offset=100000", "empty data {}"},
                    {"arrays", "me/notifications", "summary []"},
                    {"arrays", "me/home?limit=400", "tags in an array"},
                    {"numbers", "me", "numeric id"},
                    {"sparse", "me/home", "comments count only"},
                    {"sparse", "me/home", "third story without author"},
                    {"sparse", "me/checkins", "location a string"},
                    {"cursors", "me/friends?limit=5", "cursor pages on"},
                    {"escapes", "me/friends?limit=5", "broken escape pages on"},
                    {"batchfail", "", "500, null, no body"}};
        for (const auto &row : rows)
            QTest::addRow("%s: %s", row.shape, row.property)
                << row.shape << (*row.path ? QString::fromLatin1(row.path) : batch) << row.property;
    }
    void answerShapes() {
        QFETCH(QString, shape);
        QFETCH(QString, path);
        QFETCH(QString, property);
        const QString sixthFriend = f->list("me/friends")[5].toObject().value("id").toString();
        QCOMPARE(f->control("POST", "variant?shape=" + shape).status, 200);
        const HttpResult r = f->get(path);
        QCOMPARE(r.status, 200);
        const QJsonObject a = r.object();
        const QJsonArray data = a.value("data").toArray();
        const auto anyStory = [&](const std::function<bool(const QJsonObject &)> &test) {
            for (const QJsonValue &v : data)
                if (test(v.toObject()))
                    return true;
            return false;
        };
        // The second friend page, reached through the paging address.
        const QJsonObject paging = a.value("paging").toObject();
        const QString next = paging.value("next").toString();
        const auto nextPageFirst = [&] {
            return f->list(next)[0].toObject().value("id").toString();
        };
        bool changed = false;
        if (property == "empty data {}")
            changed = a.value("data").isObject();
        else if (property == "summary []")
            changed = a.value("summary").isArray();
        else if (property == "tags in an array")
            changed =
                anyStory([](const QJsonObject &s) { return s.value("message_tags").isArray(); });
        else if (property == "numeric id")
            changed = a.value("id").isDouble() &&
                      QString::number(qint64(a.value("id").toDouble())) == f->me();
        else if (property == "comments count only")
            changed = !anyStory([](const QJsonObject &s) {
                const QJsonObject c = s.value("comments").toObject();
                return !c.value("count").isDouble() || c.contains("data");
            });
        else if (property == "third story without author")
            changed = data[2].toObject().contains("id") && !data[2].toObject().contains("from");
        else if (property == "location a string")
            changed = data[0].toObject().value("place").toObject().value("location").isString();
        else if (property == "cursor pages on")
            changed = !paging.value("cursors").toObject().value("after").toString().isEmpty() &&
                      next.contains("after=") && nextPageFirst() == sixthFriend;
        else if (property == "broken escape pages on")
            changed = next.contains("%zz") && nextPageFirst() == sixthFriend;
        else if (property == "500, null, no body") {
            const QJsonArray elements = r.array();
            changed = elements[0].toObject().value("code") == 500 && elements[1].isNull() &&
                      !elements[2].toObject().contains("body");
        }
        QVERIFY2(changed, r.body.left(300));
        // Off again: the plain shape.
        resetSwitches();
        QVERIFY(f->getObject("me").value("id").isString());
    }

    // Failures and delays set for a path: status and body, used up after
    // their count even by parallel requests; a delayed answer still comes.
    void failuresAreUsedUp() {
        QCOMPARE(f->control("POST", "fail?path=/me/home&status=503&count=3&body=" +
                                        QUrl::toPercentEncoding("<html>busy</html>"))
                     .status,
                 200);
        QNetworkAccessManager manager;
        QList<QNetworkReply *> replies;
        for (int i = 0; i < 8; ++i)
            replies.append(manager.get(QNetworkRequest(QUrl(f->withToken("me/home")))));
        QTRY_VERIFY(std::all_of(replies.begin(), replies.end(),
                                [](QNetworkReply *r) { return r->isFinished(); }));
        int failed = 0;
        for (QNetworkReply *reply : replies) {
            if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 503)
                continue;
            QCOMPARE(reply->readAll(), QByteArray("<html>busy</html>"));
            ++failed;
        }
        QCOMPARE(failed, 3);
        QCOMPARE(f->get("me/home").status, 200);
        QCOMPARE(f->control("POST", "fail?path=/me&status=500").status, 200);
        QCOMPARE(f->get("me/friends").status, 200); // another path is not touched
        const HttpResult failure = f->get("me");
        QCOMPARE(failure.status, 500);
        QVERIFY(failure.object().value("error").isObject());
        QCOMPARE(f->control("POST", "fail?path=/me&delay_ms=300&count=1").status, 200);
        for (int i = 0; i < 2; ++i)
            QCOMPARE(f->getObject("me").value("id").toString(), f->me());
    }

    void stateSurvivesSigkill() {
        QTemporaryDir dir;
        QString token, post, comment, expired;
        {
            SandboxProcess first(dir.path());
            QVERIFY(!first.root().isEmpty());
            const auto control = [&](const QString &command) {
                return httpRequest("POST", first.root() + "/_sandbox/" + command, "").object();
            };
            token = control("token").value("access_token").toString();
            expired = control("token").value("access_token").toString();
            QCOMPARE(control("expire_token?token=" + expired).value("expired").toInt(), 1);
            const auto graph = [&](const QString &path) {
                return httpRequest("POST", first.root() + path + "&access_token=" + token, "")
                    .object();
            };
            post = graph("/me/feed?message=Kept").value("id").toString();
            comment = graph("/" + post + "/comments?message=Still+here").value("id").toString();
            QVERIFY(!comment.isEmpty());
        }
        for (const char *file : {"tokens.json", "posted.json"})
            QCOMPARE(QFileInfo(dir.filePath(file)).permissions(),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        SandboxProcess second(dir.path());
        const QJsonObject kept =
            httpRequest("GET", second.root() + "/" + post + "?access_token=" + token).object();
        QCOMPARE(kept.value("message").toString(), QStringLiteral("Kept"));
        QCOMPARE(kept.value("comments").toObject().value("data")[0].toObject().value("id"),
                 comment);
        QCOMPARE(httpRequest("GET", second.root() + "/me?access_token=" + expired).status, 400);
    }
};

QTEST_MAIN(TestSandboxRobustness)
#include "tst_sandbox_robustness.moc"
