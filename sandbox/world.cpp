#include "world.h"

#include <QDateTime>
#include <QMutexLocker>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>

const char World::accountPassword[] = "kelvo-sandbox";

QString WorldData::nameOf(const QString &id) const {
    if (people.contains(id))
        return people[id].name;
    if (pages.contains(id))
        return pages[id].name;
    if (groups.contains(id))
        return groups[id].name;
    if (events.contains(id))
        return events[id].name;
    if (applications.contains(id))
        return applications[id].name;
    return {};
}

QString WorldData::kindOf(const QString &id) const {
    if (people.contains(id))
        return QStringLiteral("user");
    if (pages.contains(id))
        return QStringLiteral("page");
    if (groups.contains(id))
        return QStringLiteral("group");
    if (events.contains(id))
        return QStringLiteral("event");
    if (applications.contains(id))
        return QStringLiteral("application");
    return {};
}

qint64 WorldData::now() const {
    return clock ? clock : QDateTime::currentSecsSinceEpoch();
}

Post *WorldData::post(const QString &id) {
    const auto it = posts.find(id);
    if (it == posts.end())
        return nullptr;
    it->revision = ++revisions;
    return &*it;
}

const Post *WorldData::post(const QString &id) const {
    const auto it = posts.constFind(id);
    return it == posts.constEnd() ? nullptr : &*it;
}

namespace {

// Comment ids are "<object id>_<serial>": the owner's id.
QString commentOwner(const QString &commentId) {
    const int cut = commentId.lastIndexOf(QLatin1Char('_'));
    return cut > 0 ? commentId.left(cut) : QString();
}

template <typename Data, typename List> List *commentsIn(Data &w, const QString &objectId) {
    if (w.posts.contains(objectId))
        return &w.post(objectId)->comments;
    if (w.photos.contains(objectId))
        return &w.photos.find(objectId)->comments;
    if (w.albums.contains(objectId))
        return &w.albums.find(objectId)->comments;
    return nullptr;
}

bool newerPost(const QPair<qint64, QString> &a, const QPair<qint64, QString> &b) {
    return a.first != b.first ? a.first > b.first : a.second > b.second;
}

std::atomic<quint64> seedings{0};

} // namespace

QList<Comment> *WorldData::commentsOf(const QString &objectId) {
    return commentsIn<WorldData, QList<Comment>>(*this, objectId);
}

const QList<Comment> *WorldData::commentsOf(const QString &objectId) const {
    return commentsIn<const WorldData, const QList<Comment>>(*this, objectId);
}

Comment *WorldData::comment(const QString &id, QList<Comment> **owner) {
    QList<Comment> *list = commentsOf(commentOwner(id));
    for (int i = 0; list && i < list->size(); ++i) {
        if ((*list)[i].id == id) {
            if (owner)
                *owner = list;
            return &(*list)[i];
        }
    }
    return nullptr;
}

const Comment *WorldData::comment(const QString &id) const {
    const QList<Comment> *list = commentsOf(commentOwner(id));
    for (int i = 0; list && i < list->size(); ++i)
        if (list->at(i).id == id)
            return &list->at(i);
    return nullptr;
}

void WorldData::addPost(const Post &p) {
    posts.insert(p.id, p);
    const auto key = [this](const QString &id) { return qMakePair(posts[id].created, id); };
    const auto at = std::lower_bound(
        postsNewestFirst.begin(), postsNewestFirst.end(), p.id,
        [&](const QString &a, const QString &b) { return newerPost(key(a), key(b)); });
    postsNewestFirst.insert(at, p.id);
}

void WorldData::removePost(const QString &id) {
    posts.remove(id);
    postsNewestFirst.removeOne(id);
}

void WorldData::indexPosts() {
    QList<QPair<qint64, QString>> order;
    for (const Post &p : qAsConst(posts))
        order.append({p.created, p.id});
    std::sort(order.begin(), order.end(), newerPost);
    postsNewestFirst.clear();
    for (const auto &entry : order)
        postsNewestFirst.append(entry.second);
}

World::Publisher::Publisher(World *world)
    : world(world)
    , data(std::make_shared<WorldData>(*world->snapshot())) {}

World::Publisher::~Publisher() {
    QMutexLocker lock(&world->m_snapshotMutex);
    world->m_current = std::move(data);
}

static std::shared_ptr<WorldData> seeded(const QDate &today) {
    auto data = std::make_shared<WorldData>();
    seedWorld(*data, today);
    data->seeding = ++seedings;
    data->indexPosts();
    return data;
}

