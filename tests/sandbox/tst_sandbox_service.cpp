// The service under ordinary load and faults: many held connections, the
// sizes the client sends, and a restart after SIGKILL with --state.
#include "sandboxtestsupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

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

class TestSandboxService : public QObject {
    Q_OBJECT

private:
    SandboxFixture fixture;
    SandboxFixture *const f = &fixture;

private slots:

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

QTEST_MAIN(TestSandboxService)
#include "tst_sandbox_service.moc"
