// Graph GET requests: objects, connections and search.
#include "graphapi.h"
#include "postlists.h"

#include <QHash>
#include <QJsonDocument>
#include <QMutex>
#include <QtMath>

#include <algorithm>

namespace {

QJsonObject selectFields(const QJsonObject &object, const QStringList &fields) {
    QJsonObject out;
    for (const QString &field : fields)
        if (object.contains(field))
            out.insert(field, object.value(field));
    if (object.contains("id"))
        out.insert("id", object.value("id"));
    return out;
}

// "fields=a,b" narrows every object of the answer to those fields and "id".
QJsonObject applyFields(const GraphContext &ctx, const QJsonObject &answer) {
    const QString wanted = ctx.req.value(QStringLiteral("fields"));
    if (wanted.isEmpty())
        return answer;
    const QStringList fields = wanted.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (!answer.contains("data") || !answer.value("data").isArray())
        return selectFields(answer, fields);
    QJsonArray data;
    for (const QJsonValue &item : answer.value("data").toArray())
        data.append(selectFields(item.toObject(), fields));
    QJsonObject out = answer;
    out.insert("data", data);
    return out;
}

// Stories as JSON, kept for as long as the story, the asker and the address
// stay the same: a feed page is then mostly copied, not made.
class PostCache {
public:
    QByteArray json(const GraphContext &ctx, const Post &p, int carried) {
        const QString key = QString::number(ctx.w.seeding) + QLatin1Char('|') + p.id +
                            QLatin1Char('|') + QString::number(p.revision) + QLatin1Char('|') +
                            QString::number(carried) + QLatin1Char('|') + ctx.viewer +
                            QLatin1Char('|') + ctx.token + QLatin1Char('|') + ctx.root();
        {
            QMutexLocker lock(&m_mutex);
            const auto it = m_json.constFind(key);
            if (it != m_json.constEnd())
                return *it;
        }
        const QByteArray made = QJsonDocument(ctx.post(p, carried)).toJson(QJsonDocument::Compact);
        QMutexLocker lock(&m_mutex);
        if (m_json.size() >= maxEntries)
            m_json.clear(); // stale entries are never looked up again; start afresh
        m_json.insert(key, made);
        return made;
    }

private:
    static constexpr int maxEntries = 8000;
    QMutex m_mutex;
    QHash<QString, QByteArray> m_json;
};

// Feeds paged by time: "until" and "since" (Unix seconds) keep the stories
// strictly older or newer. A page never ends inside one second, so the next
// page, strictly older than this one's last story, misses none; stories posted
// meanwhile are newer and repeat none.
QJsonObject timePaging(const GraphContext &ctx, const QList<const Post *> &posts, int first,
                       int end, int limit) {
    const auto address = [&](const char *key, qint64 time) {
        return ctx.pageAddress({{QStringLiteral("limit"), QString::number(limit)},
                                {QString::fromLatin1(key), QString::number(time)}});
    };
    QJsonObject paging;
    if (first < end) {
        paging.insert("previous", address("since", posts[first]->created));
        if (end < posts.size())
            paging.insert("next", address("until", posts[end - 1]->created));
    }
    return paging;
}

// A page of stories; only the stories on the page are made, or taken from the cache.
ApiResponse postsPage(const GraphContext &ctx, QList<const Post *> posts) {
    static PostCache cache;
    const GraphContext::Range range = ctx.range(25);
    const bool byTime = ctx.feedsByTime || ctx.req.has(QStringLiteral("until")) ||
                        ctx.req.has(QStringLiteral("since"));
    if (byTime) {
        const QString until = ctx.req.value(QStringLiteral("until"));
        const QString since = ctx.req.value(QStringLiteral("since"));
        posts.erase(
            std::remove_if(posts.begin(), posts.end(),
                           [&](const Post *p) {
                               return (!until.isEmpty() && p->created >= until.toLongLong()) ||
                                      (!since.isEmpty() && p->created <= since.toLongLong());
                           }),
            posts.end());
    }
    const int total = int(posts.size());
    int end = qMin(total, range.offset + range.limit);
    while (byTime && end > range.offset && end < total &&
           posts[end]->created == posts[end - 1]->created)
        ++end;
    ApiResponse answer;
    QByteArray &body = answer.body;
    body.reserve(32 * 1024);
    body += "{\"data\":[";
    for (int i = range.offset; i < end; ++i) {
        if (i > range.offset)
            body += ',';
        body += cache.json(ctx, *posts[i], posts[i]->comments.size() > 3 ? 2 : 3);
    }
    body += ']';
    const QJsonObject paging =
        byTime ? timePaging(ctx, posts, range.offset, end, range.limit) : ctx.paging(range, total);
    if (!paging.isEmpty())
        body += ",\"paging\":" + QJsonDocument(paging).toJson(QJsonDocument::Compact);
    body += '}';
    return answer;
}

ApiResponse unsupported(const GraphContext &ctx) {
    return ApiResponse::badRequest(QStringLiteral("Unsupported get request: ") + ctx.req.path);
}

ApiResponse notOwn() {
    return ApiResponse::badRequest(
        QStringLiteral("(#200) The user hasn't authorized the application to perform this action"),
        200, QStringLiteral("OAuthException"));
}

QJsonArray guests(const GraphContext &ctx, const Event &e, const QString &connection) {
    // The service names the answers "attending", "unsure" (maybe), "declined", "not_replied".
    QString wanted;
    if (connection == QLatin1String("maybe"))
        wanted = QStringLiteral("unsure");
    else if (connection == QLatin1String("noreply"))
        wanted = QStringLiteral("not_replied");
    else if (connection != QLatin1String("invited"))
        wanted = connection;
    QJsonArray items;
    for (auto it = e.rsvp.begin(); it != e.rsvp.end(); ++it) {
        if (!wanted.isEmpty() && it.value() != wanted)
            continue;
        QJsonObject o = ctx.ref(it.key());
        o.insert("rsvp_status", it.value());
        items.append(o);
    }
    return items;
}

// An owner's albums, or all their photos, album by album.
ApiResponse albumsOrPhotos(const GraphContext &ctx, const QString &ownerId, bool photos);

QList<const Photo *> photosOfAlbum(const WorldData &w, const Album &a) {
    QList<const Photo *> out;
    for (const QString &id : a.photoIds)
        if (w.photos.contains(id))
            out.append(&*w.photos.constFind(id));
    return out;
}

QList<const Photo *> photosTagging(const WorldData &w, const QString &personId) {
    QList<const Photo *> out;
    for (const Photo &p : w.photos)
        for (const PhotoTag &t : p.tags)
            if (t.id == personId) {
                out.append(&p);
                break;
            }
    std::sort(out.begin(), out.end(),
              [](const Photo *a, const Photo *b) { return a->created > b->created; });
    return out;
}

ApiResponse albumsOrPhotos(const GraphContext &ctx, const QString &ownerId, bool photos) {
    QJsonArray items;
    for (const Album &a : ctx.w.albums) {
        if (a.ownerId != ownerId)
            continue;
        if (!photos)
            items.append(ctx.album(a));
        else
            for (const Photo *photo : photosOfAlbum(ctx.w, a))
                items.append(ctx.photo(*photo));
    }
    const QJsonObject page = ctx.collection(items, 25);
    return ApiResponse::json(photos ? applyFields(ctx, page) : page);
}

ApiResponse userConnection(GraphContext &ctx, const Person &p, const QString &c) {
    const WorldData &w = ctx.w;
    const bool own = ctx.viewer == p.id;
    QJsonArray items;
    if (c == QLatin1String("home")) {
        if (!own)
            return notOwn();
        QList<const Post *> feed = newsFeedOf(w, p.id);
        if (w.homeFeedSize > 0 && p.id == w.meId)
            feed.erase(std::remove_if(feed.begin(), feed.end(),
                                      [&](const Post *s) {
                                          return qMakePair(s->created, s->id) < w.homeFeedEnd;
                                      }),
                       feed.end());
        return postsPage(ctx, feed);
    }
    if (c == QLatin1String("feed") || c == QLatin1String("posts") || c == QLatin1String("statuses"))
        return postsPage(ctx, wallOf(w, p.id));
    if (c == QLatin1String("friends")) {
        QStringList ids = w.friends.value(p.id).values();
        ids.sort();
        for (const QString &id : ids)
            items.append(ctx.ref(id));
        return ApiResponse::json(ctx.collection(items, 5000));
    }
    if (c == QLatin1String("likes")) {
        if (own || w.isFriend(ctx.viewer, p.id))
            for (const QString &id : w.likedPageIds)
                items.append(ctx.ref(id));
        return ApiResponse::json(ctx.collection(items, 25));
    }
    if (c == QLatin1String("albums"))
        return albumsOrPhotos(ctx, p.id, false);
    if (c == QLatin1String("photos")) {
        for (const Photo *photo : photosTagging(w, p.id))
            items.append(ctx.photo(*photo));
        return ApiResponse::json(applyFields(ctx, ctx.collection(items, 25)));
    }
    if (c == QLatin1String("groups")) {
        int order = 1;
        for (const Group &g : w.groups)
            if (g.members.contains(p.id))
                items.append(QJsonObject{
                    {"id", g.id}, {"name", g.name}, {"version", 1}, {"bookmark_order", order++}});
        return ApiResponse::json(ctx.collection(items, 5000));
    }
    if (c == QLatin1String("events")) {
        for (const Event &e : w.events)
            if (e.rsvp.contains(p.id)) {
                QJsonObject o{{"id", e.id},
                              {"name", e.name},
                              {"start_time", graphTime(e.start)},
                              {"end_time", graphTime(e.end)},
                              {"location", e.location},
                              {"rsvp_status", e.rsvp[p.id]}};
                items.append(o);
            }
        return ApiResponse::json(ctx.collection(items, 25));
    }
    if (c == QLatin1String("checkins")) {
        QList<const Checkin *> list;
        for (const Checkin &ch : w.checkins)
            if (ch.fromId == p.id || ch.tagIds.contains(p.id))
                list.append(&ch);
        std::sort(list.begin(), list.end(),
                  [](const Checkin *a, const Checkin *b) { return a->created > b->created; });
        for (const Checkin *ch : list)
            items.append(ctx.checkin(*ch));
        return ApiResponse::json(ctx.collection(items, 25));
    }
    // The rest is private to the account itself.
    if (!own)
        return notOwn();
    if (c == QLatin1String("inbox") || c == QLatin1String("other") ||
        c == QLatin1String("outbox")) {
        QList<const Thread *> list;
        for (const Thread &t : w.threads) {
            const bool match =
                c == QLatin1String("outbox") ? t.messages.last().authorId == p.id : t.folder == c;
            if (match && t.participants.contains(p.id))
                list.append(&t);
        }
        std::sort(list.begin(), list.end(), [](const Thread *a, const Thread *b) {
            return a->messages.last().created > b->messages.last().created;
        });
        for (const Thread *t : list)
            items.append(ctx.thread(*t));
        return ApiResponse::json(ctx.collection(items, 25));
    }
    if (c == QLatin1String("notifications")) {
        const bool all = ctx.req.value(QStringLiteral("include_read")) == QLatin1String("1") ||
                         ctx.req.value(QStringLiteral("include_read")) == QLatin1String("true");
        QList<const Notification *> list;
        for (const Notification &n : w.notifications)
            if (n.toId == p.id && (all || n.unread))
                list.append(&n);
        std::sort(list.begin(), list.end(), [](const Notification *a, const Notification *b) {
            return a->updated > b->updated;
        });
        for (const Notification *n : list)
            items.append(ctx.notification(*n));
        QJsonObject answer = ctx.collection(items, 5000);
        int unseen = 0;
        for (const Notification *n : list)
            unseen += n->unseen ? 1 : 0;
        answer.insert("summary", QJsonObject{{"unseen_count", unseen}});
        return ApiResponse::json(answer);
    }
    if (c == QLatin1String("friendrequests")) {
        int unread = 0;
        for (const FriendRequest &r : w.friendRequests) {
            if (r.toId != p.id)
                continue;
            items.append(QJsonObject{{"from", ctx.ref(r.fromId)},
                                     {"to", ctx.ref(r.toId)},
                                     {"created_time", graphTime(r.created)},
                                     {"message", r.message},
                                     {"unread", r.unread}});
            unread += r.unread ? 1 : 0;
        }
        QJsonObject answer = ctx.collection(items, 5000);
        answer.insert("summary",
                      QJsonObject{{"unread_count", unread}, {"total_count", items.size()}});
        return ApiResponse::json(answer);
    }
    if (c == QLatin1String("friendlists")) {
        for (const FriendList &l : w.friendLists)
            if (l.ownerId == p.id)
                items.append(QJsonObject{{"id", l.id}, {"name", l.name}, {"list_type", l.type}});
        return ApiResponse::json(ctx.collection(items, 5000));
    }
    if (c == QLatin1String("accounts")) {
        for (const Page &page : w.pages)
            if (page.admins.contains(p.id)) {
                items.append(QJsonObject{{"id", page.id},
                                         {"name", page.name},
                                         {"category", page.category},
                                         {"access_token", w.pageTokens.key(page.id)},
                                         {"perms", QJsonArray{"ADMINISTER", "CREATE_CONTENT"}}});
            }
        return ApiResponse::json(ctx.collection(items, 5000));
    }
    return ApiResponse::notFound(ctx.req.path);
}

ApiResponse pageConnection(GraphContext &ctx, const Page &p, const QString &c) {
    const WorldData &w = ctx.w;
    QJsonArray items;
    if (c == QLatin1String("feed") || c == QLatin1String("posts"))
        return postsPage(ctx, wallOf(w, p.id));
    if (c == QLatin1String("albums") || c == QLatin1String("photos"))
        return albumsOrPhotos(ctx, p.id, c == QLatin1String("photos"));
    if (c == QLatin1String("conversations")) {
        if (ctx.viewer != p.id && !p.admins.contains(ctx.viewer))
            return notOwn();
        QList<const Conversation *> list;
        for (const Conversation &conv : w.conversations)
            if (conv.pageId == p.id)
                list.append(&conv);
        std::sort(list.begin(), list.end(), [](const Conversation *a, const Conversation *b) {
            return a->messages.last().created > b->messages.last().created;
        });
        for (const Conversation *conv : list)
            items.append(ctx.conversation(*conv, false));
        return ApiResponse::json(ctx.collection(items, 25));
    }
    if (c == QLatin1String("likes"))
        return ApiResponse::json(ctx.collection(items, 25));
    return ApiResponse::notFound(ctx.req.path);
}

ApiResponse objectConnection(GraphContext &ctx, const QString &id, const QString &c) {
    const WorldData &w = ctx.w;
    QJsonArray items;
    if (c == QLatin1String("comments")) {
        const QList<Comment> *comments = w.commentsOf(id);
        if (!comments)
            return unsupported(ctx);
        for (const Comment &cm : *comments)
            items.append(ctx.comment(cm));
        QJsonObject answer = ctx.collection(items, 25);
        answer.insert("count", comments->size());
        return ApiResponse::json(answer);
    }
    if (c == QLatin1String("likes")) {
        QStringList likes;
        int strangers = 0;
        if (w.posts.contains(id)) {
            likes = w.posts[id].likes;
            strangers = w.posts[id].strangerLikes;
        } else if (w.photos.contains(id)) {
            likes = w.photos[id].likes;
        } else if (w.albums.contains(id)) {
            likes = w.albums[id].likes;
        } else if (const Comment *cm = w.comment(id)) {
            likes = cm->likes.values();
            likes.sort();
        } else {
            return unsupported(ctx);
        }
        for (const QString &liker : likes)
            items.append(ctx.ref(liker));
        QJsonObject answer = ctx.collection(items, 25);
        answer.insert("count", likes.size() + strangers);
        return ApiResponse::json(answer);
    }
    if (c == QLatin1String("photos") && w.albums.contains(id)) {
        for (const Photo *photo : photosOfAlbum(w, w.albums[id]))
            items.append(ctx.photo(*photo));
        return ApiResponse::json(applyFields(ctx, ctx.collection(items, 25)));
    }
    if (c == QLatin1String("tags") && w.photos.contains(id)) {
        return ApiResponse::json(ctx.collection(
            ctx.photo(w.photos[id]).value("tags").toObject().value("data").toArray(), 25));
    }
    if (w.groups.contains(id)) {
        const Group &g = w.groups[id];
        if (c == QLatin1String("feed"))
            return postsPage(ctx, wallOf(w, id));
        if (c == QLatin1String("members")) {
            for (const QString &member : g.members)
                items.append(ctx.ref(member));
            return ApiResponse::json(ctx.collection(items, 5000));
        }
    }
    if (w.events.contains(id)) {
        const Event &e = w.events[id];
        if (c == QLatin1String("feed"))
            return postsPage(ctx, wallOf(w, id));
        if (c == QLatin1String("invited") || c == QLatin1String("attending") ||
            c == QLatin1String("maybe") || c == QLatin1String("declined") ||
            c == QLatin1String("noreply"))
            return ApiResponse::json(ctx.collection(guests(ctx, e, c), 5000));
    }
    return ApiResponse::notFound(ctx.req.path);
}

QJsonObject objectJson(GraphContext &ctx, const QString &id, bool *found) {
    const WorldData &w = ctx.w;
    *found = true;
    if (w.people.contains(id))
        return ctx.user(w.people[id]);
    if (w.pages.contains(id))
        return ctx.page(w.pages[id]);
    if (w.groups.contains(id))
        return ctx.group(w.groups[id]);
    if (w.events.contains(id))
        return ctx.event(w.events[id]);
    if (w.posts.contains(id))
        return ctx.post(w.posts[id], 25);
    if (w.photos.contains(id))
        return ctx.photo(w.photos[id]);
    if (w.albums.contains(id))
        return ctx.album(w.albums[id]);
    if (w.places.contains(id))
        return ctx.place(w.places[id]);
    if (w.applications.contains(id))
        return ctx.application(id);
    if (w.checkins.contains(id))
        return ctx.checkin(w.checkins[id]);
    if (w.notifications.contains(id) && w.notifications[id].toId == ctx.viewer)
        return ctx.notification(w.notifications[id]);
    if (w.conversations.contains(id)) {
        const Conversation &c = w.conversations[id];
        if (ctx.viewer == c.pageId || w.pages.value(c.pageId).admins.contains(ctx.viewer))
            return ctx.conversation(c, true);
    }
    if (w.threads.contains(id) && w.threads[id].participants.contains(ctx.viewer))
        return ctx.thread(w.threads[id]);
    if (const Comment *c = w.comment(id))
        return ctx.comment(*c);
    *found = false;
    return {};
}

} // namespace

