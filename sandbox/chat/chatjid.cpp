#include "chatjid.h"

namespace ChatJid {

namespace {
// Numeric ids of the social network fit in 64 bits; anything longer is not one.
constexpr int maxUserIdLength = 20;
constexpr int maxResourceBytes = 1023;
} // namespace

bool isUserId(const QString &userId) {
    if (userId.isEmpty() || userId.size() > maxUserIdLength)
        return false;
    for (const QChar c : userId) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString bare(const QString &userId, const QString &domain) {
    return QLatin1Char('-') + userId + QLatin1Char('@') + domain;
}

QString full(const QString &userId, const QString &domain, const QString &resource) {
    return bare(userId, domain) + QLatin1Char('/') + resource;
}

QString userIdOf(const QString &jid, const QString &domain) {
    const int slash = jid.indexOf(QLatin1Char('/'));
    const QString bareJid = slash < 0 ? jid : jid.left(slash);
    const int at = bareJid.indexOf(QLatin1Char('@'));
    if (at < 0)
        return {};
    if (bareJid.mid(at + 1).compare(domain, Qt::CaseInsensitive) != 0)
        return {};
    const QString local = bareJid.left(at);
    if (!local.startsWith(QLatin1Char('-')))
        return {};
    const QString userId = local.mid(1);
    return isUserId(userId) ? userId : QString();
}

bool isAcceptableResource(const QString &resource) {
    if (resource.isEmpty() || resource.toUtf8().size() > maxResourceBytes)
        return false;
    for (const QChar c : resource) {
        if (c.category() == QChar::Other_Control || c == QLatin1Char('/'))
            return false;
    }
    return true;
}

} // namespace ChatJid
