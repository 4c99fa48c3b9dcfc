#include "chatpeople.h"

#include "world.h"

ChatPeople::ChatPeople(const World &world)
    : m_world(world) {
    for (const Person &person : world.snapshot()->people)
        m_passwords.insert(person.id, person.password);
    for (auto it = m_passwords.cbegin(); it != m_passwords.cend(); ++it)
        m_rosters.insert(it.key(), world.rosterOf(it.key()));
}

QString ChatPeople::userIdForToken(const QString &token) const {
    return m_world.userIdForToken(token);
}

QString ChatPeople::applicationId() const {
    return m_world.applicationId();
}

bool ChatPeople::checkPassword(const QString &userId, const QString &password) const {
    const auto it = m_passwords.constFind(userId);
    return it != m_passwords.cend() && !password.isEmpty() && *it == password;
}

QList<ChatContact> ChatPeople::rosterOf(const QString &userId) const {
    return m_rosters.value(userId);
}

bool ChatPeople::isPerson(const QString &userId) const {
    return m_passwords.contains(userId);
}
