#include "graphcontext.h"

#include <QUrl>

#include <cstdio>

QString graphTime(qint64 secs) {
    // Days to a civil date (proleptic Gregorian), without QDateTime's locale work.
    qint64 days = secs / 86400;
    qint64 second = secs % 86400;
    if (second < 0) {
        second += 86400;
        --days;
    }
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthIndex = (5 * dayOfYear + 2) / 153;
    const qint64 day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const qint64 month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const qint64 year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    char text[96];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lld+0000",
                  static_cast<long long>(year), static_cast<long long>(month),
                  static_cast<long long>(day), static_cast<long long>(second / 3600),
                  static_cast<long long>(second / 60 % 60), static_cast<long long>(second % 60));
    return QString::fromLatin1(text);
}

QString GraphContext::expand(const QString &stored) const {
    if (!stored.contains(QLatin1Char('{')))
        return stored;
    QString out = stored;
    out.replace(QStringLiteral("{ROOT_ENC}"), QString::fromLatin1(QUrl::toPercentEncoding(root())));
    out.replace(QStringLiteral("{ROOT}"), root());
    return out;
}

QString GraphContext::pictureUrl(const QString &id, const QString &type) const {
    QString url = root() + QLatin1Char('/') + id + QStringLiteral("/picture");
    if (!type.isEmpty())
        url += QStringLiteral("?type=") + type;
    return url;
}

QJsonObject GraphContext::ref(const QString &id) const {
    QJsonObject o{{"id", id}, {"name", w.nameOf(id)}};
    const auto page = w.pages.constFind(id);
    if (page != w.pages.constEnd())
        o.insert("category", page->category);
    else if (w.applications.contains(id))
        o.insert("category", QStringLiteral("Application"));
    return o;
}

QJsonObject GraphContext::refsData(const QStringList &ids) const {
    QJsonArray data;
    for (const QString &id : ids)
        data.append(ref(id));
    return QJsonObject{{"data", data}};
}

static QJsonObject named(const QString &id, const QString &name) {
    return QJsonObject{{"id", id}, {"name", name}};
}

QJsonObject GraphContext::user(const Person &p) const {
    QJsonObject o{{"id", p.id},
                  {"name", p.name},
                  {"first_name", p.firstName},
                  {"last_name", p.lastName},
                  {"gender", p.gender},
                  {"locale", "en_GB"},
                  {"link", root() + QStringLiteral("/profile.php?id=") + p.id},
                  {"updated_time", graphTime(w.anchor - 86400 * 3)}};
    // Details only for the person and their friends, as the service shares them.
    if (viewer != p.id && !w.isFriend(viewer, p.id))
        return o;
    if (!p.birthday.isEmpty())
        o.insert("birthday", p.birthday);
    if (!p.bio.isEmpty())
        o.insert("bio", p.bio);
    if (!p.quotes.isEmpty())
        o.insert("quotes", p.quotes);
    if (!p.website.isEmpty())
        o.insert("website", p.website);
    if (!p.relationship.isEmpty())
        o.insert("relationship_status", p.relationship);
    o.insert("email", p.email);
    o.insert("hometown", named(QStringLiteral("110000000000001"), p.hometown));
    o.insert("location", named(QStringLiteral("110000000000002"), p.location));
    o.insert("languages", QJsonArray{named(QStringLiteral("120000000000001"), "English"),
                                     named(QStringLiteral("120000000000002"), "Sandboxian")});
    o.insert("education",
             QJsonArray{QJsonObject{
                 {"school", named(QStringLiteral("130000000000001"), "Vellmark University")},
                 {"type", "College"},
                 {"year", named(QStringLiteral("140000000002008"), "2008")}}});
    o.insert("work", QJsonArray{QJsonObject{
                         {"employer", named(QStringLiteral("150000000000001"), "Harbour Maps Ltd")},
                         {"position", named(QStringLiteral("150000000000002"), "Cartographer")},
                         {"start_date", "2009-03"}}});
    o.insert("favorite_teams",
             QJsonArray{named(QStringLiteral("160000000000001"), "Vellmark Otters")});
    o.insert("religion", "Pastafarian");
    if (!p.significantOtherId.isEmpty())
        o.insert("significant_other", ref(p.significantOtherId));
    return o;
}

QJsonObject GraphContext::location(const Place &p) const {
    QJsonObject o{{"city", p.city},
                  {"country", p.country},
                  {"zip", p.zip},
                  {"latitude", p.latitude},
                  {"longitude", p.longitude}};
    if (!p.street.isEmpty())
        o.insert("street", p.street);
    return o;
}

QJsonObject GraphContext::place(const Place &p) const {
    return QJsonObject{
        {"id", p.id}, {"name", p.name}, {"category", p.category}, {"location", location(p)}};
}

