#include "apirequest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

static QString decodeComponent(QByteArray part) {
    part.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(part));
}

QueryItems parseQuery(const QByteArray &raw) {
    QueryItems items;
    for (const QByteArray &pair : raw.split('&')) {
        if (pair.isEmpty())
            continue;
        const int eq = pair.indexOf('=');
        if (eq < 0)
            items.append({decodeComponent(pair), QString()});
        else
            items.append({decodeComponent(pair.left(eq)), decodeComponent(pair.mid(eq + 1))});
    }
    return items;
}

QByteArray encodeQuery(const QueryItems &items) {
    QByteArray out;
    for (const auto &item : items) {
        if (!out.isEmpty())
            out += '&';
        out += item.first.toUtf8().toPercentEncoding("[]") + '=' +
               item.second.toUtf8().toPercentEncoding();
    }
    return out;
}

QString ApiRequest::value(const QString &key) const {
    for (const auto &item : query)
        if (item.first == key)
            return item.second;
    return {};
}

QStringList ApiRequest::values(const QString &key) const {
    QStringList out;
    for (const auto &item : query)
        if (item.first == key)
            out.append(item.second);
    return out;
}

bool ApiRequest::has(const QString &key) const {
    for (const auto &item : query)
        if (item.first == key)
            return true;
    return false;
}

QString ApiRequest::effectiveMethod() const {
    const QString override = value(QStringLiteral("method")).toUpper();
    if (override == QLatin1String("GET") || override == QLatin1String("POST") ||
        override == QLatin1String("DELETE"))
        return override;
    return method;
}

ApiResponse ApiResponse::json(const QJsonValue &value, int status) {
    ApiResponse r;
    r.status = status;
    if (value.isObject())
        r.body = QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    else if (value.isArray())
        r.body = QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    else if (value.isBool())
        r.body = value.toBool() ? "true" : "false";
    else if (value.isDouble())
        r.body = QByteArray::number(value.toDouble());
    else if (value.isString())
        r.body = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
    else
        r.body = "null";
    return r;
}

ApiResponse ApiResponse::text(const QByteArray &text, int status) {
    ApiResponse r;
    r.status = status;
    r.contentType = "text/plain; charset=UTF-8";
    r.body = text;
    return r;
}

ApiResponse ApiResponse::html(const QString &page, int status) {
    ApiResponse r;
    r.status = status;
    r.contentType = "text/html; charset=UTF-8";
    r.body = page.toUtf8();
    return r;
}

ApiResponse ApiResponse::redirect(const QString &location) {
    ApiResponse r = html(QStringLiteral("<html><body>Redirecting…</body></html>"), 302);
    r.headers.append({"Location", location.toUtf8()});
    return r;
}

static QJsonObject errorObject(const QString &message, const QString &type, int code) {
    return QJsonObject{
        {"error", QJsonObject{{"message", message}, {"type", type}, {"code", code}}}};
}

ApiResponse ApiResponse::deadToken(const QString &message) {
    ApiResponse r = json(errorObject(message, QStringLiteral("OAuthException"), 190), 400);
    QString quoted = message;
    quoted.replace(QLatin1Char('"'), QLatin1Char('\''));
    quoted.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    r.headers.append(
        {"WWW-Authenticate",
         QByteArray("OAuth \"Facebook Platform\" \"invalid_token\" \"") + quoted.toUtf8() + '"'});
    return r;
}

ApiResponse ApiResponse::badRequest(const QString &message, int code, const QString &type) {
    return json(errorObject(message, type, code), 400);
}

ApiResponse ApiResponse::notFound(const QString &path) {
    return json(errorObject(QStringLiteral("Unknown path components: ") + path,
                            QStringLiteral("OAuthException"), 2500),
                404);
}
