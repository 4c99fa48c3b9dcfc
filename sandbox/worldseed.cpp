// Seeds the fictional world. Everything here is invented; a fixed random seed
// keeps the world the same on every start, relative to the given day.
#include "postlists.h"
#include "world.h"

#include <QDateTime>
#include <QJsonObject>
#include <QTimeZone>

#include <random>

namespace {

const char *const firstNames[] = {
    "Aino",   "Bram",   "Calla",  "Dorian", "Esme",  "Fennick", "Galen", "Hesper", "Ilse",
    "Joren",  "Kaia",   "Lorcan", "Maren",  "Niall", "Orla",    "Pim",   "Quilla", "Rasmus",
    "Saskia", "Teodor", "Una",    "Vesna",  "Wren",  "Xaver",   "Yara",  "Zeno"};
const char *const lastNames[] = {"Ashgrove",   "Brindlemoor", "Coldwater",  "Dunmere",
                                 "Elderwick",  "Fallowby",    "Greyhallow", "Hollinshead",
                                 "Ivesworth",  "Juniperly",   "Kestrelton", "Larkspur",
                                 "Marrowdale", "Nettlefield", "Oakhurst",   "Pennywhistle",
                                 "Quarrender", "Rookwood",    "Saltmarsh",  "Thistlewood"};
// Friends whose names test sorting and letter indexes.
const char *const specialFriends[] = {"Jonas Brightwater", "Jonas Brightwater", "ada quillfeather",
                                      "bastian oakenfold", "Élodie Varkonyi",   "Søren Ålvik",
                                      "Zoë Brândușa",      "Ñuria Castellví"};
const char *const statusTexts[] = {
    "Finally finished the bookshelf. Only three screws left over!",
    "Who else is going to the lantern walk on Friday?",
    "Rain again in Vellmark. Perfect weather for soup.",
    "Just ran my first 10 km without stopping <3",
    "New recipe: rye pancakes with lingonberries. Recommended!",
    "Does anyone know a good bicycle repair shop near the harbour?",
    "Back from the mountains, legs are jelly.",
    "Reading \"The Glass Orchard\" again, still the best book ever written.",
    "Moved to the new flat. Boxes everywhere, cat is thrilled.",
    "Two more exams and then summer!",
    "Learning to knit socks. The first one looks like a hat.",
    "Check out www.vellmark-sandbox.test/market for the night market times",
    "Coffee & cinnamon buns at Fernpark Bakery, come join <b>now</b>",
    "Line one of a longer post.\nLine two, after a line break.\nAnd a third one.",
};
const char *const commentTexts[] = {
    "Sounds great!",
    "Count me in.",
    "Haha, classic :)",
    "Where was this?",
    "I want the recipe!",
    "Congratulations!!",
    "Miss you guys.",
    "Same here.",
    "See http://vellmark-sandbox.test/info for details",
    "Next time call me too!",
};

// Hostile text for every text field of a story: markup, both quotes, an
// entity, the client's own markup markers and tag links, unsafe addresses.
const char hostileText[] = "<b>x</b> <img src=x onerror=alert(1)> \"double\" 'single' &amp; "
                           "_START_b_END_bold_START_/b_END_ TAG|x|1|page javascript:alert(2) "
                           "file:///etc/passwd";
// A name with the separators of the client's stored favourites ("_*_", "_:_").
const char hostileName[] = "<b>Quay</b> \"Q\" 'Page' _*_ &amp; _:_ <img src=x onerror=alert(7)>";

class Rng {
public:
    int below(int n) { return n <= 0 ? 0 : int(m_engine() % quint32(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::mt19937 m_engine{20110831u};
};

qint64 localMidnight(const QDate &day) {
    return QDateTime(day, QTime(0, 0), Qt::LocalTime).toSecsSinceEpoch();
}

QString idFrom(quint64 base, int n) {
    return QString::number(base + quint64(n));
}

class Seeder {
public:
    Seeder(WorldData &w, const QDate &today)
        : w(w)
        , today(today) {
        w.anchor = localMidnight(today);
    }

    void run() {
        seedPeople();
        seedApplications();
        seedPlaces();
        seedPages();
        seedGroups();
        seedEvents();
        seedAlbumsAndPhotos();
        seedStories();
        seedOddStories();
        seedThreads();
        seedConversations();
        seedNotifications();
        seedFriendRequestsAndLists();
        seedCheckins();
    }

private:
    WorldData &w;
    QDate today;
    Rng rng;
    QStringList pageIds;
    QStringList groupIds;
    QStringList eventIds;
    QStringList placeIds;
    QStringList strangerIds;
    int postSerial = 0;

    QString birthdayFor(const QDate &date, int year) {
        const QString md = QStringLiteral("%1/%2")
                               .arg(date.month(), 2, 10, QLatin1Char('0'))
                               .arg(date.day(), 2, 10, QLatin1Char('0'));
        return year > 0 ? md + QLatin1Char('/') + QString::number(year) : md;
    }

    Person makePerson(const QString &id, const QString &name) {
        Person p;
        p.id = id;
        p.name = name;
        const int space = name.indexOf(QLatin1Char(' '));
        p.firstName = space > 0 ? name.left(space) : name;
        p.lastName = space > 0 ? name.mid(space + 1) : QString();
        p.gender = rng.chance(50) ? QStringLiteral("female") : QStringLiteral("male");
        p.chatName = name;
        p.password = QStringLiteral("sandbox");
        p.email = p.firstName.toLower() + QStringLiteral("@people.sandbox.test");
        p.hometown = rng.chance(50) ? QStringLiteral("Vellmark") : QStringLiteral("Kestrel Valley");
        p.location = QStringLiteral("Vellmark");
        return p;
    }

    void befriend(const QString &a, const QString &b) {
        w.friends[a].insert(b);
        w.friends[b].insert(a);
    }

    void seedPeople() {
        w.meId = QStringLiteral("100000000000010");
        w.loginName = QStringLiteral("mira.solvang@sandbox.test");
        Person me = makePerson(w.meId, QStringLiteral("Mira Solvang"));
        me.gender = QStringLiteral("female");
        me.birthday = QStringLiteral("06/14/1986");
        me.bio = QStringLiteral("Maps, mountains and too much coffee.");
        me.relationship = QStringLiteral("Single");
        me.website = QStringLiteral("http://mira.sandbox.test");
        me.quotes = QStringLiteral("Not all those who wander are lost in the woods.");
        me.email = w.loginName;
        me.password = QString::fromLatin1(World::accountPassword);
        me.hasCover = true;
        me.coverOffsetY = 42;
        w.people.insert(me.id, me);

        QSet<QString> used;
        for (int i = 0; i < 64; ++i) {
            QString name;
            if (i < int(std::size(specialFriends))) {
                name = QString::fromUtf8(specialFriends[i]);
            } else {
                do {
                    name = QString::fromLatin1(firstNames[rng.below(int(std::size(firstNames)))]) +
                           QLatin1Char(' ') +
                           QString::fromLatin1(lastNames[rng.below(int(std::size(lastNames)))]);
                } while (used.contains(name));
            }
            used.insert(name);
            Person p = makePerson(idFrom(100000000001100ULL, i), name);
            p.birthday = birthdayOfFriend(i);
            if (i == 9)
                p.chatName.clear(); // one roster contact has no name
            p.hasCover = i % 3 == 0;
            p.coverOffsetY = (i * 7) % 80;
            w.people.insert(p.id, p);
            w.friendIds.append(p.id);
            befriend(w.meId, p.id);
        }
        // Friends know each other too, so that walls and threads mix.
        for (int i = 0; i < w.friendIds.size(); ++i)
            for (int k = 1; k <= 3; ++k)
                befriend(w.friendIds[i], w.friendIds[(i + k * 5) % w.friendIds.size()]);
        // People who are not friends: requesters, strangers in threads and search.
        for (int i = 0; i < 12; ++i) {
            const QString name =
                QString::fromLatin1(firstNames[(i * 5 + 3) % 26]) + QLatin1Char(' ') +
                QString::fromLatin1(lastNames[(i * 3 + 1) % 20]) + QStringLiteral("-Vell");
            Person p = makePerson(idFrom(100000000002000ULL, i), name);
            w.people.insert(p.id, p);
            strangerIds.append(p.id);
        }
    }

    QString birthdayOfFriend(int i) {
        switch (i) {
        case 10:
            return birthdayFor(today, 1988); // today
        case 11:
            return birthdayFor(today.addDays(91), 1990); // just outside the 90 days
        case 12:
            return birthdayFor(today.addDays(5), 0); // no year
        case 13:
            return birthdayFor(today.addDays(20), 1979);
        case 14:
            return birthdayFor(today.addDays(45), 2001);
        case 15:
            return birthdayFor(today.addDays(89), 1995);
        case 16:
            return birthdayFor(today.addDays(-10), 1992);
        case 17:
            return QStringLiteral("03/07/1985");
        default:
            break;
        }
        if (i % 3 == 0)
            return {}; // not shared
        const QDate d(2000, 1 + rng.below(12), 1 + rng.below(28));
        return birthdayFor(d, i % 4 == 0 ? 0 : 1970 + rng.below(30));
    }

    void seedApplications() {
        const struct {
            const char *id, *name, *ns;
        } apps[] = {{"600000000000001", "Questions", ""},
                    {"600000000000002", "Sprout Garden", "sproutgarden"},
                    {"600000000000003", "Friends", ""},
                    {"600000000000004", "Events", ""},
                    {"600000000000005", "Photos", ""},
                    {"600000000000006", "Links", ""},
                    {"600000000000008", "Spotify", "get-spotify"},
                    {"100000000000001", "Kelvo", "kelvo"}};
        for (const auto &a : apps)
            w.applications.insert(
                QString::fromLatin1(a.id),
                {QString::fromLatin1(a.id), QString::fromUtf8(a.name), QString::fromLatin1(a.ns)});
    }

    void seedPlaces() {
        const struct {
            const char *name, *category, *street;
            double lat, lon;
        } places[] = {
            {"Fernpark Bakery", "Bakery", "Fernpark 3", 60.1699, 24.9384},
            {"Vellmark Harbour", "Landmark", "", 60.1675, 24.9520},
            {"Lumen Street Books", "Book store", "Lumen Street 12", 60.1710, 24.9410},
            {"Kestrel Valley Observatory", "Museum", "Observatory Hill 1", 60.1620, 24.9300},
            {"Åsgard Climbing Hall", "Sports venue", "Quarry Road 8", 60.1801, 24.9502},
            {"Old Boathouse", "Bar", "", 60.1655, 24.9600},
            {"Marrowdale Market Square", "Market", "Market Square", 60.1688, 24.9450},
            {"Fernpark", "Park", "", 60.1702, 24.9366},
            {"Saltmarsh Surf School", "School", "Beach Path 2", 60.1500, 24.9000},
            {"Rookwood Concert Hall", "Concert venue", "Hall Street 5", 60.1730, 24.9330}};
        int n = 0;
        for (const auto &p : places) {
            Place place;
            place.id = idFrom(700000000000001ULL, n++);
            place.name = QString::fromUtf8(p.name);
            place.category = QString::fromLatin1(p.category);
            place.street = QString::fromUtf8(p.street);
            place.city = QStringLiteral("Vellmark");
            place.country = QStringLiteral("Sandboxia");
            place.zip = QStringLiteral("00%1").arg(100 + n * 10);
            place.latitude = p.lat;
            place.longitude = p.lon;
            w.places.insert(place.id, place);
            placeIds.append(place.id);
        }
    }

    void seedPages() {
        const struct {
            const char *id, *name, *category;
            bool cover;
            int offset;
            bool liked;
            bool mine;
        } pages[] = {
            {"300000000000001", "Kelvo", "Application", true, 34, true, true},
            {"300000000000002", "Fernpark Bakery", "Local business", false, 0, true, true},
            {"300000000000003", "The Marrowdale Ramblers", "Musician/band", true, 0, true, false},
            {"300000000000004", "Lumen Street Books", "Book store", true, 60, true, false},
            {"300000000000005", "Kestrel Valley Observatory", "Education", false, 0, true, false},
            {"300000000000006", "quiet harbour radio", "Radio station", true, 12, true, false},
            {"300000000000007", "Åsgard Climbing Hall", "Sports venue", false, 0, true, false},
            {"300000000000008", "Greyhallow Gazette", "News/media", true, 20, true, false},
            {"300000000000009", "Pennywhistle Teas", "Food/beverages", false, 0, false, false},
            {"300000000000010", "Saltmarsh Surf School", "School", true, 55, false, false}};
        int n = 0;
        for (const auto &p : pages) {
            Page page;
            page.id = QString::fromLatin1(p.id);
            page.name = QString::fromUtf8(p.name);
            page.category = QString::fromLatin1(p.category);
            page.hasCover = p.cover;
            page.coverOffsetY = p.offset;
            page.fans = 120 + 37 * n;
            page.description = page.name + QStringLiteral(" in the sandbox world of Vellmark.");
            page.about = QStringLiteral("About ") + page.name;
            page.website = QStringLiteral("http://") +
                           page.name.toLower().remove(QLatin1Char(' ')) +
                           QStringLiteral(".sandbox.test");
            page.phone = QStringLiteral("+000 555 01%1").arg(n, 2, 10, QLatin1Char('0'));
            page.founded = QString::number(1990 + n);
            page.mission = QStringLiteral("Making Vellmark a little better.");
            page.products = QStringLiteral("Things worth trying.");
            if (n == 1 || n == 3 || n == 6)
                page.placeId = placeIds.value(n == 1 ? 0 : n == 3 ? 2 : 4);
            if (p.mine) {
                page.admins.append(w.meId);
                // Pages act with their own tokens (page mode).
                w.pageTokens.insert(QStringLiteral("SBXPAGE%1e9f4c2a7d1b3").arg(page.id), page.id);
            }
            w.pages.insert(page.id, page);
            pageIds.append(page.id);
            if (p.liked)
                w.likedPageIds.append(page.id);
            ++n;
        }
    }

    void seedGroups() {
        const char *const names[] = {"alpine hikers",        "Board Game Night",
                                     "cyclists of Fernpark", "Darkroom Photography",
                                     "Kelvo Testers",        "Ëlm Street Neighbours",
                                     "quilting circle",      "Rookwood Choir"};
        int n = 0;
        for (const char *name : names) {
            Group g;
            g.id = idFrom(400000000000001ULL, n);
            g.name = QString::fromUtf8(name);
            g.description = QStringLiteral("The group for ") + g.name + QLatin1Char('.');
            g.ownerId = w.friendIds[(n * 7) % w.friendIds.size()];
            g.privacy = n % 2 ? QStringLiteral("CLOSED") : QStringLiteral("OPEN");
            g.members.append(w.meId);
            for (int i = 0; i < 6 + n; ++i) {
                const QString f = w.friendIds[(n * 11 + i * 3) % w.friendIds.size()];
                if (!g.members.contains(f))
                    g.members.append(f);
            }
            w.groups.insert(g.id, g);
            groupIds.append(g.id);
            ++n;
        }
    }

    qint64 eveningIn(int days) { return localMidnight(today.addDays(days)) + 19 * 3600; }

    void seedEvents() {
        const struct {
            const char *name, *rsvp;
            int days;
        } events[] = {{"Harbour Lantern Walk", "attending", 2},
                      {"Board game marathon", "unsure", 6},
                      {"Rooftop cinema: silent films", "not_replied", 9},
                      {"Spring cleanup at Fernpark", "not_replied", 12},
                      {"Kelvo release party", "attending", 20},
                      {"Pottery for beginners", "declined", 4},
                      {"Choir concert in the old church", "attending", -30},
                      {"Night market tour", "not_replied", 30}};
        int n = 0;
        for (const auto &e : events) {
            Event ev;
            ev.id = idFrom(500000000000001ULL, n);
            ev.name = QString::fromUtf8(e.name);
            ev.description = QStringLiteral("Join us for ") + ev.name +
                             QStringLiteral(". Bring friends, snacks and good mood.");
            ev.placeId = placeIds[n % placeIds.size()];
            ev.location = w.places[ev.placeId].name;
            ev.ownerId = n == 4 ? w.meId : w.friendIds[(n * 5 + 1) % w.friendIds.size()];
            ev.start = eveningIn(e.days);
            ev.end = ev.start + 3 * 3600;
            ev.rsvp.insert(w.meId, QString::fromLatin1(e.rsvp));
            const char *const answers[] = {"attending", "unsure", "declined", "not_replied"};
            for (int i = 0; i < 10; ++i)
                ev.rsvp.insert(w.friendIds[(n * 9 + i * 4) % w.friendIds.size()],
                               QString::fromLatin1(answers[(i + n) % 4]));
            w.events.insert(ev.id, ev);
            eventIds.append(ev.id);
            ++n;
        }
    }

    QList<PhotoTag> tagsFor(int n, qint64 created) {
        QList<PhotoTag> tags;
        const int count = n % 4; // 0 to 3 tags
        for (int i = 0; i < count; ++i) {
            const QString id =
                i == 0 && n % 8 == 1 ? w.meId : w.friendIds[(n * 3 + i * 13) % w.friendIds.size()];
            tags.append({id, w.people[id].name, 10.0 + (n * 17 + i * 29) % 80,
                         10.0 + (n * 23 + i * 31) % 80, created + 60});
        }
        return tags;
    }

    void addAlbum(const QString &owner, const QString &name, const QString &type, int photos,
                  int daysAgo) {
        static const int sizes[][2] = {{720, 540}, {540, 720}, {960, 640}, {600, 600}, {800, 450}};
        Album a;
        a.id = w.newId();
        a.ownerId = owner;
        a.name = name;
        a.type = type;
        a.description = photos ? QStringLiteral("Pictures of ") + name : QString();
        a.location = QStringLiteral("Vellmark");
        a.created = w.anchor - qint64(daysAgo) * 86400 - 3600;
        a.updated = a.created + 1800;
        for (int i = 0; i < photos; ++i) {
            Photo p;
            p.id = w.newId();
            p.albumId = a.id;
            p.fromId = owner;
            const int n = int(w.photos.size());
            p.name = n % 3 == 0 ? QString() : name + QStringLiteral(", picture %1").arg(i + 1);
            p.width = sizes[n % 5][0];
            p.height = sizes[n % 5][1];
            p.created = a.created + i * 60;
            p.tags = tagsFor(n, p.created);
            for (int c = 0; c < n % 3; ++c)
                p.comments.append({p.id + QLatin1Char('_') + QString::number(c + 1),
                                   w.friendIds[(n + c * 7) % w.friendIds.size()],
                                   QString::fromUtf8(commentTexts[(n + c) % 10]),
                                   p.created + 600 * (c + 1),
                                   {}});
            for (int l = 0; l < n % 5; ++l)
                p.likes.append(w.friendIds[(n * 2 + l * 9) % w.friendIds.size()]);
            w.photos.insert(p.id, p);
            a.photoIds.append(p.id);
        }
        w.albums.insert(a.id, a);
    }

    void seedAlbumsAndPhotos() {
        const QString me = w.meId;
        addAlbum(me, QStringLiteral("Profile Pictures"), QStringLiteral("profile"), 4, 200);
        addAlbum(me, QStringLiteral("Wall Photos"), QStringLiteral("normal"), 6, 100);
        addAlbum(me, QStringLiteral("Mobile Uploads"), QStringLiteral("mobile"), 9, 3);
        addAlbum(me, QStringLiteral("Cover Photos"), QStringLiteral("cover"), 2, 150);
        addAlbum(me, QStringLiteral("Summer at Lake Vell"), QStringLiteral("normal"), 12, 60);
        addAlbum(me, QStringLiteral("Harbour Festival"), QStringLiteral("normal"), 80, 30);
        addAlbum(me, QStringLiteral("Kitchen Experiments"), QStringLiteral("normal"), 7, 12);
        addAlbum(me, QStringLiteral("Winter Hikes"), QStringLiteral("normal"), 10, 90);
        addAlbum(me, QStringLiteral("Screenshots & Sketches"), QStringLiteral("normal"), 3, 5);
        for (const QString &f : qAsConst(w.friendIds))
            addAlbum(f, QStringLiteral("Mobile Uploads"), QStringLiteral("mobile"), 2, 2);
        for (int i = 0; i < 12; ++i) {
            const QString f = w.friendIds[i];
            addAlbum(f, QStringLiteral("Wall Photos"), QStringLiteral("normal"), 3, 40 + i);
            addAlbum(f, QStringLiteral("Travels %1").arg(2009 + i % 3), QStringLiteral("normal"), 5,
                     20 + i);
        }
        addAlbum(pageIds[0], QStringLiteral("Screenshots"), QStringLiteral("normal"), 6, 10);
        addAlbum(pageIds[2], QStringLiteral("Tour 2011"), QStringLiteral("normal"), 5, 25);
    }

    // Photos of a person's albums, for photo stories.
    QStringList photosOf(const QString &owner) const {
        QStringList ids;
        for (const Album &a : w.albums)
            if (a.ownerId == owner)
                ids += a.photoIds;
        return ids;
    }

    Post &newPost(const QString &from, const QString &target, qint64 created) {
        Post p;
        p.id = (target.isEmpty() ? from : target) + QLatin1Char('_') +
               QString::number(100000 + ++postSerial);
        p.fromId = from;
        p.targetId = target;
        p.created = created;
        p.updated = created;
        p.type = QStringLiteral("status");
        return w.posts[p.id] = p;
    }

    void addComments(Post &p, int count) {
        for (int c = 0; c < count; ++c) {
            Comment cm;
            cm.id = p.id + QLatin1Char('_') + QString::number(c + 1);
            cm.fromId = c % 5 == 4 ? w.meId : w.friendIds[rng.below(w.friendIds.size())];
            cm.message = QString::fromUtf8(commentTexts[rng.below(10)]);
            if (count > 20)
                cm.message += QStringLiteral(" (#%1)").arg(c + 1);
            cm.created = p.created + 300 * (c + 1);
            for (int l = 0; l < c % 3; ++l)
                cm.likes.insert(w.friendIds[rng.below(w.friendIds.size())]);
            p.comments.append(cm);
        }
        if (count > 0)
            p.updated = p.comments.last().created;
    }

    void addLikes(Post &p) {
        const int count = rng.below(9);
        for (int l = 0; l < count; ++l) {
            const QString id = w.friendIds[rng.below(w.friendIds.size())];
            if (!p.likes.contains(id))
                p.likes.append(id);
        }
        if (rng.chance(15))
            p.strangerLikes = 3 + rng.below(40);
    }

    // A tag on the first occurrence of the name inside the text.
    void tagIn(QList<Tag> &tags, const QString &text, const QString &id, const QString &type,
               const QString &name) {
        const int at = text.indexOf(name);
        if (at >= 0)
            tags.append({at, int(name.size()), id, name, type});
    }

    QString personOrPage(int i) {
        if (i % 9 == 4)
            return w.likedPageIds[(i / 9) % w.likedPageIds.size()];
        if (i % 13 == 6)
            return w.meId;
        return w.friendIds[rng.below(w.friendIds.size())];
    }

    void seedStories() {
        // The news feed: at least 300 stories over the last week.
        for (int i = 0; i < 330; ++i) {
            const qint64 created = w.anchor - 600 - qint64(i) * 1800 - rng.below(900);
            const QString from = personOrPage(i);
            makeStory(i, from, created);
        }
        // Walls of groups and events, and a few more on pages.
        for (int g = 0; g < groupIds.size(); ++g) {
            const Group &group = w.groups[groupIds[g]];
            for (int i = 0; i < 4 + g; ++i) {
                Post &p = newPost(group.members[(i + 1) % group.members.size()], group.id,
                                  w.anchor - 3000 - qint64(g * 40 + i) * 5400);
                p.toIds = QStringList{group.id};
                p.message = QString::fromUtf8(statusTexts[(g + i) % 14]);
                addComments(p, rng.below(4));
                addLikes(p);
            }
        }
        for (int e = 0; e < eventIds.size(); ++e) {
            const Event &ev = w.events[eventIds[e]];
            for (int i = 0; i < 3; ++i) {
                Post &p = newPost(i == 0 ? w.meId : w.friendIds[(e * 3 + i) % w.friendIds.size()],
                                  ev.id, w.anchor - 4000 - qint64(e * 10 + i) * 7200);
                p.toIds = QStringList{ev.id};
                p.message = QStringLiteral("Looking forward to %1!").arg(ev.name);
                addComments(p, rng.below(3));
                addLikes(p);
            }
        }
    }

    // Stories whose shapes the client must survive, between the first stories
    // of the feed. No random draws: the rest of the seed stays as it was.
    void seedOddStories() {
        const auto slot = [&](int n) { return w.anchor - 600 - qint64(n) * 1800 - 1000; };
        const QStringList &f = w.friendIds;
        const auto mention = [&](Post &p, const QStringList &tagged) {
            for (const QString &id : tagged)
                tagIn(p.messageTags, p.message, id, QStringLiteral("user"), w.nameOf(id));
        };
        const auto comment = [&](Post &p, const QString &from, const QString &text) {
            p.comments.append({p.id + QLatin1Char('_') + QString::number(p.comments.size() + 1),
                               from,
                               text,
                               p.created + 300 * (p.comments.size() + 1),
                               {}});
        };

        // Markup, quotes, entities, the client's own markers, javascript: and
        // file: addresses in every text field of one story and its comments,
        // by a page whose name holds the separators of stored favourites.
        Page hostile;
        hostile.id = QStringLiteral("300000000000011");
        hostile.name = QString::fromUtf8(hostileName);
        hostile.category = QStringLiteral("Community \"<i>&amp;</i>'");
        hostile.description = hostile.about = QString::fromUtf8(hostileText);
        hostile.fans = 13;
        w.pages.insert(hostile.id, hostile);
        w.likedPageIds.append(hostile.id);
        const QString text = QString::fromUtf8(hostileText);
        Post &h = newPost(hostile.id, {}, slot(1));
        h.type = QStringLiteral("link");
        h.message = QStringLiteral("Tagging ") + hostile.name + QStringLiteral(": ") + text;
        tagIn(h.messageTags, h.message, hostile.id, QStringLiteral("page"), hostile.name);
        h.story = hostile.name + QStringLiteral(" shared a link: ") + text;
        tagIn(h.storyTags, h.story, hostile.id, QStringLiteral("page"), hostile.name);
        h.toIds = QStringList{hostile.id};
        h.link = QStringLiteral("javascript:alert(document.cookie)");
        h.name = hostile.name;
        h.caption = text;
        h.description = text + QStringLiteral(" http://news.sandbox.test/ok?a=1&b=2");
        h.picture = QStringLiteral("{ROOT}/safe_image.php?d=AQBx&w=90&h=90&url=javascript%3A"
                                   "alert(1)&src=file%3A%2F%2F%2Fetc%2Fpasswd");
        h.source = QStringLiteral("javascript:alert(3)");
        h.icon = QStringLiteral("{ROOT}/img/icon-link_16x16.png\" onerror=\"alert(4)");
        h.properties.append(
            QJsonObject{{"name", text}, {"text", hostile.name}, {"href", "javascript:alert(5)"}});
        comment(h, hostile.id, text);
        comment(h, f[3], QStringLiteral("<script>alert(6)</script> ") + text);
        h.updated = h.comments.last().created;
        Post &file = newPost(f[4], {}, slot(2));
        file.type = QStringLiteral("link");
        file.message = text;
        file.link = QStringLiteral("file:///etc/passwd");
        file.name = QStringLiteral("Local file");

        // A message longer than 250 characters with an address across the cut,
        // and a mention at its start.
        Post &wordy = newPost(f[5], {}, slot(3));
        wordy.message = w.nameOf(f[6]) + QStringLiteral(" and I walked the whole harbour front "
                                                        "today.");
        while (wordy.message.size() < 236)
            wordy.message += QStringLiteral(" The boats were out and the light was golden.");
        wordy.message = wordy.message.left(236) +
                        QStringLiteral(" See http://news.sandbox.test/harbour/long-walk-report "
                                       "for the route and the pictures we took on the way.");
        mention(wordy, {f[6]});
        wordy.toIds = QStringList{f[6]};

        // A story of the second application the client skips.
        Post &music = newPost(f[7], {}, slot(4));
        music.type = QStringLiteral("music");
        music.appId = QStringLiteral("600000000000008");
        music.story = w.nameOf(f[7]) + QStringLiteral(" listened to Harbour Lights by The "
                                                      "Marrowdale Ramblers on Spotify.");
        music.link = QStringLiteral("http://open.spotify.sandbox.test/track/harbour-lights");
        music.name = QStringLiteral("Harbour Lights");
        music.caption = QStringLiteral("Spotify");

        // "to" against the mentions: in offset order (the client reads it
        // highest offset first), other people, or missing. Two of them share a
        // second, which a page by time must not split.
        Post &order = newPost(f[8], {}, slot(5));
        order.message = QStringLiteral("Picnic with %1, %2 and %3!")
                            .arg(w.nameOf(f[9]), w.nameOf(f[10]), w.nameOf(f[11]));
        mention(order, {f[9], f[10], f[11]});
        order.toIds = QStringList{f[9], f[10], f[11]};
        Post &members = newPost(f[12], {}, slot(6));
        members.message =
            QStringLiteral("Climbing with %1 and %2.").arg(w.nameOf(f[13]), w.nameOf(f[14]));
        mention(members, {f[13], f[14]});
        members.toIds = QStringList{f[15]};
        Post &none = newPost(f[16], {}, slot(6));
        none.message = QStringLiteral("Coffee with %1.").arg(w.nameOf(f[17]));
        mention(none, {f[17]});
    }

    void makeStory(int i, const QString &from, qint64 created) {
        const QString fromName = w.nameOf(from);
        const QString friendA = w.friendIds[(i * 7 + 3) % w.friendIds.size()];
        const QString friendB = w.friendIds[(i * 11 + 5) % w.friendIds.size()];
        const QString nameA = w.people[friendA].name;
        const QString nameB = w.people[friendB].name;
        const int kind = i % 10;

        QString target;
        if (kind == 8)
            target = i % 20 == 8 ? w.meId : friendA;
        if (target == from)
            target.clear();
        Post &p = newPost(from, target, created);

        if (i % 30 == 9) { // answered questions are filtered out by the client
            p.type = QStringLiteral("question");
            p.appId = QStringLiteral("600000000000001");
            p.story = fromName + QStringLiteral(" asked: Which café has the best buns?");
            p.message = QStringLiteral("Which café has the best buns?");
        } else if (i == 57) { // a picture and nothing else: never shown by the client
            p.type = QStringLiteral("photo");
            p.picture = QStringLiteral("{ROOT}/img/bare57_130x97.jpg");
        } else if (kind <= 2 || kind == 9) {
            p.type = QStringLiteral("status");
            p.message = QString::fromUtf8(statusTexts[(i * 3) % 14]);
            if (i % 4 == 1 && friendA != friendB) {
                // Mentions at two offsets; "to" lists the tagged, last offset first.
                p.message = QStringLiteral("Dinner with ") + nameA + QStringLiteral(" and ") +
                            nameB + QStringLiteral(" tonight!");
                tagIn(p.messageTags, p.message, friendB, QStringLiteral("user"), nameB);
                tagIn(p.messageTags, p.message, friendA, QStringLiteral("user"), nameA);
                p.toIds = QStringList{friendB, friendA};
            } else if (i % 4 == 2) {
                const Page &page = w.pages[w.likedPageIds[i % w.likedPageIds.size()]];
                p.message = page.name + QStringLiteral(" has the best events this month.");
                tagIn(p.messageTags, p.message, page.id, QStringLiteral("page"), page.name);
                p.toIds = QStringList{page.id};
            }
        } else if (kind == 3) {
            p.type = QStringLiteral("photo");
            const QStringList photos =
                photosOf(w.kindOf(from) == QLatin1String("user") ? from : pageIds[0]);
            const QString photo = photos.isEmpty() ? QString() : photos[i % photos.size()];
            p.objectId = photo;
            p.message = i % 2 ? QStringLiteral("New pictures from the weekend") : QString();
            p.story = fromName + QStringLiteral(" added a new photo.");
            if (!photo.isEmpty() && i % 3 != 0)
                p.picture = QStringLiteral("{ROOT}/photos/%1/130.jpg").arg(photo);
            // The album rides in "set": "a.<album>.<n>.<owner>", now and then "at.<album>.<n>".
            const QString album = w.photos.value(photo).albumId;
            p.link = QStringLiteral("{ROOT}/photo.php?fbid=%1").arg(photo);
            if (!album.isEmpty())
                p.link += i % 60 == 33 ? QStringLiteral("&set=at.%1.3").arg(album)
                                       : QStringLiteral("&set=a.%1.3.%2").arg(album, from);
            p.icon = QStringLiteral("{ROOT}/img/icon-photo_16x16.png");
            p.properties.append(QJsonObject{{"name", "By"}, {"text", fromName}});
        } else if (kind == 4) {
            p.type = QStringLiteral("link");
            p.message = i % 3 ? QStringLiteral("Worth reading:") : QString();
            if (i % 20 == 4) {
                const QString ev = eventIds[(i / 20) % eventIds.size()];
                p.link = i % 40 == 4 ? QStringLiteral("{ROOT}/events/%1/").arg(ev)
                                     : QStringLiteral("{ROOT}/event.php?eid=%1").arg(ev);
                p.name = w.events[ev].name;
                p.caption = QStringLiteral("Event");
            } else {
                p.link = QStringLiteral("http://news.sandbox.test/story/%1").arg(i);
                p.name = QStringLiteral("Vellmark gets a new %1")
                             .arg(i % 3 ? QStringLiteral("bridge") : QStringLiteral("library"));
                p.caption = QStringLiteral("news.sandbox.test");
            }
            p.description = QStringLiteral("The city council decided on Tuesday. Read more at "
                                           "http://news.sandbox.test");
            // Shared pictures go through the service's image proxy, the real address encoded.
            p.picture = QStringLiteral("{ROOT}/safe_image.php?d=AQB%1&w=90&h=90&url={ROOT_ENC}"
                                       "%2Fimg%2Flink%1_180x120.jpg&src={ROOT_ENC}%2Fimg%2Flink%1"
                                       "_180x120.jpg")
                            .arg(i);
            p.icon = QStringLiteral("{ROOT}/img/icon-link_16x16.png");
        } else if (kind == 5) {
            p.type = QStringLiteral("video");
            p.name = QStringLiteral("Time-lapse of the harbour, take %1").arg(i);
            p.message = i % 2 ? QStringLiteral("Look at this!") : QString();
            if (i % 4 == 1)
                p.caption = QStringLiteral("video.sandbox.test");
            p.description = QStringLiteral("Three hours of boats in two minutes.");
            p.picture = QStringLiteral("{ROOT}/img/video%1_130x73.jpg").arg(i);
            p.link = QStringLiteral("{ROOT}/video.php?v=%1").arg(i);
            p.source = QStringLiteral("{ROOT}/video.php?v=%1&embed=1").arg(i);
            p.properties.append(QJsonObject{{"name", "Length"}, {"text", "2:31"}});
        } else if (kind == 6) {
            p.type = QStringLiteral("checkin");
            const Place &place = w.places[placeIds[i % placeIds.size()]];
            p.placeId = place.id;
            p.message = i % 3 ? QStringLiteral("Great evening here.") : QString();
            p.story = fromName + QStringLiteral(" was at ") + place.name + QLatin1Char('.');
            if (i % 4 != 2)
                p.toIds = QStringList{friendA};
            if (i % 8 == 6 && friendA != friendB)
                p.toIds.append(friendB);
            p.name = place.name;
            p.caption = place.street.isEmpty() ? place.city : place.street;
        } else if (kind == 7) {
            // Stories without a message; several tags share the offset of "2 other people".
            p.type = QStringLiteral("status");
            const QString third = w.friendIds[(i * 13 + 1) % w.friendIds.size()];
            p.story = fromName + QStringLiteral(" is now friends with ") + nameA +
                      QStringLiteral(" and 2 other people.");
            tagIn(p.storyTags, p.story, from, w.kindOf(from), fromName);
            tagIn(p.storyTags, p.story, friendA, QStringLiteral("user"), nameA);
            const int others = p.story.indexOf(QStringLiteral("2 other people"));
            p.storyTags.append({others, 14, friendB, nameB, QStringLiteral("user")});
            p.storyTags.append({others, 14, third, w.people[third].name, QStringLiteral("user")});
        } else if (kind == 8) {
            p.type = QStringLiteral("status");
            p.message = QStringLiteral("Happy to see you soon, %1!")
                            .arg(w.nameOf(p.targetId.isEmpty() ? friendA : p.targetId));
            p.toIds = QStringList{p.targetId.isEmpty() ? friendA : p.targetId};
            if (i % 40 == 18)
                p.toIds.append(friendB); // several addressees
        }
        const int comments = i % 17 == 0 ? 30 + (i * 7) % 40 : rng.below(7);
        addComments(p, comments);
        addLikes(p);
        if (i % 10 == 5 && i % 20 == 5)
            p.appId = QStringLiteral("600000000000006");
    }

    void addMessages(QList<Message> &messages, const QString &threadId,
                     const QStringList &participants, int count, qint64 start,
                     const QString &lastText, const QString &lastAuthor) {
        for (int m = 0; m < count; ++m) {
            Message msg;
            // The first message carries the thread's own id, as the service's threads do.
            msg.id = m == 0 ? threadId : threadId + QLatin1Char('_') + QString::number(m + 1);
            msg.authorId = participants[m % participants.size()];
            msg.body = QString::fromUtf8(commentTexts[(m * 3 + count) % 10]);
            msg.created = start + m * 1200;
            messages.append(msg);
        }
        if (!lastText.isEmpty()) {
            messages.last().body = lastText;
            messages.last().authorId = lastAuthor;
        }
    }

    void addThread(const QString &folder, const QStringList &participants, int count, int hoursAgo,
                   bool unread, const QString &lastText = {}, const QString &lastAuthor = {}) {
        Thread t;
        t.id = w.newId();
        t.folder = folder;
        t.participants = participants;
        t.unread = unread;
        addMessages(t.messages, t.id, participants, count, w.anchor - qint64(hoursAgo) * 3600,
                    lastText, lastAuthor.isEmpty() ? participants.last() : lastAuthor);
        w.threads.insert(t.id, t);
    }

    static QString padded(const QString &text, int length) {
        QString out = text;
        while (out.size() < length)
            out += QLatin1Char('!');
        return out.left(length);
    }

    void seedThreads() {
        const QString me = w.meId;
        const QStringList &f = w.friendIds;
        // Last comments of exactly 50 and 51 characters.
        addThread(QStringLiteral("inbox"), {me, f[20]}, 5, 2, true,
                  padded(QStringLiteral("Bring the lanterns, we meet by the old boathouse"), 50),
                  f[20]);
        addThread(QStringLiteral("inbox"), {f[21], me}, 4, 5, false,
                  padded(QStringLiteral("Thanks for the maps, they saved our trip up north"), 51),
                  me);
        addThread(QStringLiteral("inbox"), {me, f[22], f[23], f[24]}, 7, 9, true);
        for (int i = 0; i < 8; ++i)
            addThread(QStringLiteral("inbox"),
                      i % 2 ? QStringList{f[25 + i], me} : QStringList{me, f[25 + i]}, 2 + i % 5,
                      12 + i * 20, i == 3);
        addThread(QStringLiteral("other"), {strangerIds[0], me}, 2, 30, true);
        addThread(QStringLiteral("other"), {me, strangerIds[1], strangerIds[2], f[40]}, 3, 70,
                  false);
    }

    void seedConversations() {
        for (int pageIndex = 0; pageIndex < 2; ++pageIndex) {
            const QString page = pageIds[pageIndex];
            for (int i = 0; i < 3; ++i) {
                Conversation c;
                c.id = QStringLiteral("t_id.") + w.newId();
                c.pageId = page;
                c.participants = QStringList{page, i == 2 ? strangerIds[3 + pageIndex]
                                                          : w.friendIds[30 + pageIndex * 3 + i]};
                c.canReply = i != 2;
                c.unread = i == 0 ? 1 : 0;
                addMessages(c.messages, c.id, {c.participants[1], page}, 3 + i,
                            w.anchor - qint64(6 + i * 11) * 3600, {}, {});
                w.conversations.insert(c.id, c);
            }
        }
    }

    void addNotification(const QString &from, const QString &title, const QString &link,
                         const QString &app, int hoursAgo, bool unread) {
        Notification n;
        n.id = QStringLiteral("notif_%1_%2").arg(w.meId).arg(w.notifications.size() + 1);
        n.fromId = from;
        n.toId = w.meId;
        n.title = title;
        n.link = link;
        n.appId = app;
        n.created = w.anchor - qint64(hoursAgo) * 3600 + 120;
        n.updated = n.created + 60;
        n.unread = unread;
        n.unseen = unread;
        w.notifications.insert(n.id, n);
    }

    void seedNotifications() {
        const QStringList &f = w.friendIds;
        const QString me = w.meId;
        QString myPost, friendPost;
        for (const Post &p : qAsConst(w.posts)) {
            if (myPost.isEmpty() && p.fromId == me && p.targetId.isEmpty())
                myPost = p.id;
            if (friendPost.isEmpty() && p.fromId == f[2] && p.targetId.isEmpty())
                friendPost = p.id;
        }
        const QString story = myPost.mid(myPost.indexOf(QLatin1Char('_')) + 1);
        const QString photo = w.albums.first().photoIds.value(0);
        const QString album = w.albums.first().id;
        const QString group = groupIds[1];
        const QString event = eventIds[2];
        const QString eventPost = w.posts.lastKey();
        addNotification(f[1], w.people[f[1]].name + QStringLiteral(" commented on your status."),
                        QStringLiteral("{ROOT}/permalink.php?story_fbid=%1&id=%2").arg(story, me),
                        {}, 1, true);
        addNotification(f[4], w.people[f[4]].name + QStringLiteral(" likes your photo."),
                        QStringLiteral("{ROOT}/photo.php?fbid=%1&set=a.%2.3").arg(photo, album),
                        QStringLiteral("600000000000005"), 2, true);
        addNotification(f[5],
                        w.people[f[5]].name + QStringLiteral(" invited you to ") +
                            w.events[event].name + QLatin1Char('.'),
                        QStringLiteral("{ROOT}/events/%1/").arg(event),
                        QStringLiteral("600000000000004"), 3, true);
        addNotification(f[6], w.people[f[6]].name + QStringLiteral(" posted on the event wall."),
                        QStringLiteral("{ROOT}/events/%1/%2/")
                            .arg(event, eventPost.mid(eventPost.indexOf(QLatin1Char('_')) + 1)),
                        QStringLiteral("600000000000004"), 4, false);
        addNotification(
            f[7],
            w.people[f[7]].name + QStringLiteral(" posted in ") + w.groups[group].name +
                QLatin1Char('.'),
            QStringLiteral("{ROOT}/groups/%1/?ref=notif&notif_t=group_activity").arg(group), {}, 5,
            true);
        addNotification(f[8], w.people[f[8]].name + QStringLiteral(" tagged you in an album."),
                        QStringLiteral("{ROOT}/%1/albums/%2").arg(f[8], album), {}, 7, false);
        addNotification(
            f[11], w.people[f[11]].name + QStringLiteral(" accepted your friend request."),
            QStringLiteral("{ROOT}/%1").arg(f[11]), QStringLiteral("600000000000003"), 8, true);
        addNotification(f[12],
                        w.people[f[12]].name + QStringLiteral(" sent you a gift in Sprout Garden."),
                        QStringLiteral("{ROOT}/apps/sproutgarden/?fb_source=notification"),
                        QStringLiteral("600000000000002"), 10, false);
        addNotification(f[13], w.people[f[13]].name + QStringLiteral(" shared a post."),
                        QStringLiteral("{ROOT}/%1/posts/%2")
                            .arg(f[2], friendPost.mid(friendPost.indexOf(QLatin1Char('_')) + 1)),
                        {}, 14, false);
        addNotification(pageIds[0], QStringLiteral("Kelvo has a new version for you."),
                        QStringLiteral("{ROOT}/%1").arg(pageIds[0]), {}, 20, false);
        addNotification(f[14], w.people[f[14]].name + QStringLiteral(" commented on a photo."),
                        QStringLiteral("{ROOT}/photo.php?fbid=%1").arg(photo), {}, 30, false);
    }

    void seedFriendRequestsAndLists() {
        for (int i = 0; i < 2; ++i)
            w.friendRequests.append({strangerIds[5 + i], w.meId,
                                     QStringLiteral("Hi, we met at the lantern walk!"),
                                     w.anchor - 3600 * (5 + i * 20), true});
        const struct {
            const char *name, *type;
            int first, count;
        } lists[] = {{"Close Friends", "close_friends", 0, 8},
                     {"Family", "family", 8, 5},
                     {"Vellmark area", "current_city", 13, 12},
                     {"Choir", "user_created", 25, 6},
                     {"Acquaintances", "acquaintances", 31, 10}};
        int n = 0;
        for (const auto &l : lists) {
            FriendList fl;
            fl.id = idFrom(950000000000001ULL, n++);
            fl.ownerId = w.meId;
            fl.name = QString::fromLatin1(l.name);
            fl.type = QString::fromLatin1(l.type);
            fl.members = w.friendIds.mid(l.first, l.count);
            w.friendLists.insert(fl.id, fl);
        }
        const QString icon = QStringLiteral("{ROOT}/img/icon-filter_16x16.png");
        const QString fl = QStringLiteral("fl_");
        w.filters = {
            {QStringLiteral("nf"), QStringLiteral("News Feed"), QStringLiteral("newsfeed"), icon},
            {QStringLiteral("app_600000000000007"), QStringLiteral("Status Updates"),
             QStringLiteral("application"), icon},
            {QStringLiteral("app_600000000000005"), QStringLiteral("Photos"),
             QStringLiteral("application"), icon},
            {QStringLiteral("app_600000000000006"), QStringLiteral("Links"),
             QStringLiteral("application"), icon},
            {fl + idFrom(950000000000001ULL, 0), QString(), QStringLiteral("friendlist"), icon},
            {fl + idFrom(950000000000001ULL, 1), QStringLiteral("Family"),
             QStringLiteral("friendlist"), icon},
            {fl + idFrom(950000000000001ULL, 3), QString(), QStringLiteral("friendlist"), icon},
            // A filter whose list is gone: no name to resolve.
            {fl + QStringLiteral("959999999999999"), QString(), QStringLiteral("friendlist"), icon},
            {QStringLiteral("app_600000000000004"), QStringLiteral("Events"),
             QStringLiteral("application"), icon}};
    }

    void seedCheckins() {
        for (int i = 0; i < 14; ++i) {
            Checkin c;
            c.id = w.newId();
            c.fromId = i < 4 ? w.meId : w.friendIds[(i * 5) % w.friendIds.size()];
            c.placeId = placeIds[(i * 3) % placeIds.size()];
            c.message = i % 3 == 0 ? QString() : QStringLiteral("Nice spot, recommended.");
            if (i % 2 == 1)
                c.tagIds = QStringList{w.friendIds[(i * 7 + 2) % w.friendIds.size()]};
            if (i == 5)
                c.tagIds.append(w.meId);
            c.appId = QStringLiteral("100000000000001");
            c.created = w.anchor - qint64(i) * 7 * 3600 - 900;
            w.checkins.insert(c.id, c);
        }
    }
};

} // namespace

void seedWorld(WorldData &world, const QDate &today) {
    Seeder(world, today).run();
}

namespace {

// Stories made up by sizeHomeFeed: "<friend>_8xxxxxx", an id no other story has.
bool madeUpForSize(const QString &id) {
    const QString serial = id.mid(id.indexOf(QLatin1Char('_')) + 1);
    return serial.size() == 7 && serial.startsWith(QLatin1Char('8'));
}

} // namespace

void sizeHomeFeed(WorldData &w, int stories) {
    const QStringList ids = w.postsNewestFirst;
    for (const QString &id : ids)
        if (madeUpForSize(id))
            w.removePost(id);
    w.homeFeedSize = 0;
    const int missing = stories - int(newsFeedOf(w, w.meId).size());
    const qint64 oldest =
        w.postsNewestFirst.isEmpty() ? w.anchor : w.posts.value(w.postsNewestFirst.last()).created;
    for (int k = 0; k < missing && !w.friendIds.isEmpty(); ++k) {
        Post p;
        p.fromId = w.friendIds[k % w.friendIds.size()];
        p.id = p.fromId + QLatin1Char('_') + QString::number(8000000 + k);
        p.created = p.updated = oldest - qint64(k + 1) * 1800;
        p.type = QStringLiteral("status");
        p.message = QString::fromUtf8(statusTexts[k % int(std::size(statusTexts))]);
        if (k % 4 == 1) {
            p.type = QStringLiteral("link");
            p.link = QStringLiteral("http://news.sandbox.test/archive/%1").arg(k);
            p.name = QStringLiteral("From the archive, part %1").arg(k);
            p.caption = QStringLiteral("news.sandbox.test");
            p.picture = QStringLiteral("{ROOT}/img/link%1_180x120.jpg").arg(k);
        }
        for (int c = 0; c < k % 3; ++c)
            p.comments.append({p.id + QLatin1Char('_') + QString::number(c + 1),
                               w.friendIds[(k + c * 5) % w.friendIds.size()],
                               QString::fromUtf8(commentTexts[(k + c) % 10]),
                               p.created + 300 * (c + 1),
                               {}});
        p.revision = ++w.revisions;
        w.addPost(p);
    }
    const QList<const Post *> feed = newsFeedOf(w, w.meId);
    if (stories > 0 && stories <= feed.size()) {
        w.homeFeedSize = stories;
        w.homeFeedEnd = {feed[stories - 1]->created, feed[stories - 1]->id};
    }
}
