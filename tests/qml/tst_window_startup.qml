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

    SignalSpy {
        id: quitSpy
        signalName: "quit"
    }

    property string token

    function initTestCase() {
        token = harness.freshToken()
    }

    function init() {
        harness.clearStore()
    }

    function cleanup() {
        harness.close()
    }

    function test_firstRunIgnoresAStoredTokenOnce() {
        compare(harness.open({ "accesstoken": token }).currentPage, "LoginView")
        compare(harness.stored("newapp"), "0")
        var w = harness.open()
        compare(w.currentPage, "")
        compare(w.token, token)
        compare(harness.pages(), ["home"])
        verify(w.updateTimer.running, "the counts are polled")
    }

    function test_shortTokenCountsAsNone() {
        var w = harness.open({ "newapp": "0", "accesstoken": "access_token=short" })
        compare(w.currentPage, "LoginView")
        compare(w.token, "")
    }

    function test_feedAsStartPage() {
        compare(harness.open({ "newapp": "0", "accesstoken": token, "startPage": "feed" }).currentPage, "NewsFeedList")
        compare(harness.pages(), ["home", "news"])
    }

    function test_settingsFollowTheirDefaults_data() {
        return [
            { tag: "update cycle absent", key: "update_cycle", value: "", property: "updateCycle", expected: 5 },
            { tag: "update cycle 10", key: "update_cycle", value: "10", property: "updateCycle", expected: 10 },
            { tag: "comments empty", key: "comments", value: "", property: "showComments", expected: true },
            { tag: "comments 0", key: "comments", value: "0", property: "showComments", expected: false },
            { tag: "loud empty", key: "loud", value: "", property: "loudSounds", expected: false },
            { tag: "loud 1", key: "loud", value: "1", property: "loudSounds", expected: true },
            { tag: "sound on a fresh install", key: "sound", value: "", property: "soundOption", expected: true },
            { tag: "sound 0", key: "sound", value: "0", property: "soundOption", expected: false },
            { tag: "theme dark", key: "theme", value: "dark", property: "darkTheme", expected: true },
            { tag: "fullscreen 0", key: "fullscreen", value: "0", property: "fullscreen", expected: false },
            { tag: "exitConfirmation 1", key: "exitConfirmation", value: "1", property: "exitConfirmation", expected: true }
        ]
    }

    function test_settingsFollowTheirDefaults(data) {
        var settings = {}
        settings[data.key] = data.value
        compare(harness.open(settings)[data.property], data.expected)
    }

    // Quitting signs out only when the user asked for it.
    function test_quitting_data() {
        return [
            { tag: "with logout", logout: "1", kept: "" },
            { tag: "without logout", logout: "", kept: "token" }
        ]
    }

    function test_quitting(data) {
        var w = harness.open({ "newapp": "0", "accesstoken": token, "logout": data.logout })
        quitSpy.target = w
        quitSpy.clear()
        w.signalHandler.quit()
        compare(quitSpy.count, 1)
        compare(harness.stored("accesstoken"), data.kept && token)
        compare(harness.open().currentPage, data.kept ? "" : "LoginView")
    }

    function test_titleFollowsThePageAndTheLanguage() {
        var w = harness.open({ "newapp": "0", "accesstoken": token })
        w.signalHandler.showWall("42", "Somebody")
        var shown = findChild(w, "windowTitle")
        compare(shown.text, "Profile")
        w.language = "fi"
        verify(shown.text !== "Profile" && shown.text !== "", "the title follows the language: " + shown.text)
    }

    // Only the login redirect, with "code=" after its start, carries a code.
    function test_loginCodeRule() {
        var login = harness.open().currentView.item
        compare(login.objectName, "loginView")
        var waiting = harness.window.waiting
        waiting.state = "hidden"
        login.finished("code=abc")
        login.finished("http://127.0.0.1/dialog/oauth?client_id=1")
        compare(waiting.state, "hidden", "no code, nothing exchanged")
        login.finished("http://127.0.0.1/connect/login_success.html?code=abc")
        compare(waiting.state, "shown", "the code is being exchanged")
    }
}
