#include "graphapi.h"

#include "answershapes.h"
#include "fql.h"
#include "sandboxlogging.h"
#include "sandboxstate.h"
#include "switches.h"

#include <QDateTime>
#include <QJsonDocument>

namespace {

constexpr qint64 shortTokenLifetime = 2 * 3600;
constexpr qint64 longTokenLifetime = 60 * 86400;
constexpr int maxBatchSize = 50;

QStringList segmentsOf(const QString &path) {
    return path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

// The client sends its parameters in the address; forms posted to the Graph
// count as well.
ApiRequest withForm(const ApiRequest &req) {
    if (!req.contentType.startsWith("application/x-www-form-urlencoded") || req.body.isEmpty())
        return req;
    ApiRequest all = req;
    all.query += parseQuery(req.body);
    return all;
}

bool changes(const QString &method, const QStringList &segments) {
    if (segments.isEmpty() || segments.first() == QLatin1String("search") ||
        segments.first() == QLatin1String("fql"))
        return false;
    return method == QLatin1String("POST") || method == QLatin1String("DELETE");
}

ApiResponse invalidToken() {
    return ApiResponse::deadToken(
        QStringLiteral("Error validating access token: Session has expired or is invalid."));
}

} // namespace

GraphApi::GraphApi(World &world, SandboxState *state, const SandboxSwitches &switches)
    : m_world(world)
    , m_state(state)
    , m_switches(switches) {}

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
        userId =
            m_world.tokenOwner(req.value(QStringLiteral("fb_exchange_token")), *m_world.snapshot());
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

ApiResponse GraphApi::handleGraph(const ApiRequest &raw) {
    const ApiRequest req = withForm(raw);
    if (segmentsOf(req.path) ==
        QStringList{QStringLiteral("oauth"), QStringLiteral("access_token")})
        return accessToken(req);

    const QString token = req.value(QStringLiteral("access_token"));
    const QString viewer = m_world.tokenOwner(token, *m_world.snapshot());
    if (viewer.isEmpty()) {
        if (token.isEmpty())
            return ApiResponse::deadToken(
                QStringLiteral("An active access token must be used to query information about "
                               "the current user."));
        return invalidToken();
    }
    return graph(req, viewer, false);
}

ApiResponse GraphApi::graph(const ApiRequest &raw, const QString &viewer, bool inBatch) {
    ApiRequest req = raw;
    req.query = decodeCursors(raw.query);
    if (segmentsOf(req.path).isEmpty())
        return respond(req, viewer, inBatch);
    return reshapeAnswer(respond(req, viewer, inBatch), m_switches.shapes);
}

ApiResponse GraphApi::respond(const ApiRequest &req, const QString &viewer, bool inBatch) {
    QStringList segments = segmentsOf(req.path);
    if (segments.isEmpty()) {
        if (req.has(QStringLiteral("batch"))) {
            if (inBatch)
                return ApiResponse::badRequest(QStringLiteral("A batch cannot hold a batch."));
            return batch(req, req.value(QStringLiteral("access_token")));
        }
        return ApiResponse::badRequest(QStringLiteral("Unsupported request on the root."));
    }
    if (changes(req.effectiveMethod(), segments))
        return change(req, viewer);
    if (req.has(QStringLiteral("offset"))) {
        bool ok = false;
        const int offset = req.value(QStringLiteral("offset")).toInt(&ok);
        if (!ok || offset < 0 || offset > maxCollectionOffset)
            return ApiResponse::badRequest(
                QStringLiteral("(#100) offset must be a whole number from 0 to %1.")
                    .arg(maxCollectionOffset));
    }
    for (const QString &key : {QStringLiteral("until"), QStringLiteral("since")}) {
        bool ok = !req.has(key);
        if (!ok)
            req.value(key).toLongLong(&ok);
        if (!ok)
            return ApiResponse::badRequest(
                QStringLiteral("(#100) %1 must be a Unix time in seconds.").arg(key));
    }
    const World::Snapshot world = m_world.snapshot();
    GraphContext ctx{*world, req, viewer, req.value(QStringLiteral("access_token"))};
    ctx.feedsByTime = m_switches.feedsByTime;
    ApiResponse answer = read(ctx);
    applyAfterwards(ctx);
    return answer;
}

ApiResponse GraphApi::read(GraphContext &ctx) {
    QStringList segments = segmentsOf(ctx.req.path);
    if (segments.first() == QLatin1String("me"))
        segments.first() = ctx.viewer;
    if (segments.first() == QLatin1String("search") && segments.size() == 1)
        return graphSearch(ctx);
    if (segments.first() == QLatin1String("fql") && segments.size() == 1) {
        const FqlResult result = runFql(ctx, ctx.req.value(QStringLiteral("q")));
        if (!result.ok)
            return ApiResponse::badRequest(result.error, 601, QStringLiteral("FqlException"));
        return ApiResponse::json(QJsonObject{{"data", result.rows}});
    }
    const QString method = ctx.req.effectiveMethod();
    if (method == QLatin1String("GET") || method == QLatin1String("HEAD"))
        return graphGet(ctx, segments);
    return ApiResponse::badRequest(QStringLiteral("Unsupported method."));
}

void GraphApi::applyAfterwards(GraphContext &ctx) {
    if (ctx.afterwards.isEmpty())
        return;
    m_world.update([&](WorldData &w) {
        for (const auto &change : qAsConst(ctx.afterwards))
            change(w);
    });
}

ApiResponse GraphApi::change(const ApiRequest &req, const QString &viewer) {
    const ApiResponse answer = m_world.update([&](WorldData &w) {
        PostedChange kept{w.now(), w.nextSerial, viewer, req};
        w.clock = kept.time;
        GraphContext ctx{w, req, viewer, req.value(QStringLiteral("access_token")), &w};
        QStringList segments = segmentsOf(req.path);
        if (segments.first() == QLatin1String("me"))
            segments.first() = viewer;
        ApiResponse r = req.effectiveMethod() == QLatin1String("DELETE")
                            ? graphDelete(ctx, segments)
                            : graphPost(ctx, segments);
        w.clock = 0;
        // Kept in the order the world changed, as the world is changed in turns.
        if (m_state && r.status == 200)
            m_state->keep(kept);
        return r;
    });
    if (m_state && answer.status == 200)
        m_state->savePosted();
    return answer;
}

void GraphApi::replay(const PostedChange &kept) {
    m_world.update([&](WorldData &w) {
        w.clock = kept.time;
        w.nextSerial = kept.serial;
        GraphContext ctx{w, kept.request, kept.viewer, QString(), &w};
        QStringList segments = segmentsOf(kept.request.path);
        if (segments.isEmpty())
            return;
        if (segments.first() == QLatin1String("me"))
            segments.first() = kept.viewer;
        if (kept.request.effectiveMethod() == QLatin1String("DELETE"))
            graphDelete(ctx, segments);
        else
            graphPost(ctx, segments);
        w.clock = 0;
    });
}

ApiResponse GraphApi::batch(const ApiRequest &req, const QString &token) {
    QJsonParseError error{};
    const QJsonDocument doc =
        QJsonDocument::fromJson(req.value(QStringLiteral("batch")).toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return ApiResponse::badRequest(QStringLiteral("The batch parameter must be a JSON array."));
    const QJsonArray elements = doc.array();
    if (elements.isEmpty() || elements.size() > maxBatchSize)
        return ApiResponse::badRequest(
            QStringLiteral("A batch holds between 1 and %1 requests; this one holds %2.")
                .arg(maxBatchSize)
                .arg(elements.size()));
    QJsonArray answers;
    for (const QJsonValue &value : elements) {
        const QJsonObject element = value.toObject();
        const QString relative = element.value("relative_url").toString();
        if (!value.isObject() || relative.isEmpty())
            return ApiResponse::badRequest(
                QStringLiteral("Every batch element needs a relative_url."));
        if (m_switches.shapes & ShapeBatchFail) {
            answers.append(failedBatchElement(int(answers.size()), req.root + '/' + relative));
            continue;
        }
        ApiRequest sub;
        sub.method = element.value("method").toString(QStringLiteral("GET")).toUpper();
        sub.root = req.root;
        sub.remoteAddress = req.remoteAddress;
        const int question = relative.indexOf(QLatin1Char('?'));
        const QString path = question < 0 ? relative : relative.left(question);
        sub.path =
            QLatin1Char('/') + QString::fromUtf8(QByteArray::fromPercentEncoding(path.toUtf8()));
        if (question >= 0)
            sub.query = parseQuery(relative.mid(question + 1).toUtf8());
        sub.query += parseQuery(element.value("body").toString().toUtf8());
        if (!sub.has(QStringLiteral("access_token")))
            sub.query.append({QStringLiteral("access_token"), token});
        // Each element sees what the ones before it changed.
        const QString subViewer =
            m_world.tokenOwner(sub.value(QStringLiteral("access_token")), *m_world.snapshot());
        const ApiResponse answer =
            subViewer.isEmpty()
                ? ApiResponse::deadToken(QStringLiteral("Error validating access token."))
                : graph(sub, subViewer, true);
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

ApiResponse GraphApi::handleRest(const ApiRequest &raw) {
    const ApiRequest req = withForm(raw);
    const QString format = req.value(QStringLiteral("format"));
    if (format.compare(QLatin1String("json"), Qt::CaseInsensitive) != 0)
        return ApiResponse::badRequest(QStringLiteral("This sandbox answers format=json only."),
                                       100, QStringLiteral("RestException"));
    const QString token = req.value(QStringLiteral("access_token"));
    const World::Snapshot world = m_world.snapshot();
    const QString viewer = m_world.tokenOwner(token, *world);
    if (viewer.isEmpty())
        return invalidToken();
    GraphContext ctx{*world, req, viewer, token};
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
    applyAfterwards(ctx);
    if (!result.ok) {
        ApiResponse r = ApiResponse::badRequest(result.error, 601, QStringLiteral("FqlException"));
        QJsonObject body = QJsonDocument::fromJson(r.body).object();
        body.insert("error_code", 601);
        body.insert("error_msg", result.error);
        return ApiResponse::json(body, 400);
    }
    return ApiResponse::json(result.rows);
}
