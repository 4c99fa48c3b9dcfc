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
    // A token the sandbox issued, so the window's own requests succeed.
    property string storedToken

    function initTestCase() {
        harness.sandbox("POST", "/_sandbox/token", function (answer) {
            storedToken = "access_token=" + answer.access_token
        })
        tryVerify(function () { return storedToken !== "" }, 10000)
    }

    function pages() {
        var list = []
        for (var i = 0; i < w.history.count; ++i)
            list.push(w.history.get(i).page)
        return list
    }

    function init() {
        harness.clearStore()
        w = harness.open({ "newapp": "0", "accesstoken": storedToken, "chatOn": "0" })
        hub = w.signalHandler
    }

    function cleanup() {
        harness.close()
    }

    function test_homeKeepsFiveEntries() {
        for (var i = 0; i < 6; ++i)
            hub.showHome()
        compare(pages(), ["home", "home", "home", "home", "home"])
        hub.showChat()
        hub.showFriends()
        hub.showGroups()
        hub.showHome()
        compare(pages(), ["home", "home", "chat", "friends", "groups", "home"].slice(-5))
    }

    function test_refreshDoesNotRecordButTheNextShowDoes() {
        hub.showNews()
        compare(pages(), ["home", "news"])
        w.noHistory = true
        hub.showNews()
        compare(pages(), ["home", "news"])
        compare(w.noHistory, false)
        hub.showNews()
        compare(pages(), ["home", "news", "news"])
    }

    function test_backFromAStoryShowsTheStoredFeed() {
        hub.showNews()
        w.newsModel.append({ "id": "story" })
        hub.loadStatus("1_2")
        compare(pages(), ["home", "news", "status"])
        w.facebook.goBack()
        compare(pages(), ["home", "news"])
        compare(w.newsModel.count, 1, "the feed was not fetched again")
    }

    function test_backFromElsewhereFetchesTheFeed() {
        hub.showNews()
        w.newsModel.append({ "id": "story" })
        hub.showWall("42", "Somebody")
        compare(pages(), ["home", "news", "wall"])
        w.facebook.goBack()
        compare(pages(), ["home", "news"])
        compare(w.newsModel.count, 0, "the feed is fetched afresh")
        compare(w.currentPage, "NewsFeedList")
    }

    function test_backSkipsAPhoto() {
        hub.showFriends()
        hub.showPhoto("77")
        hub.showWall("42", "Somebody")
        compare(pages(), ["home", "friends", "photo", "wall"])
        w.facebook.goBack()
        compare(pages(), ["home", "friends"])
        compare(w.currentPage, "FriendsList")
    }

    function test_backWithOneEntryStays() {
        compare(pages(), ["home"])
        w.facebook.goBack()
        compare(pages(), ["home"])
        verify(w.menu.item !== null)
    }

    function test_backToAThreadPassesItsRecipient() {
        hub.getMessage("t1", 12, true, "-555@chat", [])
        hub.showFriends()
        compare(pages(), ["home", "message", "friends"])
        getMessageSpy.target = hub
        getMessageSpy.clear()
        w.facebook.goBack()
        compare(getMessageSpy.count, 1)
        compare(getMessageSpy.signalArguments[0][0], "t1")
        compare(getMessageSpy.signalArguments[0][1], 12)
        compare(getMessageSpy.signalArguments[0][2], true)
        compare(getMessageSpy.signalArguments[0][3], "-555@chat")
        compare(pages(), ["home", "message"])
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

    function test_backToSubViews_data() {
        return [
            { tag: "page albums", entry: { "page": "pageAlbums", "id": "p1", "name": "P" },
              view: "Page" },
            { tag: "wall likes", entry: { "page": "wallLikes", "id": "u1", "name": "U" },
              view: "Wall" },
            { tag: "wall album", entry: { "page": "wallAlbum", "id": "a1", "name": "A", "user_id": "u1" },
              view: "Wall" }
        ]
    }

    function test_backToSubViews(data) {
        w.history.append(data.entry)
        hub.showFriends()
        w.facebook.goBack()
        compare(w.currentPage, data.view)
        // The walk back ends on the target's own entry.
        compare(w.history.get(w.history.count - 1).page, data.entry.page)
        compare(w.history.get(w.history.count - 1).id, data.entry.id)
        compare(pages().length, 2)
    }
}