QJsonObject GraphContext::page(const Page &p) const {
    QJsonObject o{{"id", p.id},
                  {"name", p.name},
                  {"category", p.category},
                  {"likes", p.fans},
                  {"link", root() + QLatin1Char('/') + p.id},
                  {"description", p.description},
                  {"company_overview", p.about},
                  {"website", p.website},
                  {"phone", p.phone},
                  {"founded", p.founded},
                  {"mission", p.mission},
                  {"products", p.products},
                  {"can_post", true},
                  {"talking_about_count", p.fans / 7}};
    if (w.places.contains(p.placeId))
        o.insert("location", location(w.places[p.placeId]));
    if (p.hasCover)
        o.insert("cover", QJsonObject{{"cover_id", p.id + QStringLiteral("0")},
                                      {"source", root() + QStringLiteral("/img/cover") + p.id +
                                                     QStringLiteral("_720x270.jpg")},
                                      {"offset_y", p.coverOffsetY}});
    return o;
}

QJsonObject GraphContext::group(const Group &g) const {
    return QJsonObject{{"id", g.id},
                       {"name", g.name},
                       {"description", g.description},
                       {"owner", ref(g.ownerId)},
                       {"privacy", g.privacy},
                       {"version", 1},
                       {"icon", root() + QStringLiteral("/img/icon-group_16x16.png")},
                       {"updated_time", graphTime(w.anchor - 7200)}};
}

QJsonObject GraphContext::event(const Event &e) const {
    QJsonObject o{{"id", e.id},
                  {"name", e.name},
                  {"description", e.description},
                  {"start_time", graphTime(e.start)},
                  {"end_time", graphTime(e.end)},
                  {"location", e.location},
                  {"owner", ref(e.ownerId)},
                  {"privacy", "OPEN"},
                  {"updated_time", graphTime(w.anchor - 86400)}};
    if (w.places.contains(e.placeId))
        o.insert("venue", location(w.places[e.placeId]));
    return o;
}

QJsonObject GraphContext::application(const QString &id) const {
    const Application &a = w.applications[id];
    QJsonObject o{{"id", a.id}, {"name", a.name}};
    if (!a.nameSpace.isEmpty())
        o.insert("namespace", a.nameSpace);
    return o;
}

QJsonObject GraphContext::comment(const Comment &c) const {
    return QJsonObject{{"id", c.id},
                       {"from", ref(c.fromId)},
                       {"message", c.message},
                       {"created_time", graphTime(c.created)},
                       {"likes", c.likes.size()},
                       {"user_likes", c.likes.contains(viewer)},
                       {"can_remove", c.fromId == viewer}};
}

QJsonObject GraphContext::likesOf(const QStringList &likes, int strangers, int carried) const {
    QJsonArray data;
    for (int i = 0; i < likes.size() && i < carried; ++i)
        data.append(ref(likes[i]));
    return QJsonObject{{"data", data}, {"count", likes.size() + strangers}};
}

QJsonObject GraphContext::commentsOf(const QList<Comment> &comments, const QString &ownerId,
                                     int carried) const {
    QJsonArray all;
    for (const Comment &c : comments)
        all.append(comment(c));
    QJsonObject o =
        pageOf(all, 0, carried, QLatin1Char('/') + ownerId + QStringLiteral("/comments"));
    o.insert("count", comments.size());
    return o;
}

QJsonObject tagsByOffset(const QList<Tag> &tags) {
    QJsonObject byOffset;
    for (const Tag &t : tags) {
        const QString key = QString::number(t.offset);
        QJsonArray list = byOffset.value(key).toArray();
        list.append(QJsonObject{{"id", t.id},
                                {"name", t.name},
                                {"type", t.type},
                                {"offset", t.offset},
                                {"length", t.length}});
        byOffset.insert(key, list);
    }
    return byOffset;
}

