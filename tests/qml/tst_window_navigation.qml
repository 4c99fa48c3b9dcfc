import QtQuick 2.15
import QtTest 1.2

// Navigation flows the route tables cannot express: going home trims the
// history, a refresh is not recorded, back closes the feed's filter menu,
// back on the only entry stays, back between walls, the recipient a thread
// gets back, and a conversation's view.
TestCase {
    id: testCase
    name: "WindowNavigation"
    width: 480
    height: 854
    when: windowShown

    WindowHarness {
        id: harness
        testCase: testCase
    }

    // The story list (built later) with its filter menu open: `filterOpen`.
    Component {
        id: feedWithFilterMenu
        Item { property bool filterOpen: true }
    }

    property var w: null
    property var hub: null

    function init() {
        w = harness.signedIn()
        hub = w.signalHandler
    }

    function cleanup() {
        harness.close()
    }

    function test_homeKeepsFiveEntries() {
        hub.showChat()
        hub.showFriends()
        hub.showGroups()
        hub.showEvents()
        hub.showHome()
        compare(harness.pages(), ["chat", "friends", "groups", "events", "home"])
    }

    function test_refreshDoesNotRecordButTheNextShowDoes() {
        hub.showNews()
        w.noHistory = true
        hub.showNews()
        compare(harness.pages(), ["home", "news"])
        compare(w.noHistory, false)
        hub.showNews()
        compare(harness.pages(), ["home", "news", "news"])
    }

    function test_backOnTheOnlyEntryStays() {
        w.facebook.goBack()
        compare(harness.pages(), ["home"])
        verify(w.menu.item !== null)
    }

    function test_backClosesTheFilterMenuFirst() {
        hub.showNews()
        w.currentView.sourceComponent = feedWithFilterMenu
        var feed = w.currentView.item
        w.facebook.goBack()
        compare(harness.pages(), ["home", "news"], "still on the feed")
        compare(feed.filterOpen, false)
    }

    // Back to a thread passes the recipient stored with it.
    function test_backToAThreadPassesItsRecipient() {
        hub.getMessage("t1", 12, true, "-555@chat", [])
        hub.showFriends()
        var recipients = []
        hub.getMessage.connect(function (id, count, canReply, recipient) { recipients.push(recipient) })
        w.facebook.goBack()
        compare(recipients, ["-555@chat"])
    }

    // Back to a wall shows the stored list only when it is that wall's.
    function test_backToAWall_data() {
        return [
            { tag: "from another wall", walls: ["A", "B"], load: [["loadUserWall", "A"]] },
            { tag: "the same wall", walls: ["A"], load: [] }
        ]
    }

    function test_backToAWall(data) {
        data.walls.forEach(function (id) { hub.showWall(id, "Wall " + id) })
        hub.showFriends()
        w.wallModel.append({ "id": "post" })
        harness.loads = []
        data.walls.forEach(function () { w.facebook.goBack() })
        compare(harness.loads.filter(function (load) { return load[0] === "loadUserWall" }), data.load)
        compare(harness.pages(), ["home", "wall"])
        compare(harness.lastEntry().id, "A")
    }

    // A conversation's view gets the contact's bare numeric id, also when
    // going back to it.
    function test_conversationGetsTheBareId() {
        w.showChat("-555@chat.example", "Ann")
        hub.showFriends()
        w.facebook.goBack()
        var views = harness.shown.filter(function (shown) { return shown.name === "ChatView" })
        compare(views.map(function (view) { return view.properties.profileId }), ["555", "555"])
        compare(harness.pages(), ["home", "chatView"])
        compare(harness.lastEntry().jid, "-555@chat.example")
    }
}
