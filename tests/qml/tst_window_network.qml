import QtQuick 2.15
import QtTest 1.2
import Kelvo 1.0

// The main window against the sandbox service over real HTTP: signing in
// with a login code, a token the service no longer takes, a refused request
// without a usable token, the reload after a posting, and the update count
// poll with its alerts.
TestCase {
    id: testCase
    name: "WindowNetwork"
    width: 480
    height: 854
    when: windowShown

    WindowHarness {
        id: harness
        testCase: testCase
    }

    SignalSpy {
        id: soundSpy
        signalName: "playSound"
    }

    SignalSpy {
        id: disconnectSpy
        signalName: "disconnectChat"
    }

    // A page whose centre button is `centerBtn`; counts its centre actions.
    Component {
        id: reloadablePage
        Item {
            property string centerBtn
            property int reloads: 0
            function centerAction() { reloads++ }
        }
    }

    function loginRedirect(code) {
        return ServiceConfig.webRoot + "/connect/login_success.html?code=" + code
    }

    // Sends one request through the window's client and waits for its answer.
    function request(w, method, url) {
        var answered = false
        w.facebook.doWebRequest(method, url, "", function () { answered = true })
        tryVerify(function () { return answered }, 10000, method + " " + url)
    }

    // Waits until the poll the window sent has been answered.
    function poll(w) {
        w.waiting.state = "hidden"
        w.facebook.fetchUpdateCounts()
        compare(w.waiting.state, "shown")
        tryCompare(w.waiting, "state", "hidden", 10000)
    }

    function init() {
        harness.clearStore()
        soundSpy.clear()
        disconnectSpy.clear()
    }

    function cleanup() {
        harness.close()
    }

    function test_signInWithALoginCode_data() {
        return [
            { tag: "home menu first", startPage: "", page: "", entry: "home" },
            { tag: "news feed first", startPage: "feed", page: "NewsFeedList", entry: "news" }
        ]
    }

    function test_signInWithALoginCode(data) {
        var w = harness.open({ "newapp": "0", "chatOn": "0", "startPage": data.startPage })
        compare(w.currentPage, "LoginView")
        tryVerify(function () { return w.currentView.item.loaded }, 20000, "the login dialog loads")
        w.currentView.item.finished(loginRedirect(harness.call("POST", "/_sandbox/code").code))

        var account = harness.call("GET", "/_sandbox/account")
        tryCompare(w, "ownId", account.id, 10000)
        tryVerify(function () { return w.countsLoaded }, 10000)
        compare(w.currentPage, data.page)
        compare(harness.lastEntry().page, data.entry)

        // Both the pair and the bare token are stored, and the stored token
        // (by now the long-lived one) is one the service takes.
        tryVerify(function () { return harness.stored("accesstoken") === w.token }, 10000)
        compare(w.token.indexOf("access_token="), 0)
        compare(harness.stored("sessionkey"), w.token.substring("access_token=".length))
        compare(harness.call("GET", "/me?fields=id&" + w.token).id, account.id)
    }

    // A refused request (400: a wrong login code, or the REST method without
    // its format) sends the user to sign in only when the held token cannot
    // be used.
    function test_badRequest_data() {
        return [
            { tag: "a wrong login code", signedIn: false, login: true },
            { tag: "a short token", signedIn: true, token: "access_token=short", login: true },
            { tag: "a usable token", signedIn: true, login: false }
        ]
    }

    function test_badRequest(data) {
        var w
        if (data.signedIn) {
            w = harness.signedIn()
            if (data.token)
                w.token = data.token
            request(w, "GET", ServiceConfig.restRoot + "/method/notifications.get?" + w.token)
        } else {
            w = harness.open({ "newapp": "0", "chatOn": "0" })
            w.currentView.item.finished(loginRedirect("nonsense"))
            tryVerify(function () { return w.errorbanner.shown }, 10000)
            compare(harness.stored("accesstoken"), "")
        }
        compare(w.errorbanner.text, "Error! Facebook API returned 400 Bad Request")
        compare(w.waiting.state, "hidden")
        compare(w.currentPage === "LoginView", data.login)
        compare(w.done.label === "Error with the request, please try again.", data.login)
    }

    function test_deadTokenSignsOut() {
        var w = harness.signedIn()
        disconnectSpy.target = w
        w.chatModel.append({ "jid": "-1@chat", "name": "A" })
        w.openConversations.append({ "jid": "-1@chat", "name": "A" })
        w.unread_messages = 2
        w.friend_requests = 1
        w.open_events = 1
        w.hasNewMessage = true
        w.toolbar.chatAlert = true
        verify(w.unread_notifications > 0)

        harness.call("POST", "/_sandbox/expire_token?token=" + w.token.substring("access_token=".length))
        w.facebook.fetchUpdateCounts()
        tryCompare(w, "currentPage", "LoginView", 10000)
        compare(harness.stored("accesstoken"), "")
        compare(w.chatModel.count, 0)
        compare(w.openConversations.count, 0)
        verify(disconnectSpy.count >= 1)
        verify(w.errorbanner.text.indexOf("Session has timed out, you need to relogin") >= 0, w.errorbanner.text)
        compare(w.menu.item, null)
        // Nothing of the old account stays on the login view.
        for (const badge of ["unread_notifications", "unread_messages", "friend_requests", "open_events"])
            compare(w[badge], 0, badge)
        verify(!w.hasNewMessage)
        verify(!w.toolbar.chatAlert)
        verify(!w.bottomBar.alertShown)
    }

    function test_aPostingReloadsTheView_data() {
        return [
            { tag: "posting, reload offered", method: "POST", icon: "reload.svg", reloads: 1 },
            { tag: "reading", method: "GET", icon: "reload.svg", reloads: 0 },
            { tag: "posting, another centre button", method: "POST", icon: "add.svg", reloads: 0 }
        ]
    }

    function test_aPostingReloadsTheView(data) {
        var w = harness.signedIn()
        w.menu.sourceComponent = undefined
        w.currentView.sourceComponent = reloadablePage
        var page = w.currentView.item
        page.centerBtn = "../media/BottomBar/" + data.icon
        compare(w.bottomBar.centerBtn, page.centerBtn)
        request(w, data.method, ServiceConfig.graphRoot + "/me/feed?message=Hello&" + w.token)
        compare(page.reloads, data.reloads)
    }

    // The home feed over real HTTP fills the news model with each story once;
    // its "Load more" row gives way to the next page.
    function test_homeFeedAndItsNextPage() {
        var w = harness.signedIn()
        var ids = function () {
            var found = []
            for (var i = 0; i < w.newsModel.count; ++i)
                found.push(w.newsModel.get(i).id)
            return found
        }
        w.signalHandler.showNews()
        tryVerify(function () { return w.newsModel.count > 1 && w.waiting.state === "hidden" }, 10000, "the feed")
        var last = w.newsModel.get(w.newsModel.count - 1)
        compare([last.type, last.next.indexOf(ServiceConfig.graphRoot + "/"), last.next.indexOf("access_token")],
                ["next", 0, -1])
        var first = ids()
        verify(first[0] !== "" && typeof w.newsModel.get(0).likes === "number")
        w.facebook.nextPage(last.next)
        tryVerify(function () { return ids().length > first.length && w.waiting.state === "hidden" }, 10000,
                  "the next page")
        var all = ids().filter(function (id) { return id !== "" })
        compare(all.filter(function (id, i) { return all.indexOf(id) !== i }), [], "each story once")
        compare(ids().slice(0, first.length - 1), first.slice(0, first.length - 1))
    }

    // The home feed as last shown comes back at once on the next start with
    // the same token, marked as updating and without the busy overlay; never
    // after a sign-out, a dead token, or for another account.
    function test_keptHomeFeed_data() {
        return [
            { tag: "next start, same token", between: "", shown: true },
            { tag: "after logout", between: "logout", shown: false },
            { tag: "after the token died", between: "expire", shown: false },
            { tag: "another account", between: "other", shown: false }
        ]
    }

    function test_keptHomeFeed(data) {
        var w = harness.signedIn()
        var token = w.token
        w.signalHandler.showNews()
        tryVerify(function () { return w.newsModel.count > 1 && w.waiting.state === "hidden" }, 10000, "the feed")
        var first = w.newsModel.get(0)
        var firstId = first.id
        verify(first.profileImageUrl.indexOf(token) > 0, "the shown picture carries the token")
        if (data.between === "logout") {
            w.signalHandler.logout()
        } else if (data.between === "expire") {
            harness.call("POST", "/_sandbox/expire_token?token=" + token.substring("access_token=".length))
            w.facebook.fetchUpdateCounts()
            tryCompare(w, "currentPage", "LoginView", 10000)
        } else if (data.between === "other") {
            var friend = harness.call("GET", "/me/friends?" + token).data[0].id
            token = "access_token=" + harness.call("POST", "/_sandbox/token?user=" + friend).access_token
        }
        harness.close()

        var next = harness.open({ "newapp": "0", "chatOn": "0", "accesstoken": token })
        compare([next.newsModel.count > 0, next.newsFromSnapshot], [data.shown, data.shown])
        if (!data.shown)
            return
        compare(next.newsModel.get(0).id, firstId)
        var picture = next.newsModel.get(0).profileImageUrl
        compare(picture.substring(picture.length - token.length), token, "the picture gets this run's token")
        next.signalHandler.showNews()
        compare(next.waiting.state, "hidden", "no busy overlay over the kept feed")
        compare(next.newsModel.get(0).id, firstId, "kept until the answer")
        tryVerify(function () { return !next.newsFromSnapshot }, 10000, "the answer replaces the kept feed")
        verify(next.newsModel.count > 1)
    }

    // A tapped story opens over the feed with its own row and comments; back
    // shows the same feed again without fetching it.
    function test_storyOverTheFeedAndBack() {
        var w = harness.signedIn()
        w.signalHandler.showNews()
        tryVerify(function () { return w.newsModel.count > 1 && w.waiting.state === "hidden" }, 10000, "the feed")
        var first = w.newsModel.get(0)
        harness.loads = []
        w.currentView.item.clicked(0)
        var story = w.currentViewTop.item
        verify(story !== null && story.objectName === "StatusView")
        compare([story.status_id, story.user_name, w.title, harness.lastEntry().page, harness.lastEntry().id],
                [first.id, first.fromName, "Status", "status", first.id])
        var fetched = first.comments > first.discussion_count
        compare(harness.loads, fetched ? [["loadStatusComments", first.id]] : [])
        if (!fetched)
            compare(w.statusCommentsModel.count, first.discussion_count)

        w.bottomBar.backPressed()
        compare(w.currentViewTop.item, null)
        compare([w.currentPage, harness.pages().pop(), w.newsModel.get(0).id], ["NewsFeedList", "news", first.id])
        compare(harness.loads.filter(function (load) { return load[0] === "loadHomeFeed" }), [])
    }

    // The rest of the feed family over real HTTP: each fills its model with
    // rows the pages can read.
    function test_feedFamilyFillsItsModels_data() {
        return [
            { tag: "own wall", emit: ["showProfile"], model: "wallModel" },
            { tag: "page wall", emit: ["showPage", "300000000000001", "Kelvo"], model: "pageModel" },
            { tag: "filtered feed", emit: ["loadFilterHomeFeed", "Photos", "app_600000000000005", 0], model: "newsModel",
              filterType: "photo" },
            { tag: "group wall", emit: ["showGroup", "400000000000001", "G"], model: "groupFeedModel" },
            { tag: "event wall", emit: ["loadEventFeed", "500000000000001"], model: "eventFeedModel" },
            { tag: "filters", emit: ["loadFilters"], model: "filterModel" }
        ]
    }

    function test_feedFamilyFillsItsModels(data) {
        var w = harness.signedIn()
        var model = w[data.model]
        w.signalHandler[data.emit[0]].apply(w.signalHandler, data.emit.slice(1))
        tryVerify(function () { return model.count > 0 && w.waiting.state === "hidden" }, 10000, data.model)
        for (var i = 0; i < model.count; ++i) {
            var row = model.get(i)
            verify(row.name !== "" || row.message !== "", "row " + i + " shows something")
            verify(data.model === "filterModel" || typeof row.likes === "number", "row " + i + " likes")
        }
        compare(w.errorbanner.text, "", "no error shown")
        if (data.filterType)
            compare(w.clientSession.filterType, data.filterType)
    }

    function test_pollAlertsOncePerChange() {
        var w = harness.open({ "newapp": "0", "chatOn": "0", "sound": "1", "accesstoken": harness.freshToken() })
        soundSpy.target = w
        tryVerify(function () { return w.countsLoaded }, 10000)
        var unseen = w.unread_notifications
        verify(unseen > 0, "the sandbox account starts with unseen notifications")
        tryCompare(soundSpy, "count", 1)
        compare(soundSpy.signalArguments[0][0], "notification")
        compare(soundSpy.signalArguments[0][1], "0")

        poll(w)
        compare(w.unread_notifications, unseen)
        compare(soundSpy.count, 1, "the same count alerts once")

        harness.call("POST", "/_sandbox/notifications?title=Ann%20likes%20your%20photo")
        w.loudSounds = true
        poll(w)
        compare(w.unread_notifications, unseen + 1)
        compare(soundSpy.count, 2)
        compare(soundSpy.signalArguments[1][1], "1", "loud")

        // Without sounds the banner still tells.
        w.soundOption = false
        w.notificationbanner.hide()
        harness.call("POST", "/_sandbox/notifications?title=Bo%20commented")
        poll(w)
        compare(w.unread_notifications, unseen + 2)
        compare(soundSpy.count, 2)
        verify(w.notificationbanner.shown)
        compare(w.notificationbanner.text, "New notification")
        compare(w.notificationbanner.iconSource, Qt.resolvedUrl("../../qml/components/media/notification.svg"))
    }
}
