#pragma once

#include "sandbox.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrlQuery>

#include <memory>

struct HttpResult {
    int status = 0;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;

    QByteArray header(const QByteArray &name) const;
    QJsonObject object() const { return QJsonDocument::fromJson(body).object(); }
    QJsonArray array() const { return QJsonDocument::fromJson(body).array(); }
};

// Real HTTP over loopback, with the Qt event loop running while waiting (the
// sandbox's chat commands need it).
HttpResult httpRequest(const QByteArray &method, const QString &url, const QByteArray &body = {},
                       const QList<QPair<QByteArray, QByteArray>> &headers = {});

// Raw bytes to 127.0.0.1:port; the answer (head and Content-Length body) or
// what came before the peer closed or `waitMs` passed without a byte.
QByteArray rawHttp(quint16 port, const QByteArray &bytes, int waitMs = 3000,
                   bool halfClose = false);

// A sandbox started in-process on free ports, with a token of the account.
class SandboxFixture {
public:
    SandboxFixture();
    ~SandboxFixture();

    Sandbox &sandbox() { return *m_sandbox; }
    QString root() const { return m_sandbox->httpRoot(); }
    QString token() const { return m_token; }
    QString me() const { return m_sandbox->accountId(); }

    // GET/POST of a Graph or REST path ("me/home", "/method/..."), adding the token.
    HttpResult get(const QString &pathAndQuery) const;
    HttpResult post(const QString &pathAndQuery) const;
    QJsonObject getObject(const QString &pathAndQuery) const { return get(pathAndQuery).object(); }
    // The "data" of a collection.
    QJsonArray list(const QString &pathAndQuery) const {
        return getObject(pathAndQuery).value("data").toArray();
    }
    // FQL texts the way the client sends them: percent-encoded.
    QJsonArray fql(const QString &query) const;
    QJsonArray multiquery(const QJsonObject &queries) const;
    // The result set of a multiquery answer by name.
    static QJsonArray resultSet(const QJsonArray &answer, const QString &name);
    QJsonArray batch(const QJsonArray &requests) const;
    // The "data" of the i-th answer of a batch.
    static QJsonArray data(const QJsonArray &batchAnswer, int i);

    QString withToken(const QString &pathAndQuery) const;
    // A "/_sandbox/" command ("reset", "variant?shape=numbers", ...); POST sends an empty body.
    HttpResult control(const QByteArray &method, const QString &command) const;

private:
    std::unique_ptr<Sandbox> m_sandbox;
    QString m_token;
};

// A test program over one sandbox, started once for all its test functions.
class SandboxTest : public QObject {
protected:
    SandboxFixture fixture;
    SandboxFixture *const f = &fixture;
    // Turns the answer shapes, failures, time paging and feed size off again.
    void resetSwitches() const;
};

bool isGraphTime(const QString &text);
