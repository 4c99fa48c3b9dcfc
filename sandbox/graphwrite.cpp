// Graph POST and DELETE requests: everything the client posts changes the
// world for the rest of the run, and is kept for read-back.
#include "graphapi.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QUrl>

namespace {

void record(GraphContext &ctx, const QString &result) {
    Posting p;
    p.time = ctx.w.now();
    p.method = ctx.req.effectiveMethod();
    p.path = ctx.req.path;
    for (const auto &item : ctx.req.query)
        if (item.first != QLatin1String("access_token"))
            p.params.append(item);
    p.userId = ctx.viewer;
    p.result = result;
    ctx.change().postings.append(p);
    // Read-back is for recent activity; a long demo must not grow without bound.
    if (ctx.change().postings.size() > 2000)
        ctx.change().postings.removeFirst();
}

ApiResponse done(GraphContext &ctx) {
    record(ctx, QStringLiteral("true"));
    return ApiResponse::json(true);
}

ApiResponse created(GraphContext &ctx, const QString &id) {
    record(ctx, id);
    return ApiResponse::json(QJsonObject{{"id", id}});
}

ApiResponse refused(const QString &message) {
    return ApiResponse::badRequest(message, 200, QStringLiteral("OAuthException"));
}

ApiResponse missing(const QString &what) {
    return ApiResponse::badRequest(QStringLiteral("(#100) Missing parameter: ") + what);
}

bool canPostOn(const WorldData &w, const QString &viewer, const QString &target) {
    if (viewer == target)
        return true;
    if (w.people.contains(target))
        return w.isFriend(viewer, target);
    if (w.groups.contains(target))
        return w.groups[target].members.contains(viewer);
    if (w.events.contains(target))
        return w.events[target].rsvp.contains(viewer);
    return w.pages.contains(target);
}

// A status or shared link on a wall; "links" (`sharing`) takes a link only.
ApiResponse feedPost(GraphContext &ctx, const QString &target, bool sharing = false) {
    WorldData &w = ctx.change();
    const QString message = ctx.req.value(QStringLiteral("message"));
    const QString link = ctx.req.value(QStringLiteral("link")).trimmed();
    if (sharing && link.isEmpty())
        return missing(QStringLiteral("link"));
    if (message.isEmpty() && link.isEmpty())
        return missing(QStringLiteral("message or link"));
    // Like the service, only web addresses are shared: no javascript: or file: links.
    const QUrl url(link, QUrl::StrictMode);
    if (!link.isEmpty() &&
        (!url.isValid() || url.host().isEmpty() ||
         (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))))
        return ApiResponse::badRequest(QStringLiteral("(#100) The url you supplied is invalid"));
    if (!canPostOn(w, ctx.viewer, target))
        return refused(QStringLiteral("(#200) The user cannot post on this wall."));
    Post p;
    p.id = target + QLatin1Char('_') + w.newId();
    p.fromId = ctx.viewer;
    if (target != ctx.viewer) {
        p.targetId = target;
        p.toIds = QStringList{target};
    }
    p.message = message;
    p.link = link;
    p.type = link.isEmpty() ? QStringLiteral("status") : QStringLiteral("link");
    p.name = ctx.req.value(QStringLiteral("name"));
    p.caption = ctx.req.value(QStringLiteral("caption"));
    p.description = ctx.req.value(QStringLiteral("description"));
    p.picture = ctx.req.value(QStringLiteral("picture"));
    p.appId = ctx.change().applications.contains(QStringLiteral("100000000000001"))
                  ? QStringLiteral("100000000000001")
                  : QString();
    const QString privacy = ctx.req.value(QStringLiteral("privacy"));
    if (!privacy.isEmpty()) {
        const QJsonDocument doc = QJsonDocument::fromJson(privacy.toUtf8());
        const QString value = doc.object().value("value").toString();
        if (!doc.isObject() || value.isEmpty())
            return ApiResponse::badRequest(QStringLiteral("(#100) privacy must be a JSON object "
                                                          "with a value."));
        p.privacy = value;
    }
    p.created = p.updated = w.now();
    w.addPost(p);
    return created(ctx, p.id);
}

ApiResponse addComment(GraphContext &ctx, const QString &objectId) {
    QList<Comment> *comments = ctx.change().commentsOf(objectId);
    if (!comments)
        return ApiResponse::badRequest(QStringLiteral("Unsupported post request."));
    const QString message = ctx.req.value(QStringLiteral("message"));
    if (message.trimmed().isEmpty())
        return missing(QStringLiteral("message"));
    Comment c;
    c.id = objectId + QLatin1Char('_') + ctx.change().newId();
    c.fromId = ctx.viewer;
    c.message = message;
    c.created = ctx.w.now();
    comments->append(c);
    if (Post *p = ctx.change().post(objectId))
        p->updated = c.created;
    return created(ctx, c.id);
}

