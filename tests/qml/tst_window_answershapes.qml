import QtQuick 2.15
import QtTest 1.2
import Kelvo 1.0

// The main window's lists against every answer shape the sandbox can send,
// failed and late answers, and the home feed read to its end: no list is
// left with a spinner, a list is replaced only by a usable answer, and the
// banner shows only when nothing usable came.
TestCase {
    id: testCase
    name: "WindowAnswerShapes"
    width: 480
    height: 854
    when: windowShown

    WindowHarness {
        id: harness
        testCase: testCase
    }

    property var w: null
    property var world: ({})

    function init() {
        w = harness.signedIn()
        var friends = harness.call("GET", "/me/friends?" + w.token).data
        world = { friend: friends[0].id, other: friends[1].id,
                  story: harness.call("GET", "/me/home?" + w.token).data[0].id }
    }

    function cleanup() {
        harness.call("POST", "/_sandbox/variant?shape=")
        harness.call("POST", "/_sandbox/fail")
        harness.call("POST", "/_sandbox/feed_paging?by=offset")
        harness.close()
    }

    function emit(signalName, args) {
        w.signalHandler[signalName].apply(w.signalHandler, args.map(function (arg) {
            return String(arg).replace("{friend}", world.friend).replace("{story}", world.story)
        }))
    }

    // The answer came: the list filled, the error shown, or (`mayStayEmpty`)
    // the wait ended.
    function settled(model, mayStayEmpty) {
        tryVerify(function () {
            return w.waiting.state === "hidden" && (model.count > 0 || w.errorbanner.text !== "" || mayStayEmpty)
        }, 10000, "the list filled or the error shown")
    }

    function test_everyShape_data() {
        var loads = [
            { what: "home feed", emit: ["showNews"], model: "newsModel" },
            { what: "wall", emit: ["showWall", "{friend}", "F"], model: "wallModel" },
            { what: "story", emit: ["loadStatus", "{story}"], model: "statusModel" },
            { what: "comments", emit: ["showComments", "{story}"], model: "commentsModel" },
            { what: "likes", emit: ["showLikes", "{story}"], model: "likesModel" }
        ]
        var rows = []
        ;["objects", "arrays", "numbers", "sparse", "cursors", "escapes", "batchfail"].forEach(function (shape) {
            loads.forEach(function (load) {
                // Comments that come as a count alone leave nothing to list.
                rows.push({ tag: shape + ": " + load.what, shape: shape, emit: load.emit, model: load.model,
                            mayStayEmpty: shape === "sparse" && load.what === "comments" })
            })
        })
        return rows
    }

    function test_everyShape(data) {
        harness.call("POST", "/_sandbox/variant?shape=" + data.shape)
        emit(data.emit[0], data.emit.slice(1))
        var model = w[data.model]
        settled(model, data.mayStayEmpty)
        for (var i = 0; i < model.count; ++i) {
            var row = model.get(i)
            if (row.likes !== undefined)
                compare(typeof row.likes, "number", "row " + i + " likes")
            if (row.like_count !== undefined)
                compare(typeof row.like_count, "number", "row " + i + " like_count")
        }
        if (model.count > 0 && data.shape !== "batchfail")
            compare(w.errorbanner.text, "", "no error with a usable answer")
    }

    // A failed or unreadable answer keeps the list shown and says so.
    function test_failedAnswerKeepsTheList_data() {
        return [
            { tag: "server error page", status: 500, body: "<html>oops</html>",
              error: "Error! Facebook API returned 500 Internal Server Error" },
            { tag: "not JSON with 200", status: 200, body: "<html>maintenance</html>",
              error: "Error! Could not read the answer of the service" }
        ]
    }

    function test_failedAnswerKeepsTheList(data) {
        w.signalHandler.showNews()
        settled(w.newsModel)
        compare(w.errorbanner.text, "")
        var first = w.newsModel.get(0).id, count = w.newsModel.count
        harness.call("POST", "/_sandbox/fail?path=/me/home&status=" + data.status + "&body="
                     + encodeURIComponent(data.body))
        w.reload = true
        w.signalHandler.showNews()
        tryVerify(function () { return w.errorbanner.text !== "" }, 10000, "the error")
        compare([w.errorbanner.text, w.waiting.state], [data.error, "hidden"])
        compare([w.newsModel.count, w.newsModel.get(0).id], [count, first])
    }

    // Wall A answers after wall B was asked for: B's wall stays.
    function test_lateWallIsDropped() {
        harness.call("POST", "/_sandbox/fail?path=/&delay_ms=1500")
        w.signalHandler.showWall(world.other, "A")
        w.signalHandler.showWall(world.friend, "B")
        var expected = harness.call("GET", "/" + world.friend + "/feed?" + w.token).data[0].id
        tryVerify(function () { return w.wallModel.count > 0 }, 10000, "wall B")
        compare(w.wallModel.get(0).id, expected)
        wait(2000)
        compare(w.wallModel.get(0).id, expected, "wall A's late answer dropped")
    }

    // Paged by time to the end, with a status posted between pages: every
    // story of the feed once, none missing.
    function test_homeFeedToItsEnd() {
        harness.call("POST", "/_sandbox/feed_paging?by=time")
        // The stories one page of them all shows: some are never shown.
        var context = { graphRoot: ServiceConfig.graphRoot, token: w.token, language: "en", titleColor: "#000",
                        filterType: "", translate: function (key) { return key } }
        var whole = w.facebook.parseFeed(JSON.stringify({ data: harness.call("GET", "/me/home?limit=1000&" + w.token).data }),
                                         context, []).rows
        var expected = whole.map(function (row) { return row.id }).filter(function (id) { return id !== "" })
        w.signalHandler.showNews()
        settled(w.newsModel)
        var posted = false
        for (var page = 0; page < 100; ++page) {
            var last = w.newsModel.get(w.newsModel.count - 1)
            if (last.type !== "next")
                break
            if (!posted) {
                harness.call("POST", "/me/feed?message=Between%20pages&" + w.token)
                posted = true
            }
            w.facebook.nextPage(last.next)
            tryVerify(function () {
                return w.waiting.state === "hidden" && w.newsModel.get(w.newsModel.count - 1) !== last
            }, 10000, "page " + page)
        }
        var shown = []
        for (var i = 0; i < w.newsModel.count; ++i) {
            if (w.newsModel.get(i).id !== "")
                shown.push(w.newsModel.get(i).id)
        }
        verify(shown.length > 25, "more than one page: " + shown.length)
        compare(shown, expected, "page by page as in one page: each story once, none missing")
    }
}
