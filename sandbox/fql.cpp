// The FQL queries the client sends, recognised by their exact shape (spacing
// and keyword case aside). Anything else is refused, as the service's parser
// would refuse a query it cannot run.
#include "fql.h"

#include "postlists.h"

#include <QDateTime>
#include <QHash>
#include <QJsonDocument>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace {

// Patterns are compiled once per thread: compiling took most of a query's
// time, and threads then share no lock.
QRegularExpressionMatch matchQuery(const QString &pattern, const QString &query) {
    thread_local QHash<QString, QRegularExpression> compiled;
    auto it = compiled.find(pattern);
    if (it == compiled.end()) {
        it = compiled.insert(pattern,
                             QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$'),
                                                QRegularExpression::CaseInsensitiveOption));
        it->optimize();
    }
    return it->match(query);
}

FqlResult rows(const QJsonArray &r) {
    FqlResult result;
    result.ok = true;
    result.rows = r;
    return result;
}

FqlResult failure(const QString &message) {
    FqlResult result;
    result.error = message;
    return result;
}

QString resolveMe(const GraphContext &ctx, const QString &id) {
    return id.compare(QLatin1String("me()"), Qt::CaseInsensitive) == 0 ? ctx.viewer : id;
}

QJsonValue cover(const GraphContext &ctx, const QString &id, bool has, int offset) {
    if (!has)
        return QJsonValue::Null;
    return QJsonObject{
        {"cover_id", id + QStringLiteral("0")},
        {"source", ctx.root() + QStringLiteral("/img/cover") + id + QStringLiteral("_720x270.jpg")},
        {"offset_y", offset}};
}

QString birthdayText(const QString &birthdayDate) {
    const QStringList parts = birthdayDate.split(QLatin1Char('/'));
    const QDate date(2000, parts.value(0).toInt(), parts.value(1).toInt());
    if (!date.isValid())
        return {};
    QString text =
        QLocale::c().monthName(date.month()) + QLatin1Char(' ') + QString::number(date.day());
    if (parts.size() == 3)
        text += QStringLiteral(", ") + parts[2];
    return text;
}

// Which posts a stream filter shows.
bool inFilter(const WorldData &w, const QString &key, const Post &p) {
    if (key == QLatin1String("nf"))
        return true;
    if (key.startsWith(QLatin1String("fl_"))) {
        const FriendList list = w.friendLists.value(key.mid(3));
        return list.members.contains(p.fromId);
    }
    if (key == QLatin1String("app_600000000000005"))
        return p.type == QLatin1String("photo");
    if (key == QLatin1String("app_600000000000006"))
        return p.type == QLatin1String("link");
    if (key == QLatin1String("app_600000000000007"))
        return p.type == QLatin1String("status") && !p.message.isEmpty();
    if (key == QLatin1String("app_600000000000004"))
        return !p.link.isEmpty() && p.link.contains(QLatin1String("/events/"));
    return false;
}

