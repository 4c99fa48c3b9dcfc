import QtQuick 2.15
import QtTest 1.2

// The main window's start-up: settings read and applied in order, the choice
// between the login view and the start page, quitting and the title.
TestCase {
    id: testCase
    name: "WindowStartup"
    width: 480
    height: 854
    when: windowShown

    WindowHarness {
        id: harness
        testCase: testCase
    }

    function initTestCase() {
        harness.issueToken()
        tryVerify(function () { return harness.token !== "" }, 10000)
    }

    SignalSpy {
        id: quitSpy
        signalName: "quit"
    }

    function init() {
        harness.clearStore()
    }

    function cleanup() {
        harness.close()
    }

    function test_firstRunIgnoresAStoredTokenOnce() {
        var w = harness.open({ "accesstoken": harness.token })
        compare(w.currentPage, "LoginView")
        compare(w.menu.item, null)
        compare(harness.stored("newapp"), "0")

        w = harness.open()
        compare(w.currentPage, "")
        verify(w.menu.item !== null)
        compare(w.token, harness.token)
        compare(w.history.count, 1)
        compare(w.history.get(0).page, "home")
        compare(w.title, "Kelvo")
    }

    function test_shortTokenCountsAsNone() {
        var w = harness.open({ "newapp": "0", "accesstoken": "access_token=short" })
        compare(w.currentPage, "LoginView")
        compare(w.token, "")
    }

    function test_feedAsStartPage() {
        var w = harness.open({ "newapp": "0", "accesstoken": harness.token, "startPage": "feed" })
        compare(w.currentPage, "NewsFeedList")
        compare(w.history.count, 2)
        compare(w.history.get(0).page, "home")
        compare(w.history.get(1).page, "news")
        compare(w.title, "News Feed")
    }

    function test_updateCycle_data() {
        return [
            { tag: "absent", value: "", minutes: 5 },
            { tag: "ten", value: "10", minutes: 10 }
        ]
    }

    function test_updateCycle(data) {
        var w = harness.open({ "update_cycle": data.value })
        compare(w.updateCycle, data.minutes)
        compare(w.updateTimer.interval, data.minutes * 60000)
        verify(w.updateTimer.running)
    }

    function test_flagsFollowTheirDefaults_data() {
        return [
            { tag: "comments empty", key: "comments", value: "", property: "showComments", expected: true },
            { tag: "comments 0", key: "comments", value: "0", property: "showComments", expected: false },
            { tag: "comments 1", key: "comments", value: "1", property: "showComments", expected: true },
            { tag: "loud empty", key: "loud", value: "", property: "loudSounds", expected: false },
            { tag: "loud 0", key: "loud", value: "0", property: "loudSounds", expected: false },
            { tag: "loud 1", key: "loud", value: "1", property: "loudSounds", expected: true },
            { tag: "sound on a fresh install", key: "sound", value: "", property: "soundOption", expected: true },
            { tag: "sound 0", key: "sound", value: "0", property: "soundOption", expected: false },
            { tag: "theme dark", key: "theme", value: "dark", property: "darkTheme", expected: true },
            { tag: "fullscreen 0", key: "fullscreen", value: "0", property: "fullscreen", expected: false },
            { tag: "exitConfirmation 1", key: "exitConfirmation", value: "1", property: "exitConfirmation", expected: true }
        ]
    }

    function test_flagsFollowTheirDefaults(data) {
        var settings = {}
        settings[data.key] = data.value
        var w = harness.open(settings)
        compare(w[data.property], data.expected)
    }

    function test_quittingWithLogoutClearsTheToken() {
        var w = harness.open({ "newapp": "0", "accesstoken": harness.token, "logout": "1" })
        quitSpy.target = w
        quitSpy.clear()
        w.signalHandler.quit()
        compare(quitSpy.count, 1)
        compare(harness.stored("accesstoken"), "")

        w = harness.open()
        compare(w.currentPage, "LoginView")
    }

    function test_quittingWithoutLogoutKeepsTheToken() {
        var w = harness.open({ "newapp": "0", "accesstoken": harness.token })
        quitSpy.target = w
        quitSpy.clear()
        w.signalHandler.quit()
        compare(quitSpy.count, 1)
        compare(harness.stored("accesstoken"), harness.token)
    }

    function test_titles() {
        var w = harness.open({ "newapp": "0", "accesstoken": harness.token })
        compare(w.title, "Kelvo")
        w.signalHandler.showChat()
        compare(w.title, "Chat")
        w.signalHandler.showFriends()
        compare(w.title, "Friends")
        w.signalHandler.showWall("42", "Somebody")
        compare(w.title, "Profile")
        var shown = findChild(w, "windowTitle")
        compare(shown.text, "Profile")
        w.language = "fi"
        verify(shown.text !== "Profile" && shown.text !== "", "the title follows the language: " + shown.text)
    }

    function test_loginCodeRule() {
        var w = harness.open()
        var login = w.currentView.item
        compare(login.objectName, "loginView")
        w.waiting.state = "hidden"
        login.finished("code=abc")
        compare(w.waiting.state, "hidden", "a URL that begins with code= is not the redirect")
        login.finished("http://127.0.0.1/dialog/oauth?client_id=1")
        compare(w.waiting.state, "hidden")
        login.finished("http://127.0.0.1/connect/login_success.html?code=abc")
        compare(w.waiting.state, "shown", "the code is being exchanged")
    }
}