World::World(const QDate &today, const QString &appId)
    : m_current(seeded(today))
    , m_today(today)
    , m_appId(appId) {}

World::Snapshot World::snapshot() const {
    QMutexLocker lock(&m_snapshotMutex);
    return m_current;
}

void World::reset() {
    QMutexLocker writing(&m_writeMutex);
    std::shared_ptr<WorldData> fresh = seeded(m_today);
    if (m_homeFeedSize > 0)
        sizeHomeFeed(*fresh, m_homeFeedSize);
    QMutexLocker lock(&m_snapshotMutex);
    m_current = std::move(fresh);
}

void World::setHomeFeedSize(int stories) {
    update([&](WorldData &w) {
        m_homeFeedSize = stories;
        sizeHomeFeed(w, stories);
    });
}

static QString randomHex(int bytes) {
    QString out;
    for (int i = 0; i < bytes; ++i)
        out += QStringLiteral("%1").arg(QRandomGenerator::system()->bounded(256), 2, 16,
                                        QLatin1Char('0'));
    return out;
}

void World::tokensChanged(QMutexLocker &lock) {
    const Tokens tokens = m_tokens;
    const quint64 version = ++m_tokenVersion;
    const auto sink = m_tokenSink;
    lock.unlock();
    if (sink)
        sink(tokens, version);
}

void World::setTokenSink(std::function<void(const Tokens &, quint64)> sink) {
    QMutexLocker lock(&m_tokenMutex);
    m_tokenSink = std::move(sink);
}

QString World::issueToken(const QString &userId, qint64 lifetimeSeconds) {
    QMutexLocker lock(&m_tokenMutex);
    // Shaped like the service's tokens: letters and digits, longer than 20.
    const QString token = QStringLiteral("SBX") + randomHex(40);
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    m_tokens.insert(token, {userId, lifetimeSeconds > 0 ? now + lifetimeSeconds : 0});
    tokensChanged(lock);
    return token;
}

QString World::issueCode(const QString &userId) {
    QMutexLocker lock(&m_tokenMutex);
    const QString code = QStringLiteral("C") + randomHex(24);
    m_codes.insert(code, userId);
    return code;
}

QString World::redeemCode(const QString &code) {
    QMutexLocker lock(&m_tokenMutex);
    return m_codes.take(code);
}

int World::expireTokens(const QString &tokenOrUserId) {
    QMutexLocker lock(&m_tokenMutex);
    int expired = 0;
    for (auto it = m_tokens.begin(); it != m_tokens.end();) {
        if (it.key() == tokenOrUserId || it->userId == tokenOrUserId) {
            it = m_tokens.erase(it);
            ++expired;
        } else {
            ++it;
        }
    }
    if (expired)
        tokensChanged(lock);
    return expired;
}

World::Tokens World::tokens() const {
    QMutexLocker lock(&m_tokenMutex);
    return m_tokens;
}

void World::restoreTokens(const Tokens &tokens) {
    QMutexLocker lock(&m_tokenMutex);
    for (auto it = tokens.begin(); it != tokens.end(); ++it)
        m_tokens.insert(it.key(), it.value());
}

QString World::tokenOwner(const QString &token, const WorldData &w) const {
    QMutexLocker lock(&m_tokenMutex);
    const auto it = m_tokens.constFind(token);
    if (it == m_tokens.constEnd())
        return w.pageTokens.value(token);
    if (it->expires != 0 && it->expires < QDateTime::currentSecsSinceEpoch())
        return {};
    return it->userId;
}

QString World::userIdForToken(const QString &token) const {
    const Snapshot w = snapshot();
    const QString owner = tokenOwner(token, *w);
    // Chat belongs to people; a page token cannot log in.
    return w->people.contains(owner) ? owner : QString();
}

bool World::checkPassword(const QString &userId, const QString &password) const {
    const Snapshot w = snapshot();
    const auto it = w->people.constFind(userId);
    return it != w->people.constEnd() && !password.isEmpty() && it->password == password;
}

QList<ChatContact> World::rosterOf(const QString &userId) const {
    const Snapshot w = snapshot();
    QList<ChatContact> roster;
    QStringList ids = w->friends.value(userId).values();
    ids.sort();
    for (const QString &id : ids)
        roster.append({id, w->people.value(id).chatName});
    return roster;
}