QJsonObject streamRow(const GraphContext &ctx, const Post &p, const QString &key) {
    QJsonObject attachment;
    if (!p.name.isEmpty() || !p.picture.isEmpty()) {
        attachment.insert("name", p.name);
        attachment.insert("href", ctx.expand(p.link));
        attachment.insert("caption", p.caption);
        attachment.insert("description", p.description);
        attachment.insert("icon", ctx.expand(p.icon));
        QJsonArray media;
        if (!p.picture.isEmpty()) {
            QJsonObject item{{"type", p.type == QLatin1String("video") ? "video" : "photo"},
                             {"src", ctx.expand(p.picture)},
                             {"href", ctx.expand(p.link)}};
            if (p.type == QLatin1String("video"))
                item.insert("video", QJsonObject{{"source_url", ctx.expand(p.source)},
                                                 {"display_url", ctx.expand(p.link)}});
            media.append(item);
        }
        attachment.insert("media", media);
    }
    QJsonObject appData;
    if (p.type == QLatin1String("photo") && !p.objectId.isEmpty())
        appData.insert("images", QStringLiteral("[%1]").arg(p.objectId));
    const QString attribution =
        ctx.w.applications.contains(p.appId) ? ctx.w.applications[p.appId].name : QString();
    QJsonObject row{
        {"post_id", p.id},
        {"viewer_id", ctx.viewer},
        {"source_id", p.targetId.isEmpty() ? p.fromId : p.targetId},
        {"created_time", p.created},
        {"description", p.story},
        {"filter_key", key},
        {"attribution", attribution.isEmpty() ? QJsonValue() : QJsonValue(attribution)},
        {"actor_id", p.fromId},
        {"target_id", p.targetId.isEmpty() ? QJsonValue() : QJsonValue(p.targetId)},
        {"message", p.message},
        {"app_data", appData.isEmpty() ? QJsonValue(QJsonArray()) : QJsonValue(appData)},
        {"action_links", QJsonValue()},
        {"attachment", attachment.isEmpty() ? QJsonValue(QJsonArray()) : QJsonValue(attachment)},
        {"comments", QJsonObject{{"count", p.comments.size()},
                                 {"can_post", true},
                                 {"can_remove", p.fromId == ctx.viewer}}},
        {"likes", QJsonObject{{"count", p.likes.size() + p.strangerLikes},
                              {"user_likes", p.likes.contains(ctx.viewer)},
                              {"can_like", true}}},
        {"permalink", ctx.root() + QLatin1Char('/') + p.fromId + QStringLiteral("/posts/") +
                          p.id.mid(p.id.indexOf(QLatin1Char('_')) + 1)},
        {"tagged_ids", QJsonArray::fromStringList(p.toIds)}};
    row.insert("message_tags", p.messageTags.isEmpty() ? QJsonValue(QJsonArray())
                                                       : QJsonValue(tagsByOffset(p.messageTags)));
    row.insert("description_tags", p.storyTags.isEmpty() ? QJsonValue(QJsonArray())
                                                         : QJsonValue(tagsByOffset(p.storyTags)));
    return row;
}

FqlResult stream(GraphContext &ctx, const QString &fields, const QString &where) {
    static const QStringList expected{
        "post_id",          "viewer_id",    "source_id",   "created_time", "description",
        "description_tags", "filter_key",   "attribution", "actor_id",     "target_id",
        "message",          "message_tags", "app_data",    "action_links", "attachment",
        "comments",         "likes",        "permalink",   "tagged_ids"};
    QStringList asked;
    for (const QString &f : fields.split(QLatin1Char(',')))
        asked.append(f.trimmed().toLower());
    QStringList sortedAsked = asked, sortedExpected = expected;
    sortedAsked.sort();
    sortedExpected.sort();
    if (sortedAsked != sortedExpected)
        return failure(QStringLiteral("Unknown field list for stream."));
    const auto key = matchQuery(
        QStringLiteral("filter_key ?(?:=|in) ?\\(? ?(?:SELECT filter_key FROM stream_filter WHERE "
                       "uid ?= ?me\\(\\) AND filter_key ?= ?)?'([^']*)' ?\\)? AND is_hidden ?= ?0 "
                       "AND created_time ?> ?(\\d+)(?: LIMIT (\\d+) ?, ?(\\d+))?"),
        where);
    if (!key.hasMatch())
        return failure(QStringLiteral("Unsupported stream condition."));
    const QString filter = key.captured(1);
    bool known = false;
    for (const StreamFilter &f : ctx.w.filters)
        known = known || f.key == filter;
    if (!known)
        return rows({});
    const qint64 after = key.captured(2).toLongLong();
    const int offset = key.captured(3).isEmpty() ? 0 : key.captured(3).toInt();
    const int count = key.captured(4).isEmpty() ? 50 : qMin(key.captured(4).toInt(), 500);
    QJsonArray out;
    int index = 0;
    for (const Post *p : newsFeedOf(ctx.w, ctx.viewer)) {
        if (p->created <= after || !inFilter(ctx.w, filter, *p))
            continue;
        if (index++ < offset)
            continue;
        if (out.size() >= count)
            break;
        out.append(streamRow(ctx, *p, filter));
    }
    return rows(out);
}

