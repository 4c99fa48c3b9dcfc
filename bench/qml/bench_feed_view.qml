import QtQuick 2.15
import QtQuick.Window 2.15
import QtTest 1.2
import Kelvo 1.0
import "../../tests/qml"

// The home feed of 500 stories: the answer parsed into the news list and its
// first frame shown, against V4's JSON.parse of the same text; the first
// frame at 25 and 500 rows; a scroll to the end frame by frame. Prints
// medians; asserts nothing about time. Run by bench/feed_view.sh.
TestCase {
    id: bench
    name: "FeedViewBench"
    width: 854
    height: 480
    when: windowShown

    readonly property int runs: 7

    // A window of its own at the design size, so that frames are drawn.
    Window {
        id: screen
        width: 854
        height: 480
        visible: true

        WindowHarness {
            id: harness
            testCase: bench
            width: 854
            height: 480
        }
    }

    function median(values) {
        var sorted = values.slice().sort(function (a, b) { return a - b })
        return sorted[Math.floor(sorted.length / 2)]
    }

    function fetch(url) {
        var text
        var request = new XMLHttpRequest()
        request.onreadystatechange = function () {
            if (request.readyState === XMLHttpRequest.DONE)
                text = request.responseText
        }
        request.open("GET", url)
        request.send()
        tryVerify(function () { return text !== undefined }, 60000, url)
        return text
    }

    function list(w) {
        var page = w.currentView.item
        return page.listView !== undefined ? page.listView : page
    }

    // Milliseconds from filling the news model with `rows` to its first frame.
    function showRows(w, rows) {
        var model = w.newsModel
        model.clear()
        waitForRendering(w)
        var start = Date.now()
        rows.forEach(function (row) { model.append(row) })
        waitForRendering(w)
        return Date.now() - start
    }

    function test_feedOf500() {
        harness.call("POST", "/_sandbox/feed_size?stories=500")
        var w = harness.signedIn()
        w.signalHandler.showNews()
        tryVerify(function () { return w.newsModel.count > 1 && w.waiting.state === "hidden" }, 60000, "the feed")
        console.log("feed shown; fetching the long answer")
        var text = fetch(ServiceConfig.graphRoot + "/me/home?limit=500&" + w.token)
        var context = {
            graphRoot: ServiceConfig.graphRoot, token: w.token, language: "en", titleColor: "#3B5998",
            filterType: "", translate: function (key) { return key }
        }

        console.log("fetched " + text.length + " characters")
        var parseTimes = [], shownTimes = [], rows
        for (var run = 0; run < runs; ++run) {
            var start = Date.now()
            JSON.parse(text)
            parseTimes.push(Date.now() - start)

            w.newsModel.clear()
            waitForRendering(w)
            start = Date.now()
            rows = w.facebook.parseHomeFeed(text, context).rows
            rows.forEach(function (row) { w.newsModel.append(row) })
            waitForRendering(w)
            shownTimes.push(Date.now() - start)
        }
        console.log("parsed and shown " + runs + " times")
        var first25 = [], first500 = []
        for (run = 0; run < runs; ++run) {
            first25.push(showRows(w, rows.slice(0, 25)))
            first500.push(showRows(w, rows))
        }

        var view = list(w)
        view.positionViewAtBeginning()
        waitForRendering(w)
        var frames = [], total = Date.now()
        // The list's height is an estimate until every row was made: scroll
        // half a screen a frame until a step no longer moves it.
        for (var steps = 0; steps < 10000; ++steps) {
            var before = view.contentY, step = Date.now()
            view.contentY = Math.min(before + view.height / 2, view.originY + view.contentHeight - view.height)
            waitForRendering(w)
            frames.push(Date.now() - step)
            if (view.contentY <= before + 0.5)
                break
        }
        total = Date.now() - total

        console.log("answer: " + text.length + " characters, " + (rows.length - 1) + " stories shown")
        console.log("JSON.parse: median " + median(parseTimes) + " ms")
        console.log("parsed and shown (first frame): median " + median(shownTimes) + " ms, "
                    + (median(shownTimes) / Math.max(1, median(parseTimes))).toFixed(1) + "x JSON.parse")
        console.log("first frame, 25 rows: median " + median(first25) + " ms; 500 rows: median "
                    + median(first500) + " ms")
        console.log("scroll to the end: " + frames.length + " steps, " + total + " ms, worst frame "
                    + Math.max.apply(null, frames) + " ms, median frame " + median(frames) + " ms")
        verify(rows.length > 400, "the sandbox served the long feed")
    }
}
