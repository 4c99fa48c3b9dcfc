#include "controlapi.h"

#include "sandboxlogging.h"
#include "sandboxstate.h"
#include "switches.h"
#include "world.h"

#include <QDateTime>
#include <QHostAddress>
#include <QJsonObject>
#include <QUuid>

#include <optional>

namespace {

// Contacts one chat/contacts command may add.
constexpr int maxAddedContacts = 5000;

ApiResponse ok(const QJsonObject &extra = {}) {
    QJsonObject o = extra;
    o.insert("ok", true);
    return ApiResponse::json(o);
}

ApiResponse refused(const QString &message) {
    return ApiResponse::badRequest(message, 100, QStringLiteral("SandboxException"));
}

// A whole number from `low` to `high`, or `fallback` when absent.
std::optional<int> bounded(const ApiRequest &req, const QString &key, int low, int high,
                           int fallback) {
    if (!req.has(key))
        return fallback;
    bool ok = false;
    const int value = req.value(key).toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

ApiResponse chatMissing() {
    return ApiResponse::json(
        QJsonObject{{"error", QJsonObject{{"message", "No chat server is running."},
                                          {"type", "SandboxException"},
                                          {"code", 503}}}},
        503);
}

} // namespace

ControlApi::ControlApi(World &world, ChatControl chat, SandboxState *state,
                       SandboxSwitches &switches)
    : m_world(world)
    , m_chat(std::move(chat))
    , m_state(state)
    , m_switches(switches) {}

ApiResponse ControlApi::handle(const ApiRequest &req) {
    if (!QHostAddress(req.remoteAddress).isLoopback())
        return ApiResponse::json(
            QJsonObject{{"error", QJsonObject{{"message", "Control endpoints are local only."},
                                              {"type", "SandboxException"},
                                              {"code", 403}}}},
            403);
    const QString command = req.path.mid(int(qstrlen("/_sandbox/")));
    const bool post = req.method == QLatin1String("POST");
    if (command == QLatin1String("account") && !post)
        return account(req);
    if (command == QLatin1String("posted") && !post)
        return postings(req);
    if (command.startsWith(QLatin1String("chat/")))
        return chatCommand(command.mid(5), req);
    if (!post)
        return ApiResponse::badRequest(QStringLiteral("Control commands are POST requests."), 100,
                                       QStringLiteral("SandboxException"));
    if (command == QLatin1String("reset")) {
        m_world.reset();
        if (m_state) {
            m_state->forgetPosted();
            m_state->savePosted();
        }
        qCInfo(lcSandbox) << "world reset";
        return ok();
    }
    if (command == QLatin1String("expire_token")) {
        const QString which = req.value(QStringLiteral("token")).isEmpty()
                                  ? req.value(QStringLiteral("user"))
                                  : req.value(QStringLiteral("token"));
        if (which.isEmpty())
            return ApiResponse::badRequest(QStringLiteral("Give token or user."), 100,
                                           QStringLiteral("SandboxException"));
        return ok(QJsonObject{{"expired", m_world.expireTokens(which)}});
    }
    if (command == QLatin1String("token")) {
        QString user = req.value(QStringLiteral("user"));
        const World::Snapshot w = m_world.snapshot();
        if (user.isEmpty())
            user = w->meId;
        if (!w->people.contains(user))
            return ApiResponse::badRequest(QStringLiteral("Unknown user."), 100,
                                           QStringLiteral("SandboxException"));
        return ok(QJsonObject{{"access_token", m_world.issueToken(user, 0)}, {"user", user}});
    }
    if (command == QLatin1String("code")) {
        // A login code as the dialog's redirect carries, for tests that skip the page.
        return ok(QJsonObject{{"code", m_world.issueCode(m_world.snapshot()->meId)}});
    }
    if (command == QLatin1String("variant") || command == QLatin1String("fail") ||
        command == QLatin1String("feed_paging") || command == QLatin1String("feed_size"))
        return switchCommand(command, req);
    if (command == QLatin1String("notifications"))
        return addNotification(req);
    if (command == QLatin1String("friend_requests"))
        return addFriendRequest(req);
    return ApiResponse::notFound(req.path);
}

ApiResponse ControlApi::switchCommand(const QString &command, const ApiRequest &req) {
    if (command == QLatin1String("variant")) {
        const std::optional<int> shapes = parseShapes(req.value(QStringLiteral("shape")));
        if (!shapes)
            return refused(QStringLiteral("Give shape: empty or some of ") + shapeNames());
        m_switches.shapes = *shapes;
        if (*shapes)
            qCInfo(lcSandbox) << "answer shapes" << req.value(QStringLiteral("shape"));
        return ok(QJsonObject{{"shape", req.value(QStringLiteral("shape"))}});
    }
    if (command == QLatin1String("fail"))
        return addFault(req);
    if (command == QLatin1String("feed_paging")) {
        const QString by = req.value(QStringLiteral("by"));
        if (by != QLatin1String("time") && by != QLatin1String("offset"))
            return refused(QStringLiteral("Give by=time or by=offset."));
        m_switches.feedsByTime = by == QLatin1String("time");
        return ok(QJsonObject{{"by", by}});
    }
    const std::optional<int> stories =
        bounded(req, QStringLiteral("stories"), 0, maxHomeFeedSize, -1);
    if (!stories || *stories < 0)
        return refused(
            QStringLiteral("Give stories from 0 (as seeded) to %1.").arg(maxHomeFeedSize));
    m_world.setHomeFeedSize(*stories);
    return ok(QJsonObject{{"stories", *stories}});
}

ApiResponse ControlApi::addFault(const ApiRequest &req) {
    Fault fault;
    fault.path = req.value(QStringLiteral("path"));
    if (fault.path.isEmpty()) {
        m_switches.clearFaults();
        return ok();
    }
    if (!fault.path.startsWith(QLatin1Char('/')) ||
        fault.path.startsWith(QLatin1String("/_sandbox")))
        return refused(QStringLiteral("Give a path such as /me/home (not a control path)."));
    const std::optional<int> status = bounded(req, QStringLiteral("status"), 200, 599, 0);
    const std::optional<int> delay =
        bounded(req, QStringLiteral("delay_ms"), 0, SandboxSwitches::maxDelayMs, 0);
    const std::optional<int> count = bounded(req, QStringLiteral("count"), 1, 1000, 1);
    if (!status || !delay || !count || (*status == 0 && *delay == 0))
        return refused(QStringLiteral("Give status (200 to 599) and/or delay_ms (up to %1), and "
                                      "count (1 to 1000).")
                           .arg(SandboxSwitches::maxDelayMs));
    fault.status = *status;
    fault.delayMs = *delay;
    fault.count = *count;
    fault.hasBody = req.has(QStringLiteral("body"));
    fault.body = req.value(QStringLiteral("body")).toUtf8();
    m_switches.addFault(fault);
    return ok(QJsonObject{{"path", fault.path}, {"count", fault.count}});
}

ApiResponse ControlApi::account(const ApiRequest &) {
    const World::Snapshot snapshot = m_world.snapshot();
    const WorldData &w = *snapshot;
    return ApiResponse::json(QJsonObject{{"id", w.meId},
                                         {"name", w.people.value(w.meId).name},
                                         {"login", w.loginName},
                                         {"password", QString::fromLatin1(World::accountPassword)},
                                         {"app_id", m_world.applicationId()}});
}

ApiResponse ControlApi::addNotification(const ApiRequest &req) {
    return m_world.update([&](WorldData &w) { return addNotification(req, w); });
}

ApiResponse ControlApi::addNotification(const ApiRequest &req, WorldData &w) {
    Notification n;
    n.fromId = req.value(QStringLiteral("from"));
    if (n.fromId.isEmpty())
        n.fromId = w.friendIds.value(0);
    if (w.kindOf(n.fromId).isEmpty())
        return ApiResponse::badRequest(QStringLiteral("Unknown sender."), 100,
                                       QStringLiteral("SandboxException"));
    n.id = QStringLiteral("notif_%1_%2").arg(w.meId, w.newId());
    n.toId = w.meId;
    n.title = req.value(QStringLiteral("title"));
    if (n.title.isEmpty())
        n.title = w.nameOf(n.fromId) + QStringLiteral(" poked you.");
    n.link = req.value(QStringLiteral("link"));
    if (n.link.isEmpty())
        n.link = QStringLiteral("{ROOT}/") + n.fromId;
    n.appId = req.value(QStringLiteral("app"));
    n.created = n.updated = QDateTime::currentSecsSinceEpoch();
    w.notifications.insert(n.id, n);
    return ok(QJsonObject{{"id", n.id}});
}

ApiResponse ControlApi::addFriendRequest(const ApiRequest &req) {
    return m_world.update([&](WorldData &w) { return addFriendRequest(req, w); });
}

ApiResponse ControlApi::addFriendRequest(const ApiRequest &req, WorldData &w) {
    const QString from = req.value(QStringLiteral("from"));
    if (!w.people.contains(from) || from == w.meId || w.isFriend(from, w.meId))
        return ApiResponse::badRequest(QStringLiteral("Give a person who is not a friend yet."),
                                       100, QStringLiteral("SandboxException"));
    for (const FriendRequest &r : w.friendRequests)
        if (r.fromId == from && r.toId == w.meId)
            return ok(QJsonObject{{"from", from}});
    w.friendRequests.append({from, w.meId, req.value(QStringLiteral("message")),
                             QDateTime::currentSecsSinceEpoch(), true});
    return ok(QJsonObject{{"from", from}});
}

ApiResponse ControlApi::postings(const ApiRequest &req) {
    const World::Snapshot w = m_world.snapshot();
    const QString path = req.value(QStringLiteral("path"));
    QJsonArray out;
    for (const Posting &p : w->postings) {
        if (!path.isEmpty() && p.path != path)
            continue;
        QJsonObject params;
        for (const auto &item : p.params) {
            // Repeated keys ("tags[]") become arrays.
            if (params.contains(item.first)) {
                QJsonValue old = params.value(item.first);
                QJsonArray list = old.isArray() ? old.toArray() : QJsonArray{old};
                list.append(item.second);
                params.insert(item.first, list);
            } else {
                params.insert(item.first, item.second);
            }
        }
        out.append(QJsonObject{{"time", p.time},
                               {"method", p.method},
                               {"path", p.path},
                               {"params", params},
                               {"user", p.userId},
                               {"result", p.result}});
    }
    return ApiResponse::json(QJsonObject{{"data", out}});
}

ApiResponse ControlApi::chatCommand(const QString &command, const ApiRequest &req) {
    const QString from = req.value(QStringLiteral("from"));
    const QString to = req.value(QStringLiteral("to"));
    const bool post = req.method == QLatin1String("POST");
    const World::Snapshot w = m_world.snapshot();
    for (const QString &id : {from, to, req.value(QStringLiteral("user"))})
        if (!id.isEmpty() && !w->people.contains(id) && !(m_chat.isPerson && m_chat.isPerson(id)))
            return refused(QStringLiteral("Unknown person ") + id);
    if (!m_chat.sendMessage)
        return chatMissing();
    if (command == QLatin1String("messages") && !post)
        return ApiResponse::json(
            QJsonObject{{"data", m_chat.messagesTo(req.value(QStringLiteral("user")))}});
    if (command == QLatin1String("online") && !post)
        return ApiResponse::json(
            QJsonObject{{"data", QJsonArray::fromStringList(m_chat.onlineUsers())}});
    if (!post)
        return ApiResponse::badRequest(QStringLiteral("Chat commands are POST requests."), 100,
                                       QStringLiteral("SandboxException"));
    if (command == QLatin1String("message")) {
        const QString body = req.value(QStringLiteral("body"));
        if (from.isEmpty() || to.isEmpty() || body.isEmpty())
            return refused(QStringLiteral("Give from, to and body."));
        // Every message gets an id, as a client would give it.
        QString id = req.value(QStringLiteral("id"));
        if (id.isEmpty())
            id = QStringLiteral("sandbox-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        m_chat.sendMessage(from, to, body, id);
        return ok(QJsonObject{{"id", id}});
    }
    if (command == QLatin1String("typing")) {
        if (from.isEmpty() || to.isEmpty())
            return refused(QStringLiteral("Give from and to."));
        const QString composing = req.value(QStringLiteral("composing"));
        m_chat.sendTyping(from, to,
                          composing.isEmpty() || composing == QLatin1String("1") ||
                              composing == QLatin1String("true"));
        return ok();
    }
    if (command == QLatin1String("presence")) {
        const QString user = req.value(QStringLiteral("user"));
        const QString show = req.value(QStringLiteral("show"));
        if (user.isEmpty() || !(show.isEmpty() || show == QLatin1String("away") ||
                                show == QLatin1String("unavailable")))
            return refused(QStringLiteral("Give user and show (empty, away or unavailable)."));
        m_chat.setPresence(user, show);
        return ok();
    }
    return chatServerCommand(command, req);
}

ApiResponse ControlApi::chatServerCommand(const QString &command, const ApiRequest &req) {
    QString user = req.value(QStringLiteral("user"));
    if (command == QLatin1String("stop")) {
        m_chat.stop();
        return ok();
    }
    if (command == QLatin1String("start")) {
        if (!m_chat.start())
            return ApiResponse::json(
                QJsonObject{{"error", QJsonObject{{"message", "The chat port is taken."},
                                                  {"type", "SandboxException"},
                                                  {"code", 503}}}},
                503);
        return ok();
    }
    if (command == QLatin1String("drop")) {
        if (user.isEmpty())
            return refused(QStringLiteral("Give user."));
        return ok(QJsonObject{{"dropped", m_chat.drop(user)}});
    }
    if (command == QLatin1String("contacts")) {
        const std::optional<int> count =
            bounded(req, QStringLiteral("count"), 1, maxAddedContacts, 0);
        if (!count || *count == 0)
            return refused(QStringLiteral("Give count (1 to %1).").arg(maxAddedContacts));
        if (user.isEmpty())
            user = m_world.snapshot()->meId;
        return ok(
            QJsonObject{{"ids", QJsonArray::fromStringList(m_chat.addContacts(user, *count))}});
    }
    if (command == QLatin1String("name")) {
        if (user.isEmpty() || !req.has(QStringLiteral("name")))
            return refused(QStringLiteral("Give user and name."));
        m_chat.rename(user, req.value(QStringLiteral("name")));
        return ok();
    }
    if (command == QLatin1String("full_jids")) {
        const QString on = req.value(QStringLiteral("on"));
        if (on != QLatin1String("1") && on != QLatin1String("0"))
            return refused(QStringLiteral("Give on=1 or on=0."));
        m_chat.setFullJids(on == QLatin1String("1"));
        return ok(QJsonObject{{"full_jids", on == QLatin1String("1")}});
    }
    return ApiResponse::notFound(req.path);
}
