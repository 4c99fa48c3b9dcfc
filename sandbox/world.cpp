#include "world.h"

#include <QDateTime>
#include <QMutexLocker>
#include <QRandomGenerator>

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

QList<Comment> *WorldData::commentsOf(const QString &objectId) {
    if (posts.contains(objectId))
        return &posts[objectId].comments;
    if (photos.contains(objectId))
        return &photos[objectId].comments;
    if (albums.contains(objectId))
        return &albums[objectId].comments;
    return nullptr;
}

Comment *WorldData::comment(const QString &id, QList<Comment> **owner) {
    // Comment ids are "<object id>_<serial>", so the owner is found first.
    const int cut = id.lastIndexOf(QLatin1Char('_'));
    if (cut <= 0)
        return nullptr;
    QList<Comment> *list = commentsOf(id.left(cut));
    if (!list)
        return nullptr;
    for (Comment &c : *list) {
        if (c.id == id) {
            if (owner)
                *owner = list;
            return &c;
        }
    }
    return nullptr;
}

World::World(const QDate &today, const QString &appId)
    : m_today(today)
    , m_appId(appId) {
    seedWorld(m_data, m_today);
}

void World::reset() {
    QMutexLocker lock(&m_mutex);
    m_data = WorldData();
    seedWorld(m_data, m_today);
}

static QString randomHex(int bytes) {
    QString out;
    for (int i = 0; i < bytes; ++i)
        out += QStringLiteral("%1").arg(QRandomGenerator::system()->bounded(256), 2, 16,
                                        QLatin1Char('0'));
    return out;
}

QString World::issueToken(const QString &userId, qint64 lifetimeSeconds) {
    QMutexLocker lock(&m_mutex);
    // Shaped like the service's tokens: letters and digits, longer than 20.
    const QString token = QStringLiteral("SBX") + randomHex(40);
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    m_tokens.insert(token, {userId, lifetimeSeconds > 0 ? now + lifetimeSeconds : 0});
    return token;
}

QString World::issueCode(const QString &userId) {
    QMutexLocker lock(&m_mutex);
    const QString code = QStringLiteral("C") + randomHex(24);
    m_codes.insert(code, userId);
    return code;
}

QString World::redeemCode(const QString &code) {
    QMutexLocker lock(&m_mutex);
    return m_codes.take(code);
}

int World::expireTokens(const QString &tokenOrUserId) {
    QMutexLocker lock(&m_mutex);
    int expired = 0;
    for (auto it = m_tokens.begin(); it != m_tokens.end();) {
        if (it.key() == tokenOrUserId || it->userId == tokenOrUserId) {
            it = m_tokens.erase(it);
            ++expired;
        } else {
            ++it;
        }
    }
    return expired;
}

QHash<QString, IssuedToken> World::tokens() const {
    QMutexLocker lock(&m_mutex);
    return m_tokens;
}

void World::restoreTokens(const QHash<QString, IssuedToken> &tokens) {
    QMutexLocker lock(&m_mutex);
    for (auto it = tokens.begin(); it != tokens.end(); ++it)
        m_tokens.insert(it.key(), it.value());
}

QString World::tokenOwnerLocked(const QString &token) const {
    const auto it = m_tokens.constFind(token);
    if (it == m_tokens.constEnd())
        return m_data.pageTokens.value(token);
    if (it->expires != 0 && it->expires < QDateTime::currentSecsSinceEpoch())
        return {};
    return it->userId;
}

QString World::userIdForToken(const QString &token) const {
    QMutexLocker lock(&m_mutex);
    const QString owner = tokenOwnerLocked(token);
    // Chat belongs to people; a page token cannot log in.
    return m_data.people.contains(owner) ? owner : QString();
}

bool World::checkPassword(const QString &userId, const QString &password) const {
    QMutexLocker lock(&m_mutex);
    const auto it = m_data.people.constFind(userId);
    return it != m_data.people.constEnd() && !password.isEmpty() && it->password == password;
}

QList<ChatContact> World::rosterOf(const QString &userId) const {
    QMutexLocker lock(&m_mutex);
    QList<ChatContact> roster;
    QStringList ids = m_data.friends.value(userId).values();
    ids.sort();
    for (const QString &id : ids)
        roster.append({id, m_data.people.value(id).chatName});
    return roster;
}
