// Bad input never takes the service down: raw malformed HTTP, hostile query
// strings, batches and FQL, and mutated multipart bodies, each answered with
// an error while the service keeps serving. Bounded in count (runs in seconds).
#include "sandboxtestsupport.h"

#include "multipart.h"

#include <QTcpSocket>
#include <QtTest>

#include <random>

class TestSandboxRobustness : public QObject {
    Q_OBJECT

private:
    SandboxFixture fixture;
    SandboxFixture *const f = &fixture;

    void stillServing() {
        QCOMPARE(f->get("me?fields=id").object().value("id").toString(), f->me());
    }

private slots:

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
};

QTEST_MAIN(TestSandboxRobustness)
#include "tst_sandbox_robustness.moc"
