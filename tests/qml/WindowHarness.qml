import QtQuick 2.15
import Kelvo 1.0
import "../../qml/storage.js" as Storage

// Creates the real main window in a fresh state for each test, with given
// stored settings, against the sandbox service the test runner started.
// `translator` stands in for the store's language switch while settings are
// written before any window exists.
Item {
    id: harness
    width: 480
    height: 854

    property var window: null
    // Closed windows are kept, hidden, until the test file ends: an answer
    // still on its way must not reach a script context that is gone.
    property var closed: []
    // A token the sandbox issued (issueToken()), so a signed-in window's own
    // requests succeed.
    property string token
    // What the open window's navigation asked the web-API client for, in
    // order: [loader name, arguments...]; and the pages and panels it showed:
    // { name, properties }.
    property var loads: []
    property var shown: []

    QtObject {
        id: translator
        function setLanguage(lang) {}
    }

    // Sends a request to the sandbox; `done` gets the answer as JSON.
    function sandbox(method, path, done) {
        var request = new XMLHttpRequest()
        request.onreadystatechange = function () {
            if (request.readyState !== XMLHttpRequest.DONE)
                return
            if (request.status !== 200)
                console.warn("sandbox: " + method + " " + ServiceConfig.graphRoot + path + ": " + request.status + " " + request.responseText)
            done(request.status === 200 ? JSON.parse(request.responseText) : null)
        }
        request.open(method, ServiceConfig.graphRoot + path)
        request.send()
    }

    // The test case the harness waits with.
    property var testCase: null

    // One request to the sandbox, waited for; the answer as JSON.
    function call(method, path) {
        var answer
        sandbox(method, path, function (result) { answer = result })
        testCase.tryVerify(function () { return answer !== undefined }, 10000, method + " " + path)
        testCase.verify(answer !== null, method + " " + path + " failed")
        return answer
    }

    // A bare token the sandbox issued for its account.
    function freshToken() {
        return call("POST", "/_sandbox/token").access_token
    }

    // A window signed in with a fresh token, chat off, its first poll answered.
    function signedIn(settings) {
        var all = { "newapp": "0", "chatOn": "0", "accesstoken": "access_token=" + freshToken() }
        for (var key in settings)
            all[key] = settings[key]
        var w = open(all)
        testCase.tryVerify(function () { return w.countsLoaded }, 10000, "the first poll is answered")
        return w
    }

    function store(settings) {
        for (var key in settings)
            Storage.setKeyValue(key, settings[key])
    }

    function stored(key) {
        var result
        Storage.getKeyValue(key, function (k, value) { result = value })
        return result
    }

    // Clears every stored setting so each test starts from a first run.
    function clearStore() {
        var keys = ["newapp", "accesstoken", "sessionkey", "startPage", "update_cycle", "comments",
                    "loud", "sound", "logout", "chatOn", "language", "theme", "fullscreen", "exitConfirmation"]
        for (var i = 0; i < keys.length; ++i)
            Storage.setKeyValue(keys[i], "")
    }

    function issueToken() {
        sandbox("POST", "/_sandbox/token", function (answer) {
            token = "access_token=" + answer.access_token
        })
    }

    function open(settings) {
        close()
        if (settings)
            store(settings)
        loads = []
        shown = []
        var component = Qt.createComponent("../../qml/main.qml")
        if (component.status !== Component.Ready)
            throw new Error(component.errorString())
        window = component.createObject(harness, { "width": harness.width, "height": harness.height })
        var navigation = find(window, "navigation")
        navigation.loadRequested.connect(function (name, args) { loads.push([name].concat(args)) })
        navigation.pageShown.connect(function (name, properties) {
            shown.push({ "name": name, "properties": properties })
        })
        return window
    }

    // A window signed in with the issued token, on the home menu, chat off.
    function openSignedIn() {
        clearStore()
        return open({ "newapp": "0", "accesstoken": token, "chatOn": "0" })
    }

    // The object named `name` among `object`'s children, at any depth.
    function find(object, name) {
        if (object.objectName === name)
            return object
        var children = object.data || []
        for (var i = 0; i < children.length; ++i) {
            var found = find(children[i], name)
            if (found)
                return found
        }
        return null
    }

    // A part of the window as its navigation reaches it (window.<name>).
    function part(name) {
        return find(window, "navigation").mainWindow[name]
    }

    // The page tags of the window's history, oldest first.
    function pages() {
        var list = []
        for (var i = 0; i < window.history.count; ++i)
            list.push(window.history.get(i).page)
        return list
    }

    function lastEntry() {
        return window.history.get(window.history.count - 1)
    }

    function lastLoad() {
        return loads.length > 0 ? loads[loads.length - 1] : null
    }

    function close() {
        if (!window)
            return
        window.visible = false
        window.enabled = false
        window.updateTimer.stop()
        window.chatTimer.stop()
        closed.push(window)
        window = null
    }
}