ApiResponse graphGet(GraphContext &ctx, const QStringList &segments) {
    const WorldData &w = ctx.w;
    const QString &id = segments.first();
    if (segments.size() == 1) {
        bool found = false;
        const QJsonObject object = objectJson(ctx, id, &found);
        if (!found)
            return unsupported(ctx);
        return ApiResponse::json(applyFields(ctx, object));
    }
    if (segments.size() != 2)
        return ApiResponse::notFound(ctx.req.path);
    const QString &connection = segments[1];
    ApiResponse answer;
    if (w.people.contains(id))
        answer = userConnection(ctx, w.people[id], connection);
    else if (w.pages.contains(id))
        answer = pageConnection(ctx, w.pages[id], connection);
    else
        answer = objectConnection(ctx, id, connection);
    return answer;
}

ApiResponse graphSearch(GraphContext &ctx) {
    const WorldData &w = ctx.w;
    const QString type = ctx.req.value(QStringLiteral("type"));
    const QString q = ctx.req.value(QStringLiteral("q")).trimmed();
    const auto matches = [&](const QString &name) {
        return q.isEmpty() || q == QLatin1String("*") || name.contains(q, Qt::CaseInsensitive);
    };
    QJsonArray items;
    if (type == QLatin1String("user")) {
        for (const Person &p : w.people)
            if (matches(p.name))
                items.append(ctx.ref(p.id));
    } else if (type == QLatin1String("page")) {
        for (const Page &p : w.pages)
            if (matches(p.name))
                items.append(ctx.ref(p.id));
    } else if (type == QLatin1String("group")) {
        for (const Group &g : w.groups)
            if (matches(g.name))
                items.append(QJsonObject{
                    {"id", g.id}, {"name", g.name}, {"version", 1}, {"privacy", g.privacy}});
    } else if (type == QLatin1String("event")) {
        for (const Event &e : w.events)
            if (matches(e.name))
                items.append(QJsonObject{{"id", e.id},
                                         {"name", e.name},
                                         {"start_time", graphTime(e.start)},
                                         {"end_time", graphTime(e.end)},
                                         {"location", e.location}});
    } else if (type == QLatin1String("place")) {
        const QString center = ctx.req.value(QStringLiteral("center"));
        double lat = 0, lon = 0, distance = 0;
        bool near = false;
        if (!center.isEmpty()) {
            const QStringList parts = center.split(QLatin1Char(','));
            bool okLat = false, okLon = false;
            if (parts.size() == 2) {
                lat = parts[0].toDouble(&okLat);
                lon = parts[1].toDouble(&okLon);
            }
            if (!okLat || !okLon || qAbs(lat) > 90 || qAbs(lon) > 180)
                return ApiResponse::badRequest(QStringLiteral("(#100) Invalid center."));
            bool okDistance = false;
            distance = ctx.req.value(QStringLiteral("distance")).toDouble(&okDistance);
            if (!okDistance || distance <= 0)
                distance = 1000;
            near = true;
        }
        QList<QPair<double, const Place *>> found;
        for (const Place &p : w.places) {
            if (!matches(p.name) && !matches(p.category))
                continue;
            double metres = 0;
            if (near) {
                // Equirectangular distance: plenty for a town-sized world.
                const double x = qDegreesToRadians(p.longitude - lon) *
                                 qCos(qDegreesToRadians((p.latitude + lat) / 2));
                const double y = qDegreesToRadians(p.latitude - lat);
                metres = qSqrt(x * x + y * y) * 6371000.0;
                if (metres > distance)
                    continue;
            }
            found.append({metres, &p});
        }
        std::stable_sort(found.begin(), found.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &f : found)
            items.append(ctx.place(*f.second));
    } else if (type == QLatin1String("checkin")) {
        QList<const Checkin *> list;
        for (const Checkin &c : w.checkins)
            if (c.fromId != ctx.viewer && w.isFriend(ctx.viewer, c.fromId))
                list.append(&c);
        std::sort(list.begin(), list.end(),
                  [](const Checkin *a, const Checkin *b) { return a->created > b->created; });
        for (const Checkin *c : list)
            items.append(ctx.checkin(*c));
    } else {
        return ApiResponse::badRequest(QStringLiteral("(#100) Unsupported search type."));
    }
    return ApiResponse::json(ctx.collection(items, 25));
}

