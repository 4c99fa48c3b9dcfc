import QtQuick 2.15
import QtTest 1.2
import "../../qml/facebook.js" as Facebook
import "../../qml/navigation/routes.js" as Routes
import "../../qml/navigation"

// The route table walked: every page file, handler file, hub signal and
// loader it names exists (or is listed below as built later), and what
// showing each route loads, shows and records.
TestCase {
    id: testCase
    name: "WindowRoutes"
    width: 480
    height: 854
    when: windowShown

    WindowHarness {
        id: harness
    }

    SignalHandler {
        id: hubSignals
    }

    // Pages later work builds. A name leaves the list when its file lands.
    readonly property var pagesBuiltLater: [
        "feed/NewsFeedList", "feed/StatusView", "feed/Wall", "chat/ChatList", "chat/ChatView",
        "people/FriendsList", "groups/GroupsList", "groups/GroupsView", "groups/Page",
        "events/EventsList", "events/EventView", "messages/NotificationsList", "messages/MessagesList",
        "messages/MessagesView", "photos/PhotoUpload", "places/Places", "places/CheckinView",
        "search/SearchList", "settings/Settings"
    ]

    // Loaders the web-API client does not have yet. A name leaves the list
    // when the client has it.
    readonly property var loadersBuiltLater: [
        "loadHomeFeed", "loadFilterHomeFeed", "loadStatus", "loadUserWall", "loadLikes", "loadUserInfo",
        "loadAlbums", "loadPhotos", "loadPhoto", "loadComments", "loadFriends", "loadFriendRequests",
        "loadGroups", "loadGroupFeed", "loadMoreGroups", "loadPage", "loadPageInfo", "loadEvents",
        "loadMoreEvents", "loadEventFeed", "loadNotifications", "loadMessages", "loadThread",
        "loadCheckins", "search", "loadMoreLikes", "loadMoreComments", "loadMorePhotoComments",
        "loadMoreStatusComments", "loadStatusComments", "refreshStatusComments", "loadEvent",
        "addToCalendar", "setRsvp", "tagPhoto", "createAlbum", "deleteItem", "deleteLike", "removeGroup",
        "loadOwnedPages", "comment", "like", "shareStatus", "RIL", "getPrivacyOptions", "loadFilters",
        "loadNearby", "checkin", "loadMessages2"
    ]

    property var w: null
    property var hub: null

    // --- What the table names ------------------------------------------------

    function rows() {
        return Object.keys(Routes.routes).map(function (tag) { return Routes.routes[tag] })
    }

    // Each name once, in table order.
    function distinct(names) {
        return names.filter(function (name, i) { return name && names.indexOf(name) === i })
    }

    function pageFiles() {
        return distinct(rows().map(function (row) { return row.component }))
    }

    function handlerFiles() {
        var families = []
        rows().forEach(function (row) {
            families.push(row.handledBy, row.back && row.back.family)
        })
        Object.keys(Routes.actions).forEach(function (action) {
            families.push(Routes.actions[action].handledBy)
        })
        return distinct(families).map(function (family) {
            return "navigation/" + family.charAt(0).toUpperCase() + family.slice(1) + "Handlers"
        })
    }

    function signalNames() {
        var names = Object.keys(Routes.actions)
        rows().forEach(function (row) { names.push(row.signal, row.back && row.back.emit) })
        return distinct(names)
    }

    function loaders() {
        var names = Object.keys(Routes.actions).map(Routes.loaderOf)
        rows().forEach(function (row) { names.push(row.loader, row.more) })
        return distinct(names)
    }

    function fileExists(path) {
        var component = Qt.createComponent(Qt.resolvedUrl("../../qml/" + path + ".qml"))
        return component.status === Component.Ready
    }

    function test_namesExist_data() {
        var page = function (name) { return fileExists("components/" + name) }
        return [
            { tag: "page files", names: pageFiles(), exists: page, later: pagesBuiltLater },
            { tag: "handler files", names: handlerFiles(), exists: fileExists, later: [] },
            { tag: "hub signals", names: signalNames(), later: [],
              exists: function (name) { return typeof hubSignals[name] === "function" } },
            { tag: "loaders", names: loaders(), later: loadersBuiltLater,
              exists: function (name) { return typeof Facebook[name] === "function" } }
        ]
    }

    function test_namesExist(data) {
        var missing = data.names.filter(function (name) {
            return !data.exists(name) && data.later.indexOf(name) < 0
        })
        compare(missing, [], "named by the table, missing")
        compare(data.later.filter(data.exists), [], "landed: take them off the list")
        compare(data.later.filter(function (name) { return data.names.indexOf(name) < 0 }), [],
                "listed as built later, named nowhere in the table")
    }

    // The title belongs to the page: every row showing it says the same.
    function test_rowsOfAPageShareItsTitle() {
        rows().forEach(function (row) {
            if (row.component)
                compare(row.title || "", Routes.titleOf(Routes.componentName(row)), row.component)
        })
    }

    // --- What showing a route does -------------------------------------------

    function initTestCase() {
        harness.issueToken()
        tryVerify(function () { return harness.token !== "" }, 10000)
    }

    function init() {
        w = harness.openSignedIn()
        hub = w.signalHandler
    }

    function cleanup() {
        harness.close()
    }

    // emit: the hub signal and its arguments; load: the loader call it makes
    // (none: null); entry: what the history records (none: null); page and
    // title: the current page and title afterwards, where the row has them.
    function test_showingARoute_data() {
        var event = { "id": "e9", "name": "Party" }
        return [
            { tag: "home", emit: ["showHome"], load: null, entry: { "page": "home" }, page: "", title: "Kelvo" },
            { tag: "news", emit: ["showNews"], load: ["loadHomeFeed"], entry: { "page": "news" },
              page: "NewsFeedList", title: "News Feed" },
            { tag: "filternews", emit: ["loadFilterHomeFeed", "f", "nf_1", 0],
              load: ["loadFilterHomeFeed", "f", "nf_1", 0], entry: { "page": "filternews" }, page: "NewsFeedList" },
            { tag: "status", emit: ["loadStatus", "1_2"], load: ["loadStatus", "1_2"],
              entry: { "page": "status", "id": "1_2" } },
            { tag: "profile", emit: ["showProfile"], load: ["loadUserWall", "me"],
              entry: { "page": "profile", "name": "You" }, page: "Wall", title: "Profile" },
            { tag: "wall", emit: ["showWall", "42", "Ann"], load: ["loadUserWall", "42"],
              entry: { "page": "wall", "id": "42", "name": "Ann" }, page: "Wall", title: "Profile" },
            { tag: "chat", emit: ["showChat"], load: null, entry: { "page": "chat" }, page: "ChatList", title: "Chat" },
            { tag: "friends", emit: ["showFriends"], load: ["loadFriends"], entry: { "page": "friends" },
              page: "FriendsList", title: "Friends" },
            { tag: "tagFriends", emit: ["tagFriends", "photo"], load: ["loadFriends"], entry: null },
            { tag: "groups", emit: ["showGroups"], load: ["loadGroups"], entry: { "page": "groups" },
              page: "GroupsList", title: "Groups" },
            { tag: "group", emit: ["showGroup", "g1", "Club"], load: ["loadGroupFeed", "g1"],
              entry: { "page": "group", "id": "g1", "name": "Club" }, page: "GroupsView", title: "Groups" },
            { tag: "group by index", model: "groupsModel", rows: [{ "id": "g2", "name": "Choir" }],
              emit: ["getGroup", 0], load: ["loadGroupFeed", "g2"],
              entry: { "page": "group", "id": "0", "name": "Choir" }, page: "GroupsView" },
            { tag: "more groups", model: "groupsModel", rows: [{ "id": "next", "name": "Load more..." }],
              emit: ["getGroup", 0], load: ["loadMoreGroups", "next"], entry: null, page: "" },
            { tag: "page", emit: ["showPage", "p1", "Shop"], load: ["loadPage", "p1"],
              entry: { "page": "page", "id": "p1", "name": "Shop" }, page: "Page", title: "Page" },
            { tag: "showPages", emit: ["showPages"], load: ["loadLikes", "me"], entry: { "page": "showPages" },
              page: "", title: "Likes" },
            { tag: "events", emit: ["showEvents"], load: ["loadEvents"], entry: { "page": "events" },
              page: "EventsList", title: "Events" },
            { tag: "event", model: "eventsModel", rows: [event], emit: ["getEvent", 0],
              load: ["loadPageInfo", "e9"], entry: { "page": "event", "id": "0" }, page: "EventView", title: "Events" },
            { tag: "inviteEvent", model: "invitesModel", rows: [event], emit: ["getInviteEvent", 0],
              load: ["loadPageInfo", "e9"], entry: { "page": "inviteEvent", "id": "0" }, page: "EventView" },
            { tag: "eventWall", emit: ["loadEventFeed", "e1"], load: ["loadEventFeed", "e1"],
              entry: { "page": "eventWall", "id": "e1" }, page: "EventView" },
            { tag: "eventFriends", emit: ["showEventFriends", "e1"], load: null,
              entry: { "page": "eventFriends", "id": "e1" }, page: "EventView" },
            { tag: "notifications", emit: ["showNotifications"], load: ["loadNotifications"],
              entry: { "page": "notifications" }, page: "NotificationsList", title: "Notifications" },
            { tag: "messages", emit: ["showMessages", "other"], load: ["loadMessages", "other"],
              entry: { "page": "messages", "name": "other" }, page: "MessagesList", title: "Messages" },
            { tag: "message", emit: ["getMessage", "t1", 12, true, "-5@chat", ["-5@chat"]], load: ["loadThread", "t1", 12],
              entry: { "page": "message", "id": "t1", "count": 12, "recipient": "-5@chat", "canReply": true } },
            { tag: "places", emit: ["showPlaces"], load: ["loadCheckins"], entry: { "page": "places", "name": "" },
              page: "Places", title: "Places/Checkin" },
            { tag: "photoupload", emit: ["showPhotoUploader"], load: ["loadAlbums", "me"],
              entry: { "page": "photoupload" }, page: "PhotoUpload", title: "Photo upload" },
            { tag: "album", emit: ["showAlbumPhotos", "a1"], load: ["loadPhotos", "a1"],
              entry: { "page": "album", "id": "a1" } },
            { tag: "photo", emit: ["showPhoto", "77"], load: ["loadPhoto", "77"], entry: { "page": "photo", "id": "77" } },
            { tag: "showLikes", emit: ["showLikes", "s1"], load: ["loadLikes", "s1"], entry: null },
            { tag: "friendRequests", emit: ["showFriendRequests"], load: ["loadFriendRequests"], entry: null },
            { tag: "showComments", emit: ["showComments", "s1"], load: ["loadComments", "s1"], entry: null },
            { tag: "settings", emit: ["showSettings"], load: null, entry: { "page": "settings" }, page: "Settings",
              title: "" },
            { tag: "showSearch", emit: ["showSearch"], load: null, entry: { "page": "showSearch" }, page: "SearchList" },
            { tag: "search", emit: ["search", "user", "ann"], load: ["search", "user", "ann"], entry: null },
            { tag: "about", emit: ["showAbout"], load: null, entry: { "page": "about" }, page: "About", title: "" },
            // Signals that only run a loader, some with their arguments in another order.
            { tag: "like", emit: ["like", "s1"], load: ["like", "s1"], entry: null },
            { tag: "setRSVP", emit: ["setRSVP", "e1", "yes"], load: ["setRsvp", "e1", "yes"], entry: null },
            { tag: "ril", emit: ["ril", "u", "p", "l", "n", true], load: ["RIL", "u", "p", "l", "n", true], entry: null },
            { tag: "checkin", emit: ["checkin", "hi", 1.5, 2.5, "pl"], load: ["checkin", 1.5, 2.5, "hi", "pl"], entry: null },
            { tag: "checkMessageCount", emit: ["checkMessageCount"], load: ["loadMessages2", "inbox"], entry: null },
            { tag: "showPrivacy", emit: ["showPrivacy"], load: ["getPrivacyOptions"], entry: null }
        ]
    }

    function test_showingARoute(data) {
        if (data.model)
            data.rows.forEach(function (row) { harness.part(data.model).append(row) })
        harness.loads = []
        hub[data.emit[0]].apply(hub, data.emit.slice(1))
        compare(harness.loads, data.load ? [data.load] : [])
        compare(w.history.count, data.entry ? 2 : 1)
        if (data.entry) {
            var entry = harness.lastEntry()
            for (var key in data.entry)
                compare(entry[key], data.entry[key], key)
        }
        if (data.page !== undefined)
            compare(w.currentPage, data.page)
        if (data.title !== undefined)
            compare(w.title, data.title)
    }

    // Back to an entry: what it loads and shows, and that the walk back ends
    // on the target's own entry.
    function test_goingBack_data() {
        return [
            { tag: "wall", entry: { "page": "wall", "id": "42", "name": "Ann" }, load: ["loadUserWall", "42"] },
            { tag: "events", entry: { "page": "events" }, load: ["loadEvents"] },
            { tag: "messages", entry: { "page": "messages", "name": "other" }, load: ["loadMessages", "other"] },
            { tag: "eventWall", entry: { "page": "eventWall", "id": "e1" }, load: ["loadEventFeed", "e1"] },
            { tag: "album", entry: { "page": "album", "id": "a1" }, load: ["loadPhotos", "a1"] },
            { tag: "status", entry: { "page": "status", "id": "s1" }, load: ["loadStatus", "s1"] },
            { tag: "filternews", entry: { "page": "filternews" }, load: ["loadFilterHomeFeed", "", "", 0] },
            { tag: "photoupload", entry: { "page": "photoupload" }, load: ["loadAlbums", "me"] },
            { tag: "places", entry: { "page": "places", "name": "" }, load: ["loadCheckins"] },
            { tag: "search", entry: { "page": "search", "name": "user", "text": "ann" }, load: ["search", "user", "ann"] },
            // Sub-views of pages and walls: the view is shown afresh.
            { tag: "page albums", entry: { "page": "pageAlbums", "id": "p1", "name": "P" },
              load: ["loadAlbums", "p1"], page: "Page" },
            { tag: "wall likes", entry: { "page": "wallLikes", "id": "u1", "name": "U" },
              load: ["loadLikes", "u1"], page: "Wall" },
            { tag: "wall album", entry: { "page": "wallAlbum", "id": "a1", "name": "A", "user_id": "u1" },
              load: ["loadPhotos", "a1"], page: "Wall" },
            // Nothing shown again, nothing recorded: the entry goes with the current one.
            { tag: "nothing to show", entry: { "page": "groupMembers", "id": "g1" }, load: null, pages: ["home"] }
        ]
    }

    function test_goingBack(data) {
        w.history.append(data.entry)
        hub.showAbout()
        harness.loads = []
        w.facebook.goBack()
        compare(harness.loads, data.load ? [data.load] : [])
        compare(harness.pages(), data.pages || ["home", data.entry.page])
        if (!data.pages)
            compare(harness.lastEntry().id, data.entry.id)
        if (data.page)
            compare(w.currentPage, data.page)
    }
}
