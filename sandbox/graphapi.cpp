#include "graphapi.h"

#include "fql.h"
#include "sandboxlogging.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QMutexLocker>

namespace {

constexpr qint64 shortTokenLifetime = 2 * 3600;
constexpr qint64 longTokenLifetime = 60 * 86400;
constexpr int maxBatchSize = 50;

QStringList segmentsOf(const QString &path) {
    QStringList segments = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return segments;
}

} // namespace

GraphApi::GraphApi(World &world)
    : m_world(world) {}

ApiResponse GraphApi::accessToken(const ApiRequest &req) {
    const QString clientId = req.value(QStringLiteral("client_id"));
    const QString secret = req.value(QStringLiteral("client_secret"));
    if (clientId.isEmpty() || clientId != m_world.applicationId())
        return ApiResponse::badRequest(QStringLiteral("Error validating application."), 101,
                                       QStringLiteral("OAuthException"));
    if (secret != QLatin1String(kelvoSandboxClientSecret()))
        return ApiResponse::badRequest(QStringLiteral("Error validating client secret."), 1,
                                       QStringLiteral("OAuthException"));
    QString userId;
    qint64 lifetime = shortTokenLifetime;
    if (req.value(QStringLiteral("grant_type")) == QLatin1String("fb_exchange_token")) {
        QMutexLocker lock(&m_world.mutex());
        userId = m_world.tokenOwnerLocked(req.value(QStringLiteral("fb_exchange_token")));
        lock.unlock();
        if (userId.isEmpty())
            return ApiResponse::deadToken(QStringLiteral("Error validating access token: the "
                                                         "token to exchange is not valid."));
        lifetime = longTokenLifetime;
    } else {
        const QString code = req.value(QStringLiteral("code"));
        if (code.isEmpty())
            return ApiResponse::badRequest(QStringLiteral("Missing code or grant_type."), 100,
                                           QStringLiteral("OAuthException"));
        userId = m_world.redeemCode(code);
        if (userId.isEmpty())
            return ApiResponse::badRequest(
                QStringLiteral("Invalid verification code format or code already used."), 100,
                QStringLiteral("OAuthException"));
    }
    const QString token = m_world.issueToken(userId, lifetime);
    qCInfo(lcSandbox) << "issued a token for" << userId;
    return ApiResponse::text(
        QStringLiteral("access_token=%1&expires=%2").arg(token).arg(lifetime).toUtf8());
}

ApiResponse GraphApi::handleGraph(const ApiRequest &req) {
    const QStringList segments = segmentsOf(req.path);
    if (segments == QStringList{QStringLiteral("oauth"), QStringLiteral("access_token")})
        return accessToken(req);

    const QString token = req.value(QStringLiteral("access_token"));
    QMutexLocker lock(&m_world.mutex());
    const QString viewer = m_world.tokenOwnerLocked(token);
    if (viewer.isEmpty()) {
        if (token.isEmpty())
            return ApiResponse::deadToken(
                QStringLiteral("An active access token must be used to query information about "
                               "the current user."));
        return ApiResponse::deadToken(
            QStringLiteral("Error validating access token: Session has expired or is invalid."));
    }
    return graphLocked(req, viewer, false);
}

ApiResponse GraphApi::graphLocked(const ApiRequest &req, const QString &viewer, bool inBatch) {
    GraphContext ctx{m_world.data(), req, viewer, req.value(QStringLiteral("access_token"))};
    QStringList segments = segmentsOf(req.path);
    const QString method = req.effectiveMethod();

    if (segments.isEmpty()) {
        if (req.has(QStringLiteral("batch"))) {
            if (inBatch)
                return ApiResponse::badRequest(QStringLiteral("A batch cannot hold a batch."));
            return batch(ctx);
        }
        return ApiResponse::badRequest(QStringLiteral("Unsupported request on the root."));
    }
    if (segments.first() == QLatin1String("me"))
        segments.first() = viewer;
    if (segments.first() == QLatin1String("search") && segments.size() == 1)
        return graphSearch(ctx);
    if (segments.first() == QLatin1String("fql") && segments.size() == 1) {
        const FqlResult result = runFql(ctx, req.value(QStringLiteral("q")));
        if (!result.ok)
            return ApiResponse::badRequest(result.error, 601, QStringLiteral("FqlException"));
        return ApiResponse::json(QJsonObject{{"data", result.rows}});
    }
    if (method == QLatin1String("DELETE"))
        return graphDelete(ctx, segments);
    if (method == QLatin1String("POST"))
        return graphPost(ctx, segments);
    if (method == QLatin1String("GET") || method == QLatin1String("HEAD"))
        return graphGet(ctx, segments);
    return ApiResponse::badRequest(QStringLiteral("Unsupported method."));
}

