#pragma once

#include "chat/chatdirectory.h"

#include <QDate>
#include <QHash>
#include <QJsonArray>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>

// The fictional social network the sandbox serves. Plain data: the request
// handlers read and change it while holding World::mutex().

struct Tag {
    int offset = 0;
    int length = 0;
    QString id;
    QString name;
    QString type; // "user", "page", "group", "event"
};

struct Comment {
    QString id;
    QString fromId;
    QString message;
    qint64 created = 0;
    QSet<QString> likes;
};

struct Post {
    QString id;
    QString fromId;
    QStringList toIds;
    QString targetId; // wall, group or event the post was written on; empty: the author's own
    QString type;     // "status", "photo", "link", "video", "checkin", "question"
    QString message;
    QString story;
    QString link;
    QString name;
    QString caption;
    QString description;
    QString picture;
    QString source;
    QString icon;
    QString objectId;
    QString placeId;
    QString appId;
    QList<Tag> messageTags;
    QList<Tag> storyTags;
    QJsonArray properties;
    qint64 created = 0;
    qint64 updated = 0;
    QList<Comment> comments;
    QStringList likes;
    int strangerLikes = 0; // likes by people outside the world
    QString privacy;
};

struct Person {
    QString id;
    QString name;
    QString firstName;
    QString lastName;
    QString gender;
    QString birthday; // "MM/DD/YYYY", "MM/DD" or empty when not shared
    QString hometown;
    QString location;
    QString bio;
    QString relationship;
    QString significantOtherId;
    QString website;
    QString quotes;
    QString email;
    QString chatName; // the name on chat rosters; empty for one contact
    QString password; // PLAIN chat login and, for the account, the login dialog
    bool hasCover = false;
    int coverOffsetY = 0;
};

struct Page {
    QString id;
    QString name;
    QString category;
    QString description;
    QString about;
    QString website;
    QString phone;
    QString founded;
    QString mission;
    QString products;
    QString placeId; // where the page is located, if anywhere
    bool hasCover = false;
    int coverOffsetY = 0;
    int fans = 0;
    QStringList admins;
};

struct Group {
    QString id;
    QString name;
    QString description;
    QString ownerId;
    QString privacy;
    QStringList members;
};

struct Event {
    QString id;
    QString name;
    QString description;
    QString location;
    QString placeId;
    QString ownerId;
    qint64 start = 0;
    qint64 end = 0;
    QMap<QString, QString> rsvp; // user id → "attending", "unsure", "declined", "not_replied"
};

struct Application {
    QString id;
    QString name;
    QString nameSpace;
};

struct Place {
    QString id;
    QString name;
    QString category;
    QString street; // may be empty
    QString city;
    QString country;
    QString zip;
    double latitude = 0;
    double longitude = 0;
};

struct PhotoTag {
    QString id;
    QString name;
    double x = 0;
    double y = 0;
    qint64 created = 0;
};

struct Photo {
    QString id;
    QString albumId;
    QString fromId;
    QString name;
    int width = 0;
    int height = 0;
    qint64 created = 0;
    QList<PhotoTag> tags;
    QList<Comment> comments;
    QStringList likes;
    QByteArray uploaded; // the client's own picture, when uploaded
    QByteArray uploadedType;
};

struct Album {
    QString id;
    QString ownerId;
    QString name;
    QString type; // "normal", "profile", "mobile", "wall", "cover"
    QString description;
    QString location;
    qint64 created = 0;
    qint64 updated = 0;
    QStringList photoIds;
    QList<Comment> comments;
    QStringList likes;
};

struct Message {
    QString id;
    QString authorId;
    QString body;
    qint64 created = 0;
};

struct Thread {
    QString id;
    QString folder; // "inbox", "other"
    QStringList participants;
    QList<Message> messages;
    bool unread = false;
};

struct Conversation {
    QString id;
    QString pageId;
    QStringList participants; // the page first
    QList<Message> messages;
    bool canReply = true;
    int unread = 0;
};

struct Notification {
    QString id;
    QString fromId;
    QString toId;
    QString title;
    QString link;
    QString appId;
    qint64 created = 0;
    qint64 updated = 0;
    bool unread = true;
    bool unseen = true;
};

