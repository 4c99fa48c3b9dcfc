#pragma once

#include "chatdirectory.h"

#include <QHash>

// A small fictional world for the chat tests.
class MemoryChatDirectory : public ChatDirectory {
public:
    static constexpr char appId[] = "100000000000001";
    static constexpr char domain[] = "chat.sandbox.test";

    // The people of the default world.
    static constexpr char firstUser[] = "100001";  // logs in with a token
    static constexpr char secondUser[] = "100002"; // logs in with a token
    static constexpr char ada[] = "200001";        // a friend who logs in with PLAIN
    static constexpr char nameless[] = "200002";   // a roster contact without a name
    static constexpr char bea[] = "200003";        // a friend who stays virtual

    MemoryChatDirectory();

    static QString tokenOf(const QString &userId) { return QStringLiteral("token-") + userId; }
    static QString passwordOf(const QString &userId) { return QStringLiteral("pw-") + userId; }

    QString userIdForToken(const QString &token) const override;
    QString applicationId() const override;
    bool checkPassword(const QString &userId, const QString &password) const override;
    QList<ChatContact> rosterOf(const QString &userId) const override;
    bool isPerson(const QString &userId) const override;

private:
    void addUser(const QString &userId, const QList<ChatContact> &roster);

    QHash<QString, QString> m_tokens;
    QHash<QString, QList<ChatContact>> m_rosters;
};
