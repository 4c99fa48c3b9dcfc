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

    // The test case the harness waits with.
    property var testCase: null
    property var window: null
    // Closed windows are kept, hidden, until the test file ends: an answer
    // still on its way must not reach a script context that is gone.
    property var closed: []
    // What the open window's navigation asked the web-API client for, in
    // order: [loader name, arguments...]; and the pages and panels it showed:
    // { name, properties }.
    property var loads: []
    property var shown: []

    QtObject {
        id: translator
        function setLanguage(lang) {}
    }

    // Stands in for the root window once wireChat() has run: the native
    // chat client and model are connected to it by the app's own wiring,
    // it relays the open window's chat requests to them and their events
    // to the open window.
    QtObject {
        id: relay
        property bool wired: false
        signal sendMsg(string to, string msg)
        signal connectChat(string sessionKey)
        signal disconnectChat()
        signal setPresence(bool available)
        signal clearConversation(string jid)
        signal markAsRead(string jid)
        signal playsound(string dir, string sound, string full)
        function clientConnected(jid) { if (harness.window) harness.window.clientConnected(jid) }
        function chatDisconnected() { if (harness.window) harness.window.chatDisconnected() }
        function messageReceived(from, msg) { if (harness.window) harness.window.messageReceived(from, msg) }
        function updateUsers() { if (harness.window) harness.window.updateUsers() }
        function setCurrentPresence() { if (harness.window) harness.window.setCurrentPresence() }
    }

    function wireChat() {
        if (!relay.wired)
            relay.wired = chatHost.wire(relay) > 0
        return relay.wired
    }

    // Ends the chat session the relay started.
    function disconnectChat() {
        relay.disconnectChat()
    }

    // One request to the sandbox, waited for; the answer as JSON.
    function call(method, path) {
        var answer
        var request = new XMLHttpRequest()
        request.onreadystatechange = function () {
            if (request.readyState === XMLHttpRequest.DONE)
                answer = request.status === 200 ? JSON.parse(request.responseText) : null
        }
        request.open(method, ServiceConfig.graphRoot + path)
        request.send()
        testCase.tryVerify(function () { return answer !== undefined }, 10000, method + " " + path)
        testCase.verify(answer !== null, method + " " + path + ": " + request.status + " " + request.responseText)
        return answer
    }

    // A token the sandbox issued for its account, as the stored pair.
    function freshToken() {
        return "access_token=" + call("POST", "/_sandbox/token").access_token
    }

    // A window signed in with a fresh token on the home menu, chat off, its
    // first poll answered.
    function signedIn(settings) {
        clearStore()
        var all = { "newapp": "0", "chatOn": "0", "accesstoken": freshToken() }
        for (var key in settings)
            all[key] = settings[key]
        var w = open(all)
        testCase.tryVerify(function () { return w.countsLoaded }, 10000, "the first poll is answered")
        return w
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

    function open(settings) {
        close()
        for (var key in settings)
            Storage.setKeyValue(key, settings[key])
        loads = []
        shown = []
        var component = Qt.createComponent("../../qml/main.qml")
        if (component.status !== Component.Ready)
            throw new Error(component.errorString())
        window = component.createObject(harness, { "width": harness.width, "height": harness.height })
        window.navigation.loadRequested.connect(function (name, args) { loads.push([name].concat(args)) })
        window.navigation.pageShown.connect(function (name, properties) {
            shown.push({ "name": name, "properties": properties })
        })
        if (relay.wired) {
            for (const name of ["sendMsg", "connectChat", "disconnectChat", "setPresence", "clearConversation",
                                "markAsRead"])
                window[name].connect(relay[name])
        }
        return window
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