QStringList *likesOf(WorldData &w, const QString &id, QSet<QString> **commentLikes) {
    if (Post *p = w.post(id))
        return &p->likes;
    if (w.photos.contains(id))
        return &w.photos[id].likes;
    if (w.albums.contains(id))
        return &w.albums[id].likes;
    if (Comment *c = w.comment(id))
        *commentLikes = &c->likes;
    return nullptr;
}

ApiResponse setLike(GraphContext &ctx, const QString &id, bool like) {
    QSet<QString> *commentLikes = nullptr;
    QStringList *likes = likesOf(ctx.change(), id, &commentLikes);
    if (!likes && !commentLikes)
        return ApiResponse::badRequest(QStringLiteral("Unsupported post request."));
    if (commentLikes) {
        if (like)
            commentLikes->insert(ctx.viewer);
        else
            commentLikes->remove(ctx.viewer);
    } else if (like && !likes->contains(ctx.viewer)) {
        likes->append(ctx.viewer);
    } else if (!like) {
        likes->removeAll(ctx.viewer);
    }
    return done(ctx);
}

ApiResponse rsvp(GraphContext &ctx, Event &e, const QString &answer) {
    static const QHash<QString, QString> answers{
        {"attending", "attending"}, {"declined", "declined"}, {"maybe", "unsure"}};
    e.rsvp.insert(ctx.viewer, answers.value(answer));
    return done(ctx);
}

ApiResponse createAlbum(GraphContext &ctx, const QString &owner) {
    if (owner != ctx.viewer)
        return refused(QStringLiteral("(#200) Albums are created on one's own profile."));
    const QString name = ctx.req.value(QStringLiteral("name"));
    if (name.trimmed().isEmpty())
        return missing(QStringLiteral("name"));
    Album a;
    a.id = ctx.change().newId();
    a.ownerId = owner;
    a.name = name;
    a.type = QStringLiteral("normal");
    a.description = ctx.req.value(QStringLiteral("message"));
    a.created = a.updated = ctx.w.now();
    ctx.change().albums.insert(a.id, a);
    return created(ctx, a.id);
}

ApiResponse checkin(GraphContext &ctx, const QString &owner) {
    if (owner != ctx.viewer)
        return refused(QStringLiteral("(#200) Check-ins are made by oneself."));
    const QString placeId = ctx.req.value(QStringLiteral("place"));
    if (!ctx.change().places.contains(placeId))
        return ApiResponse::badRequest(QStringLiteral("(#100) Invalid place."));
    const QJsonDocument coordinates =
        QJsonDocument::fromJson(ctx.req.value(QStringLiteral("coordinates")).toUtf8());
    const QJsonObject c = coordinates.object();
    bool okLat = false, okLon = false;
    const double lat = c.value("latitude").toVariant().toString().toDouble(&okLat);
    const double lon = c.value("longitude").toVariant().toString().toDouble(&okLon);
    if (!coordinates.isObject() || !okLat || !okLon || qAbs(lat) > 90 || qAbs(lon) > 180)
        return ApiResponse::badRequest(
            QStringLiteral("(#100) coordinates must hold latitude and longitude."));
    Checkin ch;
    ch.id = ctx.change().newId();
    ch.fromId = ctx.viewer;
    ch.placeId = placeId;
    ch.message = ctx.req.value(QStringLiteral("message"));
    for (const QString &tag :
         ctx.req.values(QStringLiteral("tags[]")) + ctx.req.values(QStringLiteral("tags")))
        for (const QString &id : tag.split(QLatin1Char(','), Qt::SkipEmptyParts))
            if (ctx.change().people.contains(id) && !ch.tagIds.contains(id))
                ch.tagIds.append(id);
    ch.appId = QStringLiteral("100000000000001");
    ch.created = ctx.w.now();
    ctx.change().checkins.insert(ch.id, ch);
    return created(ctx, ch.id);
}

ApiResponse tagPhoto(GraphContext &ctx, Photo &photo, const QString &personId) {
    if (!ctx.change().people.contains(personId))
        return ApiResponse::badRequest(QStringLiteral("(#100) Invalid user to tag."));
    for (const PhotoTag &t : photo.tags)
        if (t.id == personId)
            return done(ctx);
    bool okX = false, okY = false;
    double x = ctx.req.value(QStringLiteral("x")).toDouble(&okX);
    double y = ctx.req.value(QStringLiteral("y")).toDouble(&okY);
    photo.tags.append(
        {personId, ctx.w.people.value(personId).name, okX ? x : 50.0, okY ? y : 50.0, ctx.w.now()});
    return done(ctx);
}

