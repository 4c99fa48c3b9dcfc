#pragma once

#include "apirequest.h"
#include "world.h"

#include <QJsonArray>
#include <QJsonObject>

#include <functional>

// Tags of a text grouped by their offset, as "message_tags" and "story_tags" carry them.
QJsonObject tagsByOffset(const QList<Tag> &tags);

// The offsets a collection can be asked for; larger ones are refused.
constexpr int maxCollectionOffset = 1000000;

// What a Graph or REST handler works with: the world (a snapshot, or the copy
// being changed), the request, who is asking and where the sandbox is reached.
struct GraphContext {
    GraphContext(const WorldData &world, const ApiRequest &request, QString viewerId,
                 QString accessToken, WorldData *changed = nullptr)
        : w(world)
        , req(request)
        , viewer(std::move(viewerId))
        , token(std::move(accessToken))
        , changing(changed) {}

    const WorldData &w;
    const ApiRequest &req;
    QString viewer; // user or page the token belongs to
    QString token;
    WorldData *changing = nullptr; // the same world, when the request changes it
    bool feedsByTime = false;      // feeds page with "until"/"since" even when not asked to
    // Changes a read makes on the side (reading a thread marks it read):
    // applied once the answer is made.
    QList<std::function<void(WorldData &)>> afterwards;

    WorldData &change() const { return *changing; }

    QString root() const { return req.root; }
    // Stored addresses hold "{ROOT}" (and "{ROOT_ENC}" inside encoded ones).
    QString expand(const QString &stored) const;
    QString pictureUrl(const QString &id, const QString &type = {}) const;
    QString tokenPair() const { return QStringLiteral("access_token=") + token; }

    // {"id", "name"} and "category" for pages and applications.
    QJsonObject ref(const QString &id) const;
    QJsonObject refsData(const QStringList &ids) const;

    QJsonObject user(const Person &p) const;
    QJsonObject page(const Page &p) const;
    QJsonObject group(const Group &g) const;
    QJsonObject event(const Event &e) const;
    QJsonObject place(const Place &p) const;
    QJsonObject location(const Place &p) const;
    QJsonObject application(const QString &id) const;
    QJsonObject post(const Post &p, int carriedComments) const;
    QJsonObject comment(const Comment &c) const;
    QJsonObject album(const Album &a) const;
    QJsonObject photo(const Photo &p) const;
    QJsonObject thread(const Thread &t) const;
    QJsonObject conversation(const Conversation &c, bool withMessages) const;
    QJsonObject notification(const Notification &n) const;
    QJsonObject checkin(const Checkin &c) const;
    QJsonObject likesOf(const QStringList &likes, int strangers, int carried) const;
    QJsonObject commentsOf(const QList<Comment> &comments, const QString &ownerId,
                           int carried) const;

    struct Range {
        int offset = 0;
        int limit = 0;
    };
    // The "limit" and "offset" of the request (checked by the caller).
    Range range(int defaultLimit) const;
    // "next" and "previous" addresses of a page of `total` items, or nothing.
    QJsonObject paging(const Range &range, int total) const;
    // The request's own address, its paging parameters replaced by `paging`.
    QString pageAddress(const QueryItems &paging) const;
    // A page of a collection: "limit" and "offset" of the request, and
    // "paging" with absolute "next"/"previous" addresses while there is more.
    QJsonObject collection(const QJsonArray &items, int defaultLimit) const;
    // The same, making only the items of the requested page.
    QJsonObject collection(int total, const std::function<QJsonValue(int)> &item,
                           int defaultLimit) const;
    // The same for a connection other than the one requested (embedded lists).
    QJsonObject pageOf(const QJsonArray &items, int offset, int limit, const QString &path) const;
};

QString graphTime(qint64 secs);
