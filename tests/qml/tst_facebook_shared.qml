import QtQuick 2.15
import QtTest 1.2
import "../../qml/facebook.js" as Facebook
import "../../qml/client"
import "../../qml/components/common"
import "../../qml/components/platform"

// The client's shared functions: tokens, parameters, texts, dates, sorting,
// reporting, and a request that gets no answer. The session is handed stand-ins
// for the main window's indicator and error banner.
TestCase {
    id: testCase
    name: "FacebookShared"
    width: 480
    height: 854
    when: windowShown

    Item {
        id: window
        property string language: "en"
    }

    TranslationHelper {
        id: translator
    }

    InfoBanner {
        id: errorbanner
        timerEnabled: false
    }

    Item {
        id: waitingIndicator
        property string label
        state: "shown"
        states: [State { name: "shown" }, State { name: "hidden" }]
    }

    ClientSession {
        id: session
        mainWindow: window
        waiting: waitingIndicator
        errorBanner: errorbanner
        translator: translator
    }

    function initTestCase() {
        Facebook.setSession(session)
    }

    function init() {
        window.language = "en"
        waitingIndicator.state = "shown"
        errorbanner.hide()
        session.errorCount = 0
    }

    function ago(seconds) {
        return new Date(Date.now() - seconds * 1000)
    }

    function test_tokenInBothForms() {
        for (const form of ["abc", "access_token=abc"]) {
            Facebook.setAccessToken(form)
            compare(session.accessToken, "access_token=abc", form)
            compare(session.sessionKey, "abc", form)
        }
    }

    // Pure helpers: a function name, its arguments and what it gives.
    function test_helpers_data() {
        var style = "<a style='color:#70aac3;text-decoration:none' href='"
        var date = new Date(2013, 0, 2, 3, 4, 5)
        return [
            { tag: "parameter in the middle", fn: "parseParameter", args: ["access_token=XYZ&expires=60", "access_token"], result: "XYZ" },
            { tag: "parameter to the end", fn: "parseParameter", args: ["expires=60&access_token=XYZ", "access_token"], result: "XYZ" },
            { tag: "parameter by substring", fn: "parseParameter", args: ["x?story_fbid=12&id=7", "fbid"], result: "12" },
            { tag: "parameter &id", fn: "parseParameter", args: ["x?story_fbid=12&id=7", "&id"], result: "7" },
            { tag: "parameter absent", fn: "parseParameter", args: ["a=1&b=2", "code"], result: "" },
            { tag: "parameter without =", fn: "parseParameter", args: ["the code", "code"], result: "" },
            { tag: "entities, heart first", fn: "htmlEntities", args: ["I <3 <b>"], result: "I &hearts; &lt;b&gt;" },
            { tag: "entities keep &", fn: "htmlEntities", args: ["a & b"], result: "a & b" },
            { tag: "entities of nothing", fn: "htmlEntities", args: [undefined], result: "" },
            { tag: "link", fn: "setLinks", args: ["see http://a.test/x?y=1. ok"],
              result: "see " + style + "http://a.test/x?y=1'>http://a.test/x?y=1</a>. ok" },
            { tag: "www link", fn: "setLinks", args: ["www.kelvo.test, then"],
              result: style + "www.kelvo.test'>www.kelvo.test</a>, then" },
            { tag: "no link", fn: "setLinks", args: ["no links here"], result: "no links here" },
            // Quotes end a link, so a link cannot break out of the attribute.
            { tag: "link ends at a quote", fn: "setLinks", args: ["http://a.test/'onmouseover='x"],
              result: style + "http://a.test/'>http://a.test/</a>'onmouseover='x" },
            { tag: "date mask", fn: "formatDate", args: [date, "yyyy-mm-dd HH:MM:ss"], result: "2013-01-02 03:04:05" },
            { tag: "date, seconds dropped", fn: "parseDate", args: ["2011-08-31T22:39:01+0000"],
              result: new Date(Date.UTC(2011, 7, 31, 22, 39, 0)) },
            { tag: "date without T", fn: "parseDate", args: ["2011-08-31 22:39"], result: undefined },
        ]
    }

    function test_helpers(data) {
        compare(Facebook[data.fn].apply(null, data.args), data.result)
    }

    // Counts round up, so the times lie just under a whole count: the
    // milliseconds before prettyDate reads the clock would push one over.
    function test_prettyDate_data() {
        return [
            { tag: "30 s", seconds: 30, text: "Just now" },
            { tag: "65 s within the margin", seconds: 65, text: "1 minute ago" },
            { tag: "67 s past it", seconds: 67, text: "2 minutes ago" },
            { tag: "2 h", seconds: 7190, text: "2 hours ago" },
            { tag: "1 day", seconds: 86400, text: "1 day ago" },
            { tag: "3 years", seconds: 3 * 31536000 - 10, text: "3 years ago" },
            { tag: "2 h ahead", seconds: -7200, text: "2 hours From Now" }
        ]
    }

    function test_prettyDate(data) {
        compare(Facebook.prettyDate(ago(data.seconds)), data.text)
    }

    function test_prettyDateInOtherLanguages() {
        window.language = "fr"
        compare(Facebook.prettyDate(ago(175)), translator.translate("minutes ago").replace("[number]", "3"))
        window.language = "fi"
        compare(Facebook.prettyDate(ago(175)), "3 " + translator.translate("minutes ago"))
        verify(Facebook.prettyDate(ago(10)) !== "Just now")
    }

    // (The UTC shift of prettyDateTime has no test: the tests run in UTC.)
    function test_prettyDateTime() {
        compare(Facebook.prettyDateTime(new Date(2012, 2, 5, 9, 7), false), "5 March - 09:07")
        window.language = "fi"
        compare(Facebook.prettyDateDate(new Date(2012, 11, 24)), "24 " + translator.translate("December"))
    }

    function test_sorting() {
        var people = [{ name: "bea" }, { name: "Ada" }, { name: "carl" }]
        people.sort(Facebook.sortByName)
        compare(people.map(function (p) { return p.name }), ["Ada", "bea", "carl"])
        var stories = [{ id: 1, updated_time: "2011-01-01T10:00:00+0000" }, { id: 2, updated_time: "2012-01-01T10:00:00+0000" },
                       { id: 3, updated_time: "2011-06-01T10:00:00+0000" }]
        stories.sort(Facebook.sortByDate)
        compare(stories.map(function (s) { return s.id }), [2, 3, 1])
    }

    function test_errorsAreCountedAndExplained() {
        for (var i = 1; i <= 5; ++i)
            Facebook.showError("x" + i)
        compare(errorbanner.text, "Error! x5")
        compare(session.errorCount, 5)
        Facebook.showError("<b>Bad</b> thing")
        compare(errorbanner.text, "Error! <b>Bad</b> thing If problems persists, try to logout and login again.")
        compare(waitingIndicator.state, "hidden")
        verify(errorbanner.shown)
    }

    // No answer at all (nothing listens on port 1) is told as such, once: it
    // is no error status, and the callback gets nothing to parse.
    function test_noAnswerIsNoConnection() {
        var called = false
        Facebook.doWebRequest("GET", "http://127.0.0.1:1/me", "", function () { called = true })
        tryCompare(errorbanner, "text", "Error! No connection to the service", 10000)
        compare(session.errorCount, 1)
        verify(!called)
        compare(waitingIndicator.state, "hidden")
    }

    // Paging links may come back over plain http from a root served over https.
    function test_paging_links_keep_the_root_scheme() {
        var root = "https://graph.example"
        compare(Facebook.withRootScheme("http://graph.example/me/home?until=1", root), "https://graph.example/me/home?until=1")
        compare(Facebook.withRootScheme("http://elsewhere.test/x", root), "http://elsewhere.test/x")
    }
}