struct FriendRequest {
    QString fromId;
    QString toId;
    QString message;
    qint64 created = 0;
    bool unread = true;
};

struct FriendList {
    QString id;
    QString ownerId;
    QString name;
    QString type;
    QStringList members;
};

struct StreamFilter {
    QString key;
    QString name; // empty for friend lists: resolved through the list
    QString type;
    QString iconUrl;
};

struct Checkin {
    QString id;
    QString fromId;
    QString placeId;
    QString message;
    QStringList tagIds;
    QString appId;
    qint64 created = 0;
};

// One thing the client posted, kept for tests and demos to read back.
struct Posting {
    qint64 time = 0;
    QString method;
    QString path;
    QList<QPair<QString, QString>> params;
    QString userId;
    QString result;
};

struct WorldData {
    QString meId;
    QString loginName;
    QStringList friendIds; // the account's friends, in seeding order
    QHash<QString, QSet<QString>> friends;
    QStringList likedPageIds;

    QMap<QString, Person> people;
    QMap<QString, Page> pages;
    QMap<QString, Group> groups;
    QMap<QString, Event> events;
    QMap<QString, Application> applications;
    QMap<QString, Place> places;
    QMap<QString, Album> albums;
    QMap<QString, Photo> photos;
    QMap<QString, Post> posts;
    QMap<QString, Thread> threads;
    QMap<QString, Conversation> conversations;
    QMap<QString, Notification> notifications;
    QList<FriendRequest> friendRequests;
    QMap<QString, FriendList> friendLists;
    QList<StreamFilter> filters;
    QMap<QString, Checkin> checkins;
    QList<Posting> postings;
    QMap<QString, QString> pageTokens; // token → administered page

    qint64 anchor = 0; // seeding time: the local midnight that starts "today"
    quint64 nextSerial = 900000000000000ULL;

    QString newId() { return QString::number(++nextSerial); }
    bool isFriend(const QString &a, const QString &b) const { return friends.value(a).contains(b); }
    QString nameOf(const QString &id) const;
    // "user", "page", "group", "event", "application" or empty.
    QString kindOf(const QString &id) const;
    // The post, comment (of a post, photo or album) or null.
    Post *post(const QString &id) { return posts.contains(id) ? &posts[id] : nullptr; }
    QList<Comment> *commentsOf(const QString &objectId);
    Comment *comment(const QString &id, QList<Comment> **owner = nullptr);
};

struct IssuedToken {
    QString userId;     // a user or, for page tokens, a page
    qint64 expires = 0; // Unix seconds; 0: never
};

// The world and its tokens, behind one mutex. Implements what the chat server
// needs to know about people.
class World : public ChatDirectory {
public:
    World(const QDate &today, const QString &appId);

    QMutex &mutex() const { return m_mutex; }
    // Valid only while mutex() is held.
    WorldData &data() { return m_data; }
    const WorldData &data() const { return m_data; }

    // Seeds the world again; issued tokens stay valid.
    void reset();
    QDate today() const { return m_today; }

    // Token bookkeeping; these lock by themselves.
    QString issueToken(const QString &userId, qint64 lifetimeSeconds);
    QString issueCode(const QString &userId);
    QString redeemCode(const QString &code);
    int expireTokens(const QString &tokenOrUserId);
    QHash<QString, IssuedToken> tokens() const;
    void restoreTokens(const QHash<QString, IssuedToken> &tokens);
    // Caller holds mutex(): the user a live token belongs to, or empty.
    QString tokenOwnerLocked(const QString &token) const;

    // ChatDirectory
    QString userIdForToken(const QString &token) const override;
    QString applicationId() const override { return m_appId; }
    bool checkPassword(const QString &userId, const QString &password) const override;
    QList<ChatContact> rosterOf(const QString &userId) const override;

    static const char accountPassword[];

private:
    mutable QMutex m_mutex;
    QDate m_today;
    QString m_appId;
    WorldData m_data;
    QHash<QString, IssuedToken> m_tokens;
    QHash<QString, QString> m_codes; // login code → user id, used once
};

// Fills a world deterministically for the given day.
void seedWorld(WorldData &world, const QDate &today);
