#include "memorychatdirectory.h"

MemoryChatDirectory::MemoryChatDirectory() {
    const ChatContact first{QLatin1String(firstUser), QStringLiteral("Orla Fenwick")};
    const ChatContact second{QLatin1String(secondUser), QStringLiteral("Tamsin Oyelaran")};
    const ChatContact adaContact{QLatin1String(ada), QStringLiteral("Ada Quillfeather")};
    const ChatContact namelessContact{QLatin1String(nameless), QString()};
    const ChatContact beaContact{QLatin1String(bea), QStringLiteral("béa Lundqvist")};

    addUser(QLatin1String(firstUser), {second, adaContact, namelessContact, beaContact});
    addUser(QLatin1String(secondUser), {first, adaContact});
    addUser(QLatin1String(ada), {first, second});
    addUser(QLatin1String(nameless), {first});
    addUser(QLatin1String(bea), {first});
}

void MemoryChatDirectory::addUser(const QString &userId, const QList<ChatContact> &roster) {
    m_tokens.insert(tokenOf(userId), userId);
    m_rosters.insert(userId, roster);
}

QString MemoryChatDirectory::userIdForToken(const QString &token) const {
    return m_tokens.value(token);
}

QString MemoryChatDirectory::applicationId() const {
    return QLatin1String(appId);
}

bool MemoryChatDirectory::checkPassword(const QString &userId, const QString &password) const {
    return m_rosters.contains(userId) && password == passwordOf(userId);
}

QList<ChatContact> MemoryChatDirectory::rosterOf(const QString &userId) const {
    return m_rosters.value(userId);
}

bool MemoryChatDirectory::isPerson(const QString &userId) const {
    return m_rosters.contains(userId);
}
