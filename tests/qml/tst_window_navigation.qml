import QtQuick 2.15
import QtTest 1.2

// Navigation through the hub: what the history records and where back goes.
TestCase {
    id: testCase
    name: "WindowNavigation"
    width: 480
    height: 854
    when: windowShown

    WindowHarness {
        id: harness
    }

    SignalSpy {
        id: getMessageSpy
        signalName: "getMessage"
    }

    property var w: null
    property var hub: null

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

    function test_homeKeepsFiveEntries() {
        for (var i = 0; i < 6; ++i)
            hub.showHome()
        compare(harness.pages(), ["home", "home", "home", "home", "home"])
        hub.showChat()
        hub.showFriends()
        hub.showGroups()
        hub.showHome()
        compare(harness.pages(), ["home", "home", "chat", "friends", "groups", "home"].slice(-5))
    }

    function test_refreshDoesNotRecordButTheNextShowDoes() {
        hub.showNews()
        compare(harness.pages(), ["home", "news"])
        w.noHistory = true
        hub.showNews()
        compare(harness.pages(), ["home", "news"])
        compare(w.noHistory, false)
        hub.showNews()
        compare(harness.pages(), ["home", "news", "news"])
    }

    // Back from a story shows the stored feed; from anywhere else, a fresh one.
    function test_backToTheFeed_data() {
        return [
            { tag: "from a story", leave: function () { hub.loadStatus("1_2") }, via: "status", kept: 1 },
            { tag: "from a wall", leave: function () { hub.showWall("42", "Somebody") }, via: "wall", kept: 0 }
        ]
    }

    function test_backToTheFeed(data) {
        hub.showNews()
        w.newsModel.append({ "id": "story" })
        data.leave()
        compare(harness.pages(), ["home", "news", data.via])
        harness.loads = []
        w.facebook.goBack()
        compare(harness.pages(), ["home", "news"])
        compare(w.newsModel.count, data.kept, "the feed is fetched again only when not back from a story")
        compare(harness.loads, data.kept ? [] : [["loadHomeFeed"]])
        compare(w.currentPage, "NewsFeedList")
    }

    // Back to a wall shows the stored list only when it is that wall's.
    function test_backToAWall_data() {
        return [
            { tag: "another wall", walls: ["A", "B"], load: [["loadUserWall", "A"]] },
            { tag: "the same wall", walls: ["A"], load: [] }
        ]
    }

    function test_backToAWall(data) {
        data.walls.forEach(function (id) { hub.showWall(id, "Wall " + id) })
        hub.showFriends()
        harness.part("wallModel").append({ "id": "post" })
        harness.loads = []
        w.facebook.goBack()
        if (data.walls.length > 1)
            w.facebook.goBack()
        compare(harness.loads.filter(function (load) { return load[0] === "loadUserWall" }), data.load)
        compare(harness.lastEntry().page, "wall")
        compare(harness.lastEntry().id, "A")
        compare(w.lastWall, "A")
    }

    function test_backSkipsAPhoto() {
        hub.showFriends()
        hub.showPhoto("77")
        hub.showWall("42", "Somebody")
        compare(harness.pages(), ["home", "friends", "photo", "wall"])
        w.facebook.goBack()
        compare(harness.pages(), ["home", "friends"])
        compare(w.currentPage, "FriendsList")
    }

    function test_backWithOneEntryStays() {
        compare(harness.pages(), ["home"])
        w.facebook.goBack()
        compare(harness.pages(), ["home"])
        verify(w.menu.item !== null)
    }

    function test_backToAThreadPassesItsRecipient() {
        hub.getMessage("t1", 12, true, "-555@chat", [])
        hub.showFriends()
        compare(harness.pages(), ["home", "message", "friends"])
        getMessageSpy.target = hub
        getMessageSpy.clear()
        w.facebook.goBack()
        compare(getMessageSpy.count, 1)
        compare(getMessageSpy.signalArguments[0][0], "t1")
        compare(getMessageSpy.signalArguments[0][1], 12)
        compare(getMessageSpy.signalArguments[0][2], true)
        compare(getMessageSpy.signalArguments[0][3], "-555@chat")
        compare(harness.pages(), ["home", "message"])
    }

    // A conversation's view gets the contact's bare numeric id, also when
    // going back to it.
    function test_conversationGetsTheBareId() {
        w.showChat("-555@chat.example", "Ann")
        hub.showFriends()
        w.facebook.goBack()
        var views = harness.shown.filter(function (shown) { return shown.name === "ChatView" })
        compare(views.length, 2)
        views.forEach(function (view) {
            compare(view.properties.profileId, "555")
            compare(view.properties.currentJid, "-555@chat.example")
            compare(view.properties.userName, "Ann")
        })
        compare(w.currentChatJid, "-555@chat.example")
        compare(harness.pages(), ["home", "chatView"])
        compare(harness.lastEntry().jid, "-555@chat.example")
        compare(w.title, "Chat")
    }

    function test_pageHandlersSetTheToolbar() {
        hub.showEvents()
        compare(w.toolbar.active, "events")
        hub.showNotifications()
        compare(w.toolbar.active, "notifications")
        hub.showHome()
        compare(w.toolbar.active, "home")
        verify(w.menu.item !== null)
        compare(w.currentPage, "")
    }
}