QJsonObject GraphContext::post(const Post &p, int carriedComments) const {
    QJsonObject o{{"id", p.id},
                  {"from", ref(p.fromId)},
                  {"type", p.type},
                  {"created_time", graphTime(p.created)},
                  {"updated_time", graphTime(p.updated)}};
    if (!p.toIds.isEmpty())
        o.insert("to", refsData(p.toIds));
    const auto text = [&](const char *key, const QString &value) {
        if (!value.isEmpty())
            o.insert(QLatin1String(key), expand(value));
    };
    text("message", p.message);
    text("story", p.story);
    text("link", p.link);
    text("name", p.name);
    text("caption", p.caption);
    text("description", p.description);
    text("picture", p.picture);
    text("source", p.source);
    text("icon", p.icon);
    text("object_id", p.objectId);
    if (!p.messageTags.isEmpty())
        o.insert("message_tags", tagsByOffset(p.messageTags));
    if (!p.storyTags.isEmpty())
        o.insert("story_tags", tagsByOffset(p.storyTags));
    if (!p.properties.isEmpty())
        o.insert("properties", p.properties);
    if (w.places.contains(p.placeId))
        o.insert("place", place(w.places[p.placeId]));
    if (w.applications.contains(p.appId))
        o.insert("application", application(p.appId));
    const QString link = root() + QLatin1Char('/') + p.fromId + QStringLiteral("/posts/") +
                         p.id.mid(p.id.indexOf(QLatin1Char('_')) + 1);
    o.insert("actions", QJsonArray{QJsonObject{{"name", "Comment"}, {"link", link}},
                                   QJsonObject{{"name", "Like"}, {"link", link}}});
    o.insert("privacy", QJsonObject{{"value", p.privacy.isEmpty() ? "ALL_FRIENDS" : p.privacy},
                                    {"description", "Friends"}});
    if (!p.likes.isEmpty() || p.strangerLikes > 0)
        o.insert("likes", likesOf(p.likes, p.strangerLikes, 4));
    o.insert("comments", commentsOf(p.comments, p.id, carriedComments));
    return o;
}

QJsonObject GraphContext::album(const Album &a) const {
    QJsonObject o{{"id", a.id},
                  {"from", ref(a.ownerId)},
                  {"name", a.name},
                  {"link", root() + QStringLiteral("/album.php?aid=") + a.id},
                  {"count", a.photoIds.size()},
                  {"type", a.type},
                  {"privacy", "friends"},
                  {"can_upload", a.type != QLatin1String("profile")},
                  {"created_time", graphTime(a.created)},
                  {"updated_time", graphTime(a.updated)}};
    if (!a.description.isEmpty())
        o.insert("description", a.description);
    if (!a.location.isEmpty())
        o.insert("location", a.location);
    if (!a.photoIds.isEmpty())
        o.insert("cover_photo", a.photoIds.first());
    return o;
}

QJsonObject GraphContext::photo(const Photo &p) const {
    const auto source = [&](int width) {
        return root() + QStringLiteral("/photos/") + p.id + QLatin1Char('/') +
               QString::number(width) + QStringLiteral(".jpg");
    };
    QJsonArray images;
    images.append(
        QJsonObject{{"width", p.width}, {"height", p.height}, {"source", source(p.width)}});
    for (int width : {480, 180, 130})
        if (width < p.width)
            images.append(QJsonObject{{"width", width},
                                      {"height", p.height * width / p.width},
                                      {"source", source(width)}});
    QJsonArray tags;
    for (const PhotoTag &t : p.tags)
        tags.append(QJsonObject{{"id", t.id},
                                {"name", t.name},
                                {"x", t.x},
                                {"y", t.y},
                                {"created_time", graphTime(t.created)}});
    QJsonObject o{{"id", p.id},
                  {"from", ref(p.fromId)},
                  {"picture", source(qMin(130, p.width))},
                  {"source", source(p.width)},
                  {"height", p.height},
                  {"width", p.width},
                  {"images", images},
                  {"link", root() + QStringLiteral("/photo.php?fbid=") + p.id},
                  {"icon", root() + QStringLiteral("/img/icon-photo_16x16.png")},
                  {"created_time", graphTime(p.created)},
                  {"updated_time", graphTime(p.created)}};
    if (!tags.isEmpty())
        o.insert("tags", QJsonObject{{"data", tags}});
    if (!p.name.isEmpty())
        o.insert("name", p.name);
    if (!p.likes.isEmpty())
        o.insert("likes", pageOf(likesOf(p.likes, 0, p.likes.size()).value("data").toArray(), 0, 25,
                                 QLatin1Char('/') + p.id + QStringLiteral("/likes")));
    if (!p.comments.isEmpty())
        o.insert("comments", commentsOf(p.comments, p.id, 25));
    return o;
}

QJsonObject GraphContext::thread(const Thread &t) const {
    QJsonObject o{{"id", t.id},
                  {"from", ref(t.messages.first().authorId)},
                  {"to", refsData(t.participants)},
                  {"message", t.messages.first().body},
                  {"created_time", graphTime(t.messages.first().created)},
                  {"updated_time", graphTime(t.messages.last().created)},
                  {"unread", t.unread ? 1 : 0},
                  {"unseen", t.unread ? 1 : 0}};
    QJsonArray comments;
    for (int i = 1; i < t.messages.size(); ++i) {
        const Message &m = t.messages[i];
        comments.append(QJsonObject{{"id", m.id},
                                    {"from", ref(m.authorId)},
                                    {"message", m.body},
                                    {"created_time", graphTime(m.created)}});
    }
    if (!comments.isEmpty())
        o.insert("comments", QJsonObject{{"data", comments}});
    return o;
}