// The non-null values of `column` in the earlier result set `name`, as text;
// false, with *error set, when there is no such set.
bool columnOf(const QHash<QString, QJsonArray> &sets, const QString &name, const QString &column,
              QStringList *values, FqlResult *error) {
    if (!sets.contains(name)) {
        *error = failure(QStringLiteral("Unknown result set #") + name);
        return false;
    }
    for (const QJsonValue &row : sets[name]) {
        const QJsonValue v = row.toObject().value(column);
        if (!v.isNull() && !v.isUndefined())
            values->append(v.toString());
    }
    return true;
}

} // namespace

FqlResult runFql(GraphContext &ctx, const QString &rawQuery,
                 const QHash<QString, QJsonArray> &sets) {
    const WorldData &w = ctx.w;
    QString query = rawQuery.simplified();
    if (query.endsWith(QLatin1Char(';')))
        query.chop(1);
    if (query.isEmpty())
        return failure(QStringLiteral("Parser error: empty query."));
    QRegularExpressionMatch m;

    m = matchQuery(
        QStringLiteral("SELECT message_id FROM message WHERE thread_id IN \\( ?SELECT thread_id "
                       "FROM thread WHERE folder_id ?= ?0 AND unread ?!= ?0 LIMIT 1 ?\\) ORDER "
                       "BY created_time DESC LIMIT 1"),
        query);
    if (m.hasMatch()) {
        const Thread *newest = nullptr;
        for (const Thread &t : w.threads)
            if (t.folder == QLatin1String("inbox") && t.unread &&
                t.participants.contains(ctx.viewer) &&
                (!newest || t.messages.last().created > newest->messages.last().created))
                newest = &t;
        if (!newest)
            return rows({});
        return rows({QJsonObject{{"message_id", newest->messages.last().id}}});
    }

    m = matchQuery(QStringLiteral("SELECT author_id ?, ?body ?, ?created_time FROM message WHERE "
                                  "thread_id ?= ?'?([0-9A-Za-z_.]+)'?(?: ORDER BY created_time"
                                  "(?: ASC| DESC)?)?(?: LIMIT (\\d+))?"),
                   query);
    if (m.hasMatch()) {
        const auto it = w.threads.constFind(m.captured(1));
        if (it == w.threads.constEnd() || !it->participants.contains(ctx.viewer))
            return rows({});
        // Reading a thread marks it read.
        ctx.afterwards.append([id = it->id](WorldData &changing) {
            const auto thread = changing.threads.find(id);
            if (thread != changing.threads.end())
                thread->unread = false;
        });
        QJsonArray out;
        for (const Message &msg : it->messages)
            out.append(QJsonObject{
                {"author_id", msg.authorId}, {"body", msg.body}, {"created_time", msg.created}});
        return rows(out);
    }

    m = matchQuery(QStringLiteral("SELECT pic_cover FROM user WHERE uid ?= ?(me\\(\\)|\\d+)"),
                   query);
    if (m.hasMatch()) {
        const QString id = resolveMe(ctx, m.captured(1));
        if (!w.people.contains(id))
            return rows({});
        const Person &p = w.people[id];
        return rows({QJsonObject{{"pic_cover", cover(ctx, id, p.hasCover, p.coverOffsetY)}}});
    }

    m = matchQuery(QStringLiteral("SELECT pic_cover FROM page WHERE page_id ?= ?(\\d+)"), query);
    if (m.hasMatch()) {
        const Page page = w.pages.value(m.captured(1));
        if (page.id.isEmpty() || !page.hasCover)
            return rows({});
        return rows({QJsonObject{{"pic_cover", cover(ctx, page.id, true, page.coverOffsetY)}}});
    }

    m = matchQuery(QStringLiteral("SELECT filter_key ?, ?icon_url ?, ?name ?, ?type FROM "
                                  "stream_filter WHERE uid ?= ?me\\(\\)"),
                   query);
    if (m.hasMatch()) {
        QJsonArray out;
        for (const StreamFilter &f : w.filters)
            out.append(QJsonObject{{"filter_key", f.key},
                                   {"icon_url", ctx.expand(f.iconUrl)},
                                   {"name", f.name},
                                   {"type", f.type}});
        return rows(out);
    }

    m = matchQuery(
        QStringLiteral("SELECT flid ?, ?owner ?, ?name FROM friendlist WHERE owner ?= ?me\\(\\)"),
        query);
    if (m.hasMatch()) {
        QJsonArray out;
        for (const FriendList &l : w.friendLists)
            if (l.ownerId == ctx.viewer)
                out.append(QJsonObject{{"flid", l.id}, {"owner", l.ownerId}, {"name", l.name}});
        return rows(out);
    }

    m = matchQuery(QStringLiteral("SELECT (.+) FROM stream WHERE (.+)"), query);
    if (m.hasMatch())
        return stream(ctx, m.captured(1), m.captured(2));

    m = matchQuery(QStringLiteral("SELECT id ?, ?name FROM profile WHERE id IN \\( ?SELECT "
                                  "actor_id FROM #(\\w+) ?\\) OR id IN \\( ?SELECT target_id "
                                  "FROM #(\\w+) ?\\)"),
                   query);
    if (m.hasMatch()) {
        QStringList ids;
        FqlResult error;
        if (!columnOf(sets, m.captured(1), QStringLiteral("actor_id"), &ids, &error) ||
            !columnOf(sets, m.captured(2), QStringLiteral("target_id"), &ids, &error))
            return error;
        ids.removeDuplicates();
        QJsonArray out;
        for (const QString &id : ids)
            if (!w.kindOf(id).isEmpty())
                out.append(QJsonObject{{"id", id}, {"name", w.nameOf(id)}});
        return rows(out);
    }

    m = matchQuery(QStringLiteral("SELECT uid_from FROM friend_request WHERE uid_to ?= ?me\\(\\)"),
                   query);
    if (m.hasMatch()) {
        QJsonArray out;
        for (const FriendRequest &r : w.friendRequests)
            if (r.toId == ctx.viewer)
                out.append(QJsonObject{{"uid_from", r.fromId}});
        return rows(out);
    }

    m = matchQuery(QStringLiteral("SELECT uid ?, ?name FROM user WHERE uid IN \\( ?SELECT "
                                  "uid_from FROM #(\\w+) ?\\)"),
                   query);
    if (m.hasMatch()) {
        QStringList ids;
        FqlResult error;
        if (!columnOf(sets, m.captured(1), QStringLiteral("uid_from"), &ids, &error))
            return error;
        QJsonArray out;
        for (const QString &id : ids)
            if (w.people.contains(id))
                out.append(QJsonObject{{"uid", id}, {"name", w.nameOf(id)}});
        return rows(out);
    }

    m = matchQuery(QStringLiteral("SELECT eid ?, ?rsvp_status FROM event_member WHERE uid ?= "
                                  "?me\\(\\) AND rsvp_status ?!= ?'declined' AND start_time ?> "
                                  "?(\\d+)"),
                   query);
    if (m.hasMatch()) {
        const qint64 after = m.captured(1).toLongLong();
        QJsonArray out;
        for (const Event &e : w.events) {
            const QString answer = e.rsvp.value(ctx.viewer);
            if (!answer.isEmpty() && answer != QLatin1String("declined") && e.start > after)
                out.append(QJsonObject{{"eid", e.id}, {"rsvp_status", answer}});
        }
        return rows(out);
    }

    m = matchQuery(QStringLiteral("SELECT eid ?, ?name ?, ?start_time ?, ?end_time FROM event "
                                  "WHERE eid IN \\( ?SELECT eid FROM #(\\w+) ?\\)"),
                   query);
    if (m.hasMatch()) {
        QStringList ids;
        FqlResult error;
        if (!columnOf(sets, m.captured(1), QStringLiteral("eid"), &ids, &error))
            return error;
        QJsonArray out;
        for (const QString &id : ids) {
            const Event e = w.events.value(id);
            if (!e.id.isEmpty())
                out.append(QJsonObject{
                    {"eid", e.id}, {"name", e.name}, {"start_time", e.start}, {"end_time", e.end}});
        }
        return rows(out);
    }

    m = matchQuery(QStringLiteral("SELECT uid ?, ?name ?, ?birthday ?, ?birthday_date FROM user "
                                  "WHERE uid ?= ?me\\(\\) OR uid IN \\( ?SELECT uid2 FROM friend "
                                  "WHERE uid1 ?= ?me\\(\\) ?\\)"),
                   query);
    if (m.hasMatch()) {
        QStringList ids{ctx.viewer};
        QStringList friends = w.friends.value(ctx.viewer).values();
        friends.sort();
        ids += friends;
        QJsonArray out;
        for (const QString &id : ids) {
            const auto person = w.people.constFind(id);
            if (person == w.people.constEnd())
                continue;
            const Person &p = *person;
            const bool shared = !p.birthday.isEmpty();
            out.append(QJsonObject{
                {"uid", id},
                {"name", p.name},
                {"birthday", shared ? QJsonValue(birthdayText(p.birthday)) : QJsonValue()},
                {"birthday_date", shared ? QJsonValue(p.birthday) : QJsonValue()}});
        }
        return rows(out);
    }

    return failure(QStringLiteral("Parser error: unsupported query."));
}

