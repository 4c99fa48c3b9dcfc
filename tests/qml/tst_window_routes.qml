import QtQuick 2.15
import QtTest 1.2
import "../../qml/facebook.js" as Facebook
import "../../qml/navigation/routes.js" as Routes
import "../../qml/navigation"

// The route table walked: every page file, handler file, hub signal and
// loader it names exists (or is listed below as built later); what showing a
// route loads, shows and records; and what going back to an entry does.
TestCase {
    id: testCase
    name: "WindowRoutes"
    width: 480
    height: 854
    when: windowShown

    WindowHarness {
        id: harness
        testCase: testCase
    }

    SignalHandler {
        id: hubSignals
    }

    // Pages later work builds. A name leaves the list when its file lands.
    readonly property var pagesBuiltLater: [
        "people/FriendsList", "groups/GroupsList", "groups/GroupsView", "groups/Page",
        "events/EventsList", "events/EventView", "messages/NotificationsList", "messages/MessagesList",
        "messages/MessagesView", "photos/PhotoUpload", "places/Places", "places/CheckinView",
        "search/SearchList", "settings/Settings"
    ]

    // Loaders the web-API client does not have yet. A name leaves the list
    // when the client has it.
    readonly property var loadersBuiltLater: [
        "loadUserInfo", "loadAlbums", "loadPhotos", "loadPhoto", "loadFriends", "loadFriendRequests", "loadGroups",
        "loadMoreGroups", "loadPageInfo", "loadEvents", "loadMoreEvents", "loadNotifications", "loadMessages",
        "loadThread", "loadCheckins", "search", "loadMorePhotoComments", "loadEvent", "addToCalendar", "setRsvp",
        "tagPhoto", "createAlbum", "removeGroup", "loadOwnedPages", "loadNearby", "checkin", "loadMessages2"
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

    function fileExists(path) {
        return Qt.createComponent(Qt.resolvedUrl("../../qml/" + path + ".qml")).status === Component.Ready
    }

    function test_namesExist_data() {
        var families = [], signalNames = Object.keys(Routes.actions)
        var loaders = signalNames.map(Routes.loaderOf)
        rows().forEach(function (row) {
            families.push(row.handledBy, row.back && row.back.family)
            signalNames.push(row.signal, row.back && row.back.emit)
            loaders.push(row.loader, row.more)
        })
        signalNames.forEach(function (action) { families.push(Routes.actions[action] && Routes.actions[action].handledBy) })
        var handlerFiles = distinct(families).map(function (family) {
            return "navigation/" + family.charAt(0).toUpperCase() + family.slice(1) + "Handlers"
        })
        return [
            { tag: "page files", names: distinct(rows().map(function (row) { return row.component })),
              exists: function (name) { return fileExists("components/" + name) }, later: pagesBuiltLater },
            { tag: "handler files", names: handlerFiles, exists: fileExists, later: [] },
            { tag: "hub signals", names: distinct(signalNames), later: [],
              exists: function (name) { return typeof hubSignals[name] === "function" } },
            { tag: "loaders", names: distinct(loaders), later: loadersBuiltLater,
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

    // --- What showing a route does, and going back -----------------------------

    function init() {
        w = harness.signedIn()
        hub = w.signalHandler
    }

    function cleanup() {
        harness.close()
    }

    // emit: the hub signal and its arguments; load: the loader call it makes
    // (none: null); entry: what the history records besides the tag as page
    // (none: null); page: the current page afterwards, where the row has one;
    // title: the title where it is not the page's own; model and rows: list
    // rows the route reads; props: what the page was given.
    function test_showingARoute_data() {
        var event = { id: "e9", name: "Party" }
        return [
            { tag: "home", emit: ["showHome"], load: null, entry: {}, page: "", title: "Kelvo" },
            { tag: "news", emit: ["showNews"], load: ["loadHomeFeed"], entry: {}, page: "NewsFeedList" },
            { tag: "filternews", emit: ["loadFilterHomeFeed", "f", "nf_1", 0], load: ["loadFilterHomeFeed", "f", "nf_1", 0],
              entry: {}, page: "NewsFeedList" },
            { tag: "status", emit: ["loadStatus", "1_2"], load: ["loadStatus", "1_2"], entry: { id: "1_2" } },
            { tag: "profile", emit: ["showProfile"], load: ["loadUserWall", "me"], entry: { name: "You" }, page: "Wall",
              props: { user_id: "me", user_name: "You" } },
            { tag: "wall", emit: ["showWall", "42", "Ann"], load: ["loadUserWall", "42"], entry: { id: "42", name: "Ann" },
              page: "Wall", props: { user_id: "42", user_name: "Ann" } },
            { tag: "chat", emit: ["showChat"], load: null, entry: {}, page: "ChatList" },
            { tag: "friends", emit: ["showFriends"], load: ["loadFriends"], entry: {}, page: "FriendsList" },
            { tag: "tagFriends", emit: ["tagFriends", "photo"], load: ["loadFriends"], entry: null },
            { tag: "groups", emit: ["showGroups"], load: ["loadGroups"], entry: {}, page: "GroupsList" },
            { tag: "group", model: "groupsModel", rows: [{ id: "g2", name: "Choir" }], emit: ["getGroup", 0],
              load: ["loadGroupFeed", "g2"], entry: { id: "0", name: "Choir" }, page: "GroupsView" },
            { tag: "more groups", model: "groupsModel", rows: [{ id: "next", name: "Load more..." }], emit: ["getGroup", 0],
              load: ["loadMoreGroups", "next"], entry: null, page: "" },
            { tag: "page", emit: ["showPage", "p1", "Shop"], load: ["loadPage", "p1"], entry: { id: "p1", name: "Shop" },
              page: "Page" },
            { tag: "showPages", emit: ["showPages"], load: ["loadLikes", "me"], entry: {}, page: "", title: "Likes" },
            { tag: "events", emit: ["showEvents"], load: ["loadEvents"], entry: {}, page: "EventsList" },
            { tag: "event", model: "eventsModel", rows: [event], emit: ["getEvent", 0], load: ["loadPageInfo", "e9"],
              entry: { id: "0" }, page: "EventView" },
            { tag: "inviteEvent", model: "invitesModel", rows: [event], emit: ["getInviteEvent", 0],
              load: ["loadPageInfo", "e9"], entry: { id: "0" }, page: "EventView" },
            { tag: "notifications", emit: ["showNotifications"], load: ["loadNotifications"], entry: {},
              page: "NotificationsList" },
            { tag: "message", emit: ["getMessage", "t1", 12, true, "-5@chat", ["-5@chat"]], load: ["loadThread", "t1", 12],
              entry: { id: "t1", count: 12, recipient: "-5@chat", canReply: true } },
            { tag: "places", emit: ["showPlaces"], load: ["loadCheckins"], entry: { name: "" }, page: "Places" },
            { tag: "photoupload", emit: ["showPhotoUploader"], load: ["loadAlbums", "me"], entry: {}, page: "PhotoUpload" },
            { tag: "album", emit: ["showAlbumPhotos", "a1"], load: ["loadPhotos", "a1"], entry: { id: "a1" } },
            // Signals that only run a loader, some with their arguments in another order.
            { tag: "setRSVP", emit: ["setRSVP", "e1", "yes"], load: ["setRsvp", "e1", "yes"], entry: null },
            { tag: "checkin", emit: ["checkin", "hi", 1.5, 2.5, "pl"], load: ["checkin", 1.5, 2.5, "hi", "pl"], entry: null },
            { tag: "checkMessageCount", emit: ["checkMessageCount"], load: ["loadMessages2", "inbox"], entry: null },
            { tag: "showPrivacy", emit: ["showPrivacy"], load: ["getPrivacyOptions"], entry: null }
        ]
    }

    function test_showingARoute(data) {
        (data.rows || []).forEach(function (row) { w[data.model].append(row) })
        harness.loads = []
        hub[data.emit[0]].apply(hub, data.emit.slice(1))
        compare(harness.loads, data.load ? [data.load] : [])
        compare(harness.pages(), data.entry ? ["home", data.tag] : ["home"])
        for (var key in data.entry)
            compare(harness.lastEntry()[key], data.entry[key], key)
        if (data.page !== undefined)
            compare(w.currentPage, data.page)
        if (data.title !== undefined)
            compare(w.title, data.title)
        for (var name in data.props)
            compare(w.currentView.item[name], data.props[name], name)
    }

    // Back from About (or what `from` emits) to the last of `history`: what it
    // loads and shows, and that the walk ends on the target's own entry
    // (`pages` says where it ends otherwise).
    function test_goingBack_data() {
        return [
            // Back from a story shows the stored feed; from anywhere else, a fresh one.
            { tag: "news from a story", history: [{ page: "news" }], from: ["loadStatus", "1_2"], model: "newsModel",
              rows: [{ id: "story" }], load: null, page: "NewsFeedList" },
            { tag: "news from elsewhere", history: [{ page: "news" }], model: "newsModel", rows: [{ id: "story" }],
              load: ["loadHomeFeed"], page: "NewsFeedList" },
            { tag: "filternews", history: [{ page: "filternews" }], load: ["loadFilterHomeFeed", "", "", 0] },
            { tag: "status", history: [{ page: "status", id: "s1" }], load: ["loadStatus", "s1"] },
            { tag: "messages", history: [{ page: "messages", name: "other" }], load: ["loadMessages", "other"] },
            { tag: "message", history: [{ page: "message", id: "t1", count: 12, recipient: "-5@chat", canReply: true }],
              load: ["loadThread", "t1", 12] },
            { tag: "album", history: [{ page: "album", id: "a1" }], load: ["loadPhotos", "a1"] },
            { tag: "places", history: [{ page: "places", name: "" }], load: ["loadCheckins"] },
            { tag: "search", history: [{ page: "search", name: "user", text: "ann" }], load: ["search", "user", "ann"] },
            // Sub-views of pages and walls: the view is shown afresh.
            { tag: "page albums", history: [{ page: "pageAlbums", id: "p1", name: "P" }], load: ["loadAlbums", "p1"],
              page: "Page" },
            { tag: "wall album", history: [{ page: "wallAlbum", id: "a1", name: "A", user_id: "u1" }],
              load: ["loadPhotos", "a1"], page: "Wall" },
            { tag: "a photo is passed over", history: [{ page: "friends" }, { page: "photo", id: "77" }],
              load: ["loadFriends"], pages: ["home", "friends"], page: "FriendsList" },
            // Nothing shown again, nothing recorded: the entry goes with the current one.
            { tag: "nothing to show", history: [{ page: "groupMembers", id: "g1" }], load: null, pages: ["home"] }
        ]
    }

    function test_goingBack(data) {
        data.history.forEach(function (entry) { w.history.append(entry) })
        ;(data.rows || []).forEach(function (row) { w[data.model].append(row) })
        var from = data.from || ["showAbout"]
        hub[from[0]].apply(hub, from.slice(1))
        harness.loads = []
        w.facebook.goBack()
        compare(harness.loads, data.load ? [data.load] : [])
        var target = data.history[data.history.length - 1]
        compare(harness.pages(), data.pages || ["home", target.page])
        for (var key in data.pages ? {} : target)
            compare(harness.lastEntry()[key], target[key], key)
        if (data.page)
            compare(w.currentPage, data.page)
    }
}
