#include "postlists.h"

namespace {

// Posts in the world's order (newest first) that `wanted` lets through.
template <typename Wanted> QList<const Post *> postsWhere(const WorldData &w, Wanted wanted) {
    QList<const Post *> out;
    for (const QString &id : w.postsNewestFirst) {
        const Post *p = w.post(id);
        if (p && wanted(*p))
            out.append(p);
    }
    return out;
}

} // namespace

QList<const Post *> newsFeedOf(const WorldData &w, const QString &userId) {
    const QSet<QString> friends = w.friends.value(userId);
    const bool account = userId == w.meId;
    return postsWhere(w, [&](const Post &p) {
        const bool byCircle = p.fromId == userId || friends.contains(p.fromId) ||
                              (account && w.likedPageIds.contains(p.fromId));
        if (!byCircle && p.targetId != userId)
            return false;
        if (p.targetId.isEmpty())
            return true;
        const auto group = w.groups.constFind(p.targetId);
        if (group != w.groups.constEnd() && !group->members.contains(userId))
            return false;
        const auto event = w.events.constFind(p.targetId);
        return event == w.events.constEnd() || event->rsvp.contains(userId);
    });
}

QList<const Post *> wallOf(const WorldData &w, const QString &ownerId) {
    return postsWhere(w, [&](const Post &p) {
        return (p.fromId == ownerId && p.targetId.isEmpty()) || p.targetId == ownerId;
    });
}
