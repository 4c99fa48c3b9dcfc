#include "sandboxtestsupport.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include <sys/socket.h>

QByteArray HttpResult::header(const QByteArray &name) const {
    for (const auto &h : headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    return {};
}

HttpResult httpRequest(const QByteArray &method, const QString &url, const QByteArray &body,
                       const QList<QPair<QByteArray, QByteArray>> &headers) {
    static QNetworkAccessManager *manager = new QNetworkAccessManager;
    QNetworkRequest request{QUrl(url, QUrl::TolerantMode)};
    for (const auto &h : headers)
        request.setRawHeader(h.first, h.second);
    QNetworkReply *reply = manager->sendCustomRequest(request, method, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();
    HttpResult result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.body = reply->readAll();
    result.headers = reply->rawHeaderPairs();
    reply->deleteLater();
    return result;
}

QByteArray rawHttp(quint16 port, const QByteArray &bytes, int waitMs, bool halfClose) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(waitMs))
        return "no connection";
    socket.write(bytes);
    socket.waitForBytesWritten(waitMs);
    if (halfClose)
        ::shutdown(int(socket.socketDescriptor()), SHUT_WR);
    QByteArray answer;
    const auto complete = [&] {
        const int end = answer.indexOf("\r\n\r\n");
        const QRegularExpressionMatch length =
            QRegularExpression(QStringLiteral("(?i)\r\ncontent-length: *(\\d+)"))
                .match(QString::fromLatin1(answer.left(end)));
        return end > 0 && length.hasMatch() &&
               answer.size() >= end + 4 + length.captured(1).toInt();
    };
    while (!complete() && socket.waitForReadyRead(waitMs))
        answer += socket.readAll();
    return answer;
}

SandboxFixture::SandboxFixture() {
    SandboxOptions options;
    options.today = QDate(2012, 3, 15);
    m_sandbox = std::make_unique<Sandbox>(options);
    QString error;
    if (!m_sandbox->start(0, 0, &error))
        qFatal("sandbox did not start: %s", qPrintable(error));
    m_token = m_sandbox->issueToken();
}

SandboxFixture::~SandboxFixture() = default;

QString SandboxFixture::withToken(const QString &pathAndQuery) const {
    QString url =
        pathAndQuery.startsWith(QLatin1String("http"))
            ? pathAndQuery
            : root() + (pathAndQuery.startsWith(QLatin1Char('/')) ? "" : "/") + pathAndQuery;
    url += url.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?');
    return url + QStringLiteral("access_token=") + m_token;
}

HttpResult SandboxFixture::control(const QByteArray &method, const QString &command) const {
    return httpRequest(method, root() + "/_sandbox/" + command,
                       method == "POST" ? QByteArray("") : QByteArray());
}

void SandboxTest::resetSwitches() const {
    for (const char *command :
         {"variant?shape=", "fail", "feed_paging?by=offset", "feed_size?stories=0"})
        QCOMPARE(f->control("POST", QLatin1String(command)).status, 200);
}

HttpResult SandboxFixture::get(const QString &pathAndQuery) const {
    return httpRequest("GET", withToken(pathAndQuery));
}

HttpResult SandboxFixture::post(const QString &pathAndQuery) const {
    return httpRequest("POST", withToken(pathAndQuery), QByteArray(""));
}

// The array a GET answers, with `text` percent-encoded after `pathAndQuery`.
static QJsonArray arrayOf(const SandboxFixture &f, const QString &pathAndQuery,
                          const QByteArray &text) {
    const HttpResult r = f.get(pathAndQuery + QString::fromLatin1(QUrl::toPercentEncoding(text)));
    if (r.status != 200)
        qWarning() << pathAndQuery << "failed" << r.status << r.body;
    return r.array();
}

QJsonArray SandboxFixture::fql(const QString &query) const {
    return arrayOf(*this, "/method/fql.query?format=json&query=", query.toUtf8());
}

QJsonArray SandboxFixture::multiquery(const QJsonObject &queries) const {
    return arrayOf(*this, "/method/fql.multiquery?format=json&queries=",
                   QJsonDocument(queries).toJson(QJsonDocument::Compact));
}

QJsonArray SandboxFixture::resultSet(const QJsonArray &answer, const QString &name) {
    for (const QJsonValue &v : answer)
        if (v.toObject().value("name").toString() == name)
            return v.toObject().value("fql_result_set").toArray();
    return {};
}

QJsonArray SandboxFixture::batch(const QJsonArray &requests) const {
    return arrayOf(*this,
                   "/?method=POST&batch=", QJsonDocument(requests).toJson(QJsonDocument::Compact));
}

QJsonArray SandboxFixture::data(const QJsonArray &batchAnswer, int i) {
    const QString body = batchAnswer[i].toObject().value("body").toString();
    return QJsonDocument::fromJson(body.toUtf8()).object().value("data").toArray();
}

bool isGraphTime(const QString &text) {
    static const QRegularExpression re(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}\\+0000$"));
    return re.match(text).hasMatch();
}