ApiResponse leaveGroup(GraphContext &ctx, Group &g, const QString &member) {
    if (member != ctx.viewer)
        return refused(QStringLiteral("(#200) Only oneself can leave a group."));
    if (!g.members.removeAll(member))
        return ApiResponse::badRequest(QStringLiteral("(#100) Not a member of this group."));
    return done(ctx);
}

} // namespace

ApiResponse graphPost(GraphContext &ctx, const QStringList &segments) {
    WorldData &w = ctx.change();
    const QString &id = segments.first();
    if (segments.size() == 1) {
        if (w.notifications.contains(id) && ctx.req.has(QStringLiteral("unread"))) {
            Notification &n = w.notifications[id];
            if (n.toId != ctx.viewer)
                return refused(QStringLiteral("(#200) Not your notification."));
            n.unread = ctx.req.value(QStringLiteral("unread")) != QLatin1String("0");
            n.unseen = n.unseen && n.unread;
            return done(ctx);
        }
        if (!w.kindOf(id).isEmpty() && w.kindOf(id) != QLatin1String("application"))
            return feedPost(ctx, id);
        return ApiResponse::badRequest(QStringLiteral("Unsupported post request."));
    }
    const QString &connection = segments[1];
    if (segments.size() == 3) {
        if (connection == QLatin1String("tags") && w.photos.contains(id))
            return tagPhoto(ctx, w.photos[id], segments[2]);
        return ApiResponse::notFound(ctx.req.path);
    }
    if (segments.size() != 2)
        return ApiResponse::notFound(ctx.req.path);
    if (connection == QLatin1String("feed"))
        return feedPost(ctx, id);
    if (connection == QLatin1String("links"))
        return feedPost(ctx, id, true);
    if (connection == QLatin1String("comments"))
        return addComment(ctx, id);
    if (connection == QLatin1String("likes"))
        return setLike(ctx, id, true);
    if (connection == QLatin1String("albums"))
        return createAlbum(ctx, id);
    if (connection == QLatin1String("photos"))
        return uploadPhoto(ctx, id);
    if (connection == QLatin1String("checkins"))
        return checkin(ctx, id);
    if (connection == QLatin1String("tags") && w.photos.contains(id))
        return tagPhoto(ctx, w.photos[id], ctx.req.value(QStringLiteral("to")));
    if (w.events.contains(id) &&
        (connection == QLatin1String("attending") || connection == QLatin1String("declined") ||
         connection == QLatin1String("maybe")))
        return rsvp(ctx, w.events[id], connection);
    return ApiResponse::notFound(ctx.req.path);
}

ApiResponse graphDelete(GraphContext &ctx, const QStringList &segments) {
    WorldData &w = ctx.change();
    const QString &id = segments.first();
    if (segments.size() == 2 && segments[1] == QLatin1String("likes"))
        return setLike(ctx, id, false);
    if (segments.size() == 3 && segments[1] == QLatin1String("members") && w.groups.contains(id))
        return leaveGroup(ctx, w.groups[id], segments[2]);
    if (segments.size() != 1)
        return ApiResponse::notFound(ctx.req.path);

    if (Post *p = w.post(id)) {
        if (p->fromId != ctx.viewer && p->targetId != ctx.viewer)
            return refused(QStringLiteral("(#200) Only the author or the wall's owner can "
                                          "delete a post."));
        w.removePost(id);
        return done(ctx);
    }
    QList<Comment> *owner = nullptr;
    if (Comment *c = w.comment(id, &owner)) {
        if (c->fromId != ctx.viewer)
            return refused(QStringLiteral("(#200) Only the author can delete a comment."));
        for (int i = 0; i < owner->size(); ++i)
            if (&(*owner)[i] == c) {
                owner->removeAt(i);
                break;
            }
        return done(ctx);
    }
    if (w.photos.contains(id)) {
        if (w.photos[id].fromId != ctx.viewer)
            return refused(QStringLiteral("(#200) Only the owner can delete a photo."));
        w.albums[w.photos[id].albumId].photoIds.removeAll(id);
        w.photos.remove(id);
        return done(ctx);
    }
    if (w.checkins.contains(id) && w.checkins[id].fromId == ctx.viewer) {
        w.checkins.remove(id);
        return done(ctx);
    }
    return ApiResponse::badRequest(QStringLiteral("Unsupported delete request."));
}
