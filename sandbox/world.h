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

#include <functional>
#include <memory>

// The fictional social network the sandbox serves. Plain data: requests read
// an immutable snapshot of it and change it through World::update().

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
    quint64 revision = 0; // changes with the post, its comments and likes
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
    quint64 seeding = 0;          // tells one seeding of the world from another (cache keys)
    quint64 revisions = 0;        // the last revision given to a post
    qint64 clock = 0;             // when set, the time of the change being made (replays)
    QStringList postsNewestFirst; // every post id, by creation time then id, newest first
    // When set, the account's home feed ends at the story `homeFeedEnd` (its
    // creation time and id) that was its `homeFeedSize`-th when sized: later
    // posts join it without pushing stories out.
    int homeFeedSize = 0;
    QPair<qint64, QString> homeFeedEnd;

    QString newId() { return QString::number(++nextSerial); }
    qint64 now() const;
    bool isFriend(const QString &a, const QString &b) const { return friends.value(a).contains(b); }
    QString nameOf(const QString &id) const;
    // "user", "page", "group", "event", "application" or empty.
    QString kindOf(const QString &id) const;
    // The post, comment (of a post, photo or album) or null. The changing
    // forms mark the post (or the comment's post) as changed.
    Post *post(const QString &id);
    const Post *post(const QString &id) const;
    QList<Comment> *commentsOf(const QString &objectId);
    const QList<Comment> *commentsOf(const QString &objectId) const;
    Comment *comment(const QString &id, QList<Comment> **owner = nullptr);
    const Comment *comment(const QString &id) const;
    // Adding and removing posts keeps postsNewestFirst in order.
    void addPost(const Post &p);
    void removePost(const QString &id);
    void indexPosts();
};

struct IssuedToken {
    QString userId;     // a user or, for page tokens, a page
    qint64 expires = 0; // Unix seconds; 0: never
};

// The world and its tokens. Readers take a snapshot, which stays valid and
// unchanged however long they use it; writers take turns changing a copy,
// which then becomes the world, so readers never wait for writers and writers
// wait only for each other's (short) changes. The chat server learns about
// people from a copy made at start (ChatPeople), not from the world.
class World {
public:
    using Snapshot = std::shared_ptr<const WorldData>;
    using Tokens = QHash<QString, IssuedToken>;

    World(const QDate &today, const QString &appId);

    Snapshot snapshot() const;
    // Runs `change` on a copy of the world, which then replaces it; returns
    // what `change` returns.
    template <typename Change>
    auto update(Change &&change) -> decltype(change(std::declval<WorldData &>())) {
        QMutexLocker writing(&m_writeMutex);
        Publisher next(this);
        return change(*next.data);
    }

    // Seeds the world again; issued tokens stay valid.
    void reset();
    // Makes the account's home feed hold `stories` stories (0: as seeded),
    // adding older made-up ones as needed; kept across resets.
    void setHomeFeedSize(int stories);
    QDate today() const { return m_today; }

    // Token bookkeeping. After every change the sink, if set, gets all live
    // tokens and a version that grows with each change (outside any lock).
    QString issueToken(const QString &userId, qint64 lifetimeSeconds);
    QString issueCode(const QString &userId);
    QString redeemCode(const QString &code);
    int expireTokens(const QString &tokenOrUserId);
    Tokens tokens() const;
    void restoreTokens(const Tokens &tokens);
    void setTokenSink(std::function<void(const Tokens &, quint64 version)> sink);
    // The user or page a live token belongs to, or empty.
    QString tokenOwner(const QString &token, const WorldData &w) const;

    // Who a token, a password or a roster belongs to, for logins and chat.
    QString userIdForToken(const QString &token) const;
    QString applicationId() const { return m_appId; }
    bool checkPassword(const QString &userId, const QString &password) const;
    QList<ChatContact> rosterOf(const QString &userId) const;

    static const char accountPassword[];

private:
    struct Publisher {
        explicit Publisher(World *world);
        ~Publisher();
        World *world;
        std::shared_ptr<WorldData> data;
    };
    void tokensChanged(QMutexLocker &lock);

    QMutex m_writeMutex;
    mutable QMutex m_snapshotMutex;
    Snapshot m_current;
    QDate m_today;
    QString m_appId;
    int m_homeFeedSize = 0;

    mutable QMutex m_tokenMutex;
    Tokens m_tokens;
    QHash<QString, QString> m_codes; // login code → user id, used once
    std::function<void(const Tokens &, quint64)> m_tokenSink;
    quint64 m_tokenVersion = 0;
};

// Fills a world deterministically for the given day.
void seedWorld(WorldData &world, const QDate &today);
constexpr int maxHomeFeedSize = 20000;
// Sets the account's home feed size (0: as seeded): removes the stories an
// earlier call made up and makes up older ones until the feed is that long.
void sizeHomeFeed(WorldData &world, int stories);
