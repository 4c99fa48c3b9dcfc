import QtQuick 2.15
import QtTest 1.2
import "../../qml/facebook.js" as Facebook
import "../../qml/components/common"
import "../../qml/components/platform"

// The client's shared functions: tokens, parameters, texts, dates, sorting
// and error reporting. `window`, `translator`, `errorbanner` and
// `infobanner` stand where the main window has them.
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

    InfoBanner {
        id: infobanner
        timerEnabled: false
    }

    Item {
        id: waitingIndicator
        property string label
        state: "shown"
        states: [State { name: "shown" }, State { name: "hidden" }]
    }

    function init() {
        window.language = "en"
        waitingIndicator.state = "shown"
        errorbanner.hide()
        Facebook.setComponents(null, null, waitingIndicator)
    }

    function ago(seconds) {
        return new Date(Date.now() - seconds * 1000)
    }

    function test_tokenInBothForms() {
        Facebook.setAccessToken("abc")
        compare(Facebook.accessToken, "access_token=abc")
        compare(Facebook.sessionKey, "abc")
        Facebook.setAccessToken("access_token=abc")
        compare(Facebook.accessToken, "access_token=abc")
        compare(Facebook.sessionKey, "abc")
    }

    function test_parseParameter_data() {
        return [
            { tag: "middle", text: "access_token=XYZ&expires=60", name: "access_token", value: "XYZ" },
            { tag: "to the end", text: "expires=60&access_token=XYZ", name: "access_token", value: "XYZ" },
            { tag: "substring match", text: "x?story_fbid=12&id=7", name: "fbid", value: "12" },
            { tag: "ampersand id", text: "x?story_fbid=12&id=7", name: "&id", value: "7" },
            { tag: "absent", text: "a=1&b=2", name: "code", value: "" },
            { tag: "no equals after", text: "the code", name: "code", value: "" }
        ]
    }

    function test_parseParameter(data) {
        compare(Facebook.parseParameter(data.text, data.name), data.value)
    }

    function test_parseDate() {
        var date = Facebook.parseDate("2011-08-31T22:39:01+0000")
        compare(date.getTime(), Date.UTC(2011, 7, 31, 22, 39, 0))
        compare(Facebook.parseDate("2011-08-31 22:39"), undefined)
        compare(Facebook.parseDateFromNumber(1314830340).getTime(), 1314830340000)
    }

    function test_prettyDate_data() {
        return [
            { tag: "30 s", seconds: 30, text: "Just now" },
            { tag: "61 s within the margin", seconds: 61, text: "1 minute ago" },
            { tag: "66 s at the margin", seconds: 66, text: "1 minute ago" },
            { tag: "67 s past it", seconds: 67, text: "2 minutes ago" },
            { tag: "3 min", seconds: 180, text: "3 minutes ago" },
            { tag: "2 h", seconds: 7200, text: "2 hours ago" },
            { tag: "1 day", seconds: 86400, text: "1 day ago" },
            { tag: "3 days", seconds: 3 * 86400, text: "3 days ago" },
            { tag: "2 weeks", seconds: 2 * 604800, text: "2 weeks ago" },
            { tag: "5 months", seconds: 5 * 2628000, text: "5 months ago" },
            { tag: "3 years", seconds: 3 * 31536000, text: "3 years ago" },
            { tag: "2 h ahead", seconds: -7200, text: "2 hours From Now" }
        ]
    }

    function test_prettyDate(data) {
        compare(Facebook.prettyDate(ago(data.seconds)), data.text)
    }

    function test_prettyDateInOtherLanguages() {
        window.language = "fr"
        var fr = Facebook.prettyDate(ago(180))
        verify(fr.indexOf("3") >= 0 && fr.indexOf("[number]") < 0, fr)
        compare(fr, translator.translate("minutes ago").replace("[number]", "3"))
        window.language = "fi"
        compare(Facebook.prettyDate(ago(180)), "3 " + translator.translate("minutes ago"))
        verify(Facebook.prettyDate(ago(10)) !== "Just now")
    }

    function test_prettyDateTime() {
        var local = new Date(2012, 2, 5, 9, 7)
        compare(Facebook.prettyDateTime(local, false), "5 March - 09:07")
        var utc = new Date(Date.UTC(2012, 2, 5, 23, 59))
        compare(Facebook.prettyDateTime(utc, true), "5 March - 23:59")
        // The date handed in is moved too.
        compare(utc.getHours(), 23)
        window.language = "fi"
        compare(Facebook.prettyDateDate(new Date(2012, 11, 24)), "24 " + translator.translate("December"))
    }

    function test_formatDate() {
        var date = new Date(2013, 0, 2, 3, 4, 5)
        compare(Facebook.formatDate(date, "yyyy-mm-dd HH:MM:ss"), "2013-01-02 03:04:05")
        compare(Facebook.formatDate(date, "HH"), "03")
    }

    function test_htmlEntities() {
        compare(Facebook.htmlEntities("I <3 <b>"), "I &hearts; &lt;b&gt;")
        compare(Facebook.htmlEntities("a & b"), "a & b")
        compare(Facebook.htmlEntities(undefined), "")
    }

    function test_setLinks() {
        var style = "<a style='color:#70aac3;text-decoration:none' href='"
        compare(Facebook.setLinks("see http://a.test/x?y=1. ok"),
                "see " + style + "http://a.test/x?y=1'>http://a.test/x?y=1</a>. ok")
        compare(Facebook.setLinks("www.kelvo.test, then"),
                style + "www.kelvo.test'>www.kelvo.test</a>, then")
        compare(Facebook.setLinks("no links here"), "no links here")
        // Quotes end a link, so a link cannot break out of the attribute.
        compare(Facebook.setLinks("http://a.test/'onmouseover='x"),
                style + "http://a.test/'>http://a.test/</a>'onmouseover='x")
    }

    function test_sorting() {
        var people = [{ name: "bea" }, { name: "Ada" }, { name: "carl" }]
        people.sort(Facebook.sortByName)
        compare(people.map(function (p) { return p.name }), ["Ada", "bea", "carl"])
        var stories = [
            { id: 1, updated_time: "2011-01-01T10:00:00+0000" },
            { id: 2, updated_time: "2012-01-01T10:00:00+0000" },
            { id: 3, updated_time: "2011-06-01T10:00:00+0000" }
        ]
        stories.sort(Facebook.sortByDate)
        compare(stories.map(function (s) { return s.id }), [2, 3, 1])
    }

    function test_errorsAreCountedAndExplained() {
        Facebook.errorCount = 0
        for (var i = 1; i <= 5; ++i) {
            Facebook.showError("x" + i)
            compare(errorbanner.text, "Error! x" + i)
        }
        compare(Facebook.errorCount, 5)
        Facebook.showError("<b>Bad</b> thing")
        compare(errorbanner.text, "Error! <b>Bad</b> thing If problems persists, try to logout and login again.")
        compare(waitingIndicator.state, "hidden")
        verify(errorbanner.shown)
    }

    function test_doneHidesTheWait() {
        Facebook.showDone("{}")
        compare(waitingIndicator.state, "hidden")
        verify(infobanner.shown)
    }

    function test_paging_links_keep_the_root_scheme() {
        var root = Facebook.splitRoot(Facebook.graphRoot())
        var plain = "http://" + root.host + "/me/home?until=1"
        compare(Facebook.withRootScheme(plain), root.scheme + "://" + root.host + "/me/home?until=1")
        compare(Facebook.withRootScheme("http://elsewhere.test/x"), "http://elsewhere.test/x")
    }
}