FqlResult runFqlMultiquery(GraphContext &ctx, const QString &queriesJson) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(queriesJson.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject() || doc.object().isEmpty())
        return failure(QStringLiteral("queries must be a JSON object of named queries."));
    const QJsonObject queries = doc.object();
    if (queries.size() > 20)
        return failure(QStringLiteral("Too many queries."));
    static const QRegularExpression reference(QStringLiteral("#(\\w+)"));

    // Level of a query: 0 without references, else one more than what it refers to.
    QHash<QString, int> level;
    for (int round = 0; round <= queries.size() && level.size() < queries.size(); ++round) {
        for (auto it = queries.begin(); it != queries.end(); ++it) {
            if (level.contains(it.key()))
                continue;
            if (!it.value().isString())
                return failure(QStringLiteral("Every query must be a text."));
            int deepest = -1;
            bool ready = true;
            auto refs = reference.globalMatch(it.value().toString());
            while (refs.hasNext()) {
                const QString name = refs.next().captured(1);
                if (!queries.contains(name))
                    return failure(QStringLiteral("Unknown result set #") + name);
                if (!level.contains(name))
                    ready = false;
                else
                    deepest = qMax(deepest, level.value(name));
            }
            if (ready)
                level.insert(it.key(), deepest + 1);
        }
    }
    if (level.size() < queries.size())
        return failure(QStringLiteral("Queries refer to each other in a circle."));
    QStringList order = queries.keys();
    std::sort(order.begin(), order.end(), [&](const QString &a, const QString &b) {
        return level[a] != level[b] ? level[a] < level[b] : a < b;
    });
    QHash<QString, QJsonArray> sets;
    QJsonArray out;
    for (const QString &name : order) {
        const FqlResult r = runFql(ctx, queries.value(name).toString(), sets);
        if (!r.ok)
            return failure(name + QStringLiteral(": ") + r.error);
        sets.insert(name, r.rows);
        out.append(QJsonObject{{"name", name}, {"fql_result_set", r.rows}});
    }
    return rows(out);
}