ApiResponse GraphApi::batch(GraphContext &ctx) {
    QJsonParseError error{};
    const QJsonDocument doc =
        QJsonDocument::fromJson(ctx.req.value(QStringLiteral("batch")).toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return ApiResponse::badRequest(QStringLiteral("The batch parameter must be a JSON array."));
    const QJsonArray elements = doc.array();
    if (elements.isEmpty() || elements.size() > maxBatchSize)
        return ApiResponse::badRequest(
            QStringLiteral("A batch holds between 1 and %1 requests.").arg(maxBatchSize));
    QJsonArray answers;
    for (const QJsonValue &value : elements) {
        const QJsonObject element = value.toObject();
        const QString relative = element.value("relative_url").toString();
        if (!value.isObject() || relative.isEmpty())
            return ApiResponse::badRequest(
                QStringLiteral("Every batch element needs a relative_url."));
        ApiRequest sub;
        sub.method = element.value("method").toString(QStringLiteral("GET")).toUpper();
        sub.root = ctx.req.root;
        sub.remoteAddress = ctx.req.remoteAddress;
        const int question = relative.indexOf(QLatin1Char('?'));
        const QString path = question < 0 ? relative : relative.left(question);
        sub.path =
            QLatin1Char('/') + QString::fromUtf8(QByteArray::fromPercentEncoding(path.toUtf8()));
        if (question >= 0)
            sub.query = parseQuery(relative.mid(question + 1).toUtf8());
        sub.query += parseQuery(element.value("body").toString().toUtf8());
        if (!sub.has(QStringLiteral("access_token")))
            sub.query.append({QStringLiteral("access_token"), ctx.token});
        const QString subToken = sub.value(QStringLiteral("access_token"));
        const QString subViewer = m_world.tokenOwnerLocked(subToken);
        ApiResponse answer =
            subViewer.isEmpty()
                ? ApiResponse::deadToken(QStringLiteral("Error validating access token."))
                : graphLocked(sub, subViewer, true);
        QJsonArray headers{QJsonObject{{"name", "Content-Type"},
                                       {"value", QString::fromUtf8(answer.contentType)}}};
        for (const auto &header : answer.headers)
            headers.append(QJsonObject{{"name", QString::fromUtf8(header.first)},
                                       {"value", QString::fromUtf8(header.second)}});
        answers.append(QJsonObject{{"code", answer.status},
                                   {"headers", headers},
                                   {"body", QString::fromUtf8(answer.body)}});
    }
    return ApiResponse::json(answers);
}

ApiResponse GraphApi::handleRest(const ApiRequest &req) {
    const QString format = req.value(QStringLiteral("format"));
    if (format.compare(QLatin1String("json"), Qt::CaseInsensitive) != 0)
        return ApiResponse::badRequest(QStringLiteral("This sandbox answers format=json only."),
                                       100, QStringLiteral("RestException"));
    const QString token = req.value(QStringLiteral("access_token"));
    QMutexLocker lock(&m_world.mutex());
    const QString viewer = m_world.tokenOwnerLocked(token);
    if (viewer.isEmpty())
        return ApiResponse::deadToken(
            QStringLiteral("Error validating access token: Session has expired or is invalid."));
    GraphContext ctx{m_world.data(), req, viewer, token};
    const QString method = req.path.mid(int(qstrlen("/method/")));
    FqlResult result;
    if (method == QLatin1String("notifications.get"))
        return notificationsGet(ctx);
    if (method == QLatin1String("fql.query"))
        result = runFql(ctx, req.value(QStringLiteral("query")));
    else if (method == QLatin1String("fql.multiquery"))
        result = runFqlMultiquery(ctx, req.value(QStringLiteral("queries")));
    else
        return ApiResponse::notFound(req.path);
    if (!result.ok) {
        ApiResponse r = ApiResponse::badRequest(result.error, 601, QStringLiteral("FqlException"));
        QJsonObject body = QJsonDocument::fromJson(r.body).object();
        body.insert("error_code", 601);
        body.insert("error_msg", result.error);
        return ApiResponse::json(body, 400);
    }
    return ApiResponse::json(result.rows);
}
