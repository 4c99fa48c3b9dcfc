import QtQml 2.15
import QtQuick 2.15
import "../storage.js" as Storage

// Reads the stored settings at start, in a fixed order, and applies each to
// the main window as it arrives. The language, start page and chat flag come
// before the token, because signing in with the token reads them.
QtObject {
    readonly property LoggingCategory log: LoggingCategory { name: "kelvo.ui" }
    readonly property var firstKeys: ["newapp", "chatOn", "language", "startPage", "accesstoken"]
    readonly property var otherKeys: ["update_cycle", "comments", "bigIcons", "theme", "sound", "loud",
        "disableT9", "fontSize", "fullscreen", "profileImage", "transparent", "vibra", "exitConfirmation",
        "backgroundUrl", "rememberRil", "rilUsername", "rilPassword", "lastMessageId"]

    function readAll() {
        readKeys(firstKeys)
        Storage.setKeyValue("newapp", "0")
        readKeys(otherKeys)
    }

    function readKeys(keys) {
        for (var i = 0; i < keys.length; ++i)
            Storage.getKeyValue(keys[i], window.valueLoaded)
    }

    // A stored token of more than 20 characters, on any run but the first,
    // signs the user straight in.
    function applyStoredToken(value) {
        if (value.length <= 20 || window.newapp) {
            window.menu.sourceComponent = undefined
            window.showLoginView()
            return
        }
        window.facebook.setAccessToken(value)
        window.token = value
        window.facebook.showKeptHomeFeed()
        window.history.append({ "page": "home" })
        if (window.startPage === "feed") {
            window.clientSession.nonAbortableRequest = true
            window.signalHandler.showNews()
        } else {
            window.menu.sourceComponent = window.mainMenuComponent
        }
        window.facebook.fetchUpdateCounts()
        window.facebook.getId()
        if (window.chatOn)
            window.chatTimer.start()
    }

    // A flag that defaults to on is turned off only by "0", one that defaults
    // to off is turned on only by "1".
    function valueLoaded(key, value) {
        switch (key) {
        case "newapp": window.newapp = value !== "0"; break
        case "accesstoken": window.applyStoredToken(value); break
        case "language":
            if (value !== "") {
                window.language = value
                translator.setLanguage(value)
            }
            break
        case "logout":
            if (value === "1") {
                Storage.setKeyValue("accesstoken", "")
                window.clientSession.forgetKeptFeed()
                window.clientSession.forgetKeptChat()
            }
            window.quit()
            break
        case "update_cycle":
            if (value !== "")
                window.updateCycle = parseInt(value, 10)
            window.updateTimer.start()
            break
        case "fontSize":
            if (value !== "")
                window.fontSize = parseInt(value, 10)
            break
        case "comments": window.showComments = value !== "0"; break
        case "backgroundUrl": window.backgroundUrl = value; break
        case "profileImage": window.profileImage = value !== "0"; break
        case "transparent": window.transparentToolbar = value === "1"; break
        case "bigIcons": window.bigIcons = value !== "0"; break
        case "chatOn": window.chatOn = value !== "0"; break
        case "sound": window.soundOption = value !== "0"; break
        case "disableT9": window.disableT9 = value !== "0"; break
        case "fullscreen": window.fullscreen = value !== "0"; break
        case "rememberRil": window.rememberRil = value === "1"; break
        case "loud": window.loudSounds = value === "1"; break
        case "vibra": window.vibra = value !== "0"; break
        case "exitConfirmation": window.exitConfirmation = value === "1"; break
        case "startPage":
            if (value !== "")
                window.startPage = value
            break
        case "theme": window.darkTheme = value === "dark"; break
        case "rilUsername": window.rilUsername = value; break
        case "rilPassword": window.rilPassword = value; break
        case "lastMessageId": window.lastMessageId = value; break
        default: console.warn(log, "main window: no setting named " + key)
        }
    }
}
