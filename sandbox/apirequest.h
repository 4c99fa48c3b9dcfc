#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

using QueryItems = QList<QPair<QString, QString>>;

// Decodes a query string or form body: pairs split at "&" and the first "=",
// "+" as space, percent escapes decoded (malformed escapes stay as they are).
QueryItems parseQuery(const QByteArray &raw);
QByteArray encodeQuery(const QueryItems &items);

// One request as the sandbox sees it, whatever transport carried it (an HTTP
// request or one element of a batch).
struct ApiRequest {
    QString method; // "GET", "POST", "DELETE", "PUT", "HEAD"
    QString path;   // percent-decoded, starting with "/"
    QueryItems query;
    QByteArray body;
    QByteArray contentType;
    qint64 contentLength = -1; // the Content-Length header; -1 when absent
    QString root;              // "http://127.0.0.1:<port>": where this sandbox is reached
    QString remoteAddress;

    QString value(const QString &key) const;
    QStringList values(const QString &key) const;
    bool has(const QString &key) const;
    // The method the request stands for: a "method" parameter of GET, POST or
    // DELETE (any case) overrides the HTTP method, as the service allows.
    QString effectiveMethod() const;
};

struct ApiResponse {
    int status = 200;
    QByteArray contentType = "application/json; charset=UTF-8";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;

    static ApiResponse json(const QJsonValue &value, int status = 200);
    static ApiResponse text(const QByteArray &text, int status = 200);
    static ApiResponse html(const QString &page, int status = 200);
    static ApiResponse redirect(const QString &location);
    // A missing, unknown or expired token.
    static ApiResponse deadToken(const QString &message);
    // Any other request the service refuses.
    static ApiResponse badRequest(const QString &message, int code = 100,
                                  const QString &type = QStringLiteral("GraphMethodException"));
    static ApiResponse notFound(const QString &path);
};
