#pragma once

#include "chat/chatdirectory.h"

#include <QHash>

class World;

// The world's people as the chat server sees them: ids, chat passwords and
// rosters, copied once from the world. People and friendships only change
// when the world is seeded, and seeding is deterministic, so the copy stays
// true; routing then never waits for the world's lock, which HTTP requests
// hold while they build their answers. Tokens change all the time, so a token
// login still asks the world.
class ChatPeople : public ChatDirectory {
public:
    explicit ChatPeople(const World &world);

    QString userIdForToken(const QString &token) const override;
    QString applicationId() const override;
    bool checkPassword(const QString &userId, const QString &password) const override;
    QList<ChatContact> rosterOf(const QString &userId) const override;
    bool isPerson(const QString &userId) const override;

private:
    const World &m_world;
    QHash<QString, QString> m_passwords;
    QHash<QString, QList<ChatContact>> m_rosters;
};