QJsonObject GraphContext::conversation(const Conversation &c, bool withMessages) const {
    QJsonArray participants;
    for (const QString &id : c.participants) {
        QJsonObject r = ref(id);
        r.insert("email", id + QStringLiteral("@sandbox.test"));
        participants.append(r);
    }
    QJsonObject o{{"id", c.id},
                  {"snippet", c.messages.last().body},
                  {"updated_time", graphTime(c.messages.last().created)},
                  {"message_count", c.messages.size()},
                  {"unread_count", c.unread},
                  {"can_reply", c.canReply},
                  {"participants", QJsonObject{{"data", participants}}}};
    if (withMessages) {
        QJsonArray messages;
        for (const Message &m : c.messages)
            messages.append(QJsonObject{{"id", m.id},
                                        {"created_time", graphTime(m.created)},
                                        {"from", ref(m.authorId)},
                                        {"message", m.body}});
        o.insert("messages", QJsonObject{{"data", messages}});
    }
    return o;
}

QJsonObject GraphContext::notification(const Notification &n) const {
    QJsonObject o{{"id", n.id},
                  {"from", ref(n.fromId)},
                  {"to", ref(n.toId)},
                  {"created_time", graphTime(n.created)},
                  {"updated_time", graphTime(n.updated)},
                  {"title", n.title},
                  {"link", expand(n.link)},
                  {"unread", n.unread ? 1 : 0}};
    if (w.applications.contains(n.appId))
        o.insert("application", application(n.appId));
    return o;
}

QJsonObject GraphContext::checkin(const Checkin &c) const {
    QJsonObject o{{"id", c.id},
                  {"from", ref(c.fromId)},
                  {"place", place(w.places[c.placeId])},
                  {"created_time", graphTime(c.created)}};
    if (!c.message.isEmpty())
        o.insert("message", c.message);
    if (!c.tagIds.isEmpty())
        o.insert("tags", refsData(c.tagIds));
    if (w.applications.contains(c.appId))
        o.insert("application", application(c.appId));
    return o;
}

QJsonObject GraphContext::pageOf(const QJsonArray &items, int offset, int limit,
                                 const QString &path) const {
    QJsonArray data;
    for (int i = offset; i < items.size() && i < offset + limit; ++i)
        data.append(items[i]);
    QJsonObject o{{"data", data}};
    if (offset + limit < items.size()) {
        const QString next = root() + path + QStringLiteral("?limit=") + QString::number(limit) +
                             QStringLiteral("&offset=") + QString::number(offset + limit) +
                             QLatin1Char('&') + tokenPair();
        o.insert("paging", QJsonObject{{"next", next}});
    }
    return o;
}

QJsonObject GraphContext::collection(const QJsonArray &items, int defaultLimit) const {
    return collection(
        int(items.size()), [&](int i) { return items[i]; }, defaultLimit);
}

GraphContext::Range GraphContext::range(int defaultLimit) const {
    Range r;
    bool ok = false;
    r.limit = req.value(QStringLiteral("limit")).toInt(&ok);
    if (!ok || r.limit <= 0)
        r.limit = defaultLimit;
    r.limit = qMin(r.limit, 5000);
    r.offset = qBound(0, req.value(QStringLiteral("offset")).toInt(), maxCollectionOffset);
    return r;
}

QJsonObject GraphContext::collection(int total, const std::function<QJsonValue(int)> &item,
                                     int defaultLimit) const {
    const Range r = range(defaultLimit);
    QJsonArray data;
    for (int i = r.offset; i < total && i < r.offset + r.limit; ++i)
        data.append(item(i));
    QJsonObject o{{"data", data}};
    const QJsonObject links = paging(r, total);
    if (!links.isEmpty())
        o.insert("paging", links);
    return o;
}

QString GraphContext::pageAddress(const QueryItems &paging) const {
    static const QStringList replaced{"limit", "offset", "until", "since", "after", "before"};
    QueryItems query;
    for (const auto &item : req.query)
        if (!replaced.contains(item.first))
            query.append(item);
    query += paging;
    return root() + req.path + QLatin1Char('?') + QString::fromUtf8(encodeQuery(query));
}

QJsonObject GraphContext::paging(const Range &r, int total) const {
    const auto address = [&](int at) {
        return pageAddress({{QStringLiteral("limit"), QString::number(r.limit)},
                            {QStringLiteral("offset"), QString::number(at)}});
    };
    QJsonObject paging;
    if (r.offset + r.limit < total)
        paging.insert("next", address(r.offset + r.limit));
    if (r.offset > 0)
        paging.insert("previous", address(qMax(0, r.offset - r.limit)));
    return paging;
}
