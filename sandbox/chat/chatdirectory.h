#pragma once

#include <QList>
#include <QString>

// What the sandbox chat server needs to know about the fictional world. Every
// method is called on the chat server's thread, most of them while routing,
// so implementations answer without waiting for other threads' work.
struct ChatContact {
    QString userId; // numeric id, without the leading "-"
    QString name;   // may be empty: one roster contact has no name
};

class ChatDirectory {
public:
    virtual ~ChatDirectory() = default;

    // The user id a Graph access token issued by this sandbox belongs to, or
    // an empty string for an unknown or expired token.
    virtual QString userIdForToken(const QString &token) const = 0;
    // The application id the X-FACEBOOK-PLATFORM login must carry.
    virtual QString applicationId() const = 0;
    // PLAIN login of fictional people (scripted contacts, standard clients).
    virtual bool checkPassword(const QString &userId, const QString &password) const = 0;
    // The contacts on a user's roster.
    virtual QList<ChatContact> rosterOf(const QString &userId) const = 0;
    // Whether a person has this id; messages to anyone else are refused. By
    // default, anyone with a contact.
    virtual bool isPerson(const QString &userId) const { return !rosterOf(userId).isEmpty(); }
};