ApiResponse notificationsGet(GraphContext &ctx) {
    const WorldData &w = ctx.w;
    const QString me = ctx.viewer;
    int unseenNotifications = 0;
    for (const Notification &n : w.notifications)
        if (n.toId == me && n.unseen)
            ++unseenNotifications;
    QJsonArray requests;
    int unreadRequests = 0;
    for (const FriendRequest &r : w.friendRequests)
        if (r.toId == me) {
            requests.append(r.fromId);
            unreadRequests += r.unread ? 1 : 0;
        }
    QJsonArray invites;
    for (const Event &e : w.events)
        if (e.rsvp.value(me) == QLatin1String("not_replied") && e.start > w.anchor)
            invites.append(e.id);
    int unreadThreads = 0;
    QString mostRecent;
    qint64 newest = 0;
    for (const Thread &t : w.threads)
        if (t.folder == QLatin1String("inbox") && t.participants.contains(me)) {
            unreadThreads += t.unread ? 1 : 0;
            if (t.messages.last().created > newest) {
                newest = t.messages.last().created;
                mostRecent = t.id;
            }
        }
    return ApiResponse::json(
        QJsonObject{{"messages", QJsonObject{{"unread", unreadThreads},
                                             {"unseen", unreadThreads},
                                             {"most_recent", mostRecent}}},
                    {"pokes", QJsonObject{{"unread", 0}, {"most_recent", 0}}},
                    {"shares", QJsonObject{{"unread", 0}, {"most_recent", 0}}},
                    {"friend_requests", requests},
                    {"group_invites", QJsonArray()},
                    {"event_invites", invites},
                    {"friend_requests_counts",
                     QJsonObject{{"unread", unreadRequests}, {"unseen", unreadRequests}}},
                    {"notification_counts", QJsonObject{{"unseen", unseenNotifications}}}});
}
