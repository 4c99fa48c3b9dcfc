import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/common"

// The side toolbar. `window`, `signalHandler` and `currentView` stand for
// the main window's objects of those names; each navigation call is
// recorded with the window's `reload` flag as it was when it was made.
Item {
    id: scene
    width: 480
    height: 854

    Item {
        id: window
        property Item currentView: currentView
        property Item toolbar: toolbar
        property string language: "en"
        property bool darkTheme: false
        property color hoverColor: darkTheme ? "#222" : "#ddd"
        property color titleFontColor: darkTheme ? "#fafafa" : "#3B5998"
        property bool bigIcons: true
        property bool fullscreen: false
        property bool reload: false
        property int unread_notifications: 0
        property int friend_requests: 0
        property int open_events: 0
        property bool hasNewMessage: false
    }

    QtObject {
        id: signalHandler
        function record(name, args) {
            calls.push({ name: name, args: Array.from(args), reload: window.reload })
        }
        function showNews() { record("showNews", arguments) }
        function showNotifications() { record("showNotifications", arguments) }
        function showChat() { record("showChat", arguments) }
        function showPhotoUploader() { record("showPhotoUploader", arguments) }
        function showPlaces() { record("showPlaces", arguments) }
        function showMessages() { record("showMessages", arguments) }
        function showProfile() { record("showProfile", arguments) }
        function showFriends() { record("showFriends", arguments) }
        function showGroups() { record("showGroups", arguments) }
        function showSearch() { record("showSearch", arguments) }
        function showEvents() { record("showEvents", arguments) }
        function showPages() { record("showPages", arguments) }
        function showSettings() { record("showSettings", arguments) }
    }

    Loader { id: currentView }
    Component { id: aboutComponent; About {} }
    Component { id: loginViewComponent; Item { objectName: "loginView" } }
    Component { id: otherPageComponent; Item { objectName: "newsFeed" } }
    TranslationHelper { id: translator }

    Toolbar {
        id: toolbar
        height: scene.height
    }

    property var calls: []

    TestCase {
        name: "Toolbar"
        when: windowShown

        readonly property var buttonNames: [
            "newsButton", "notificationsButton", "chatButton", "uploadButton", "placesButton",
            "messagesButton", "profileButton", "friendsButton", "groupsButton", "searchButton",
            "eventsButton", "pagesButton", "settingsButton"
        ]

        function init() {
            window.bigIcons = true
            window.fullscreen = false
            window.reload = false
            window.unread_notifications = 0
            window.friend_requests = 0
            window.open_events = 0
            window.hasNewMessage = false
            toolbar.active = "home"
            toolbar.chatAlert = false
            toolbar.height = scene.height
            currentView.sourceComponent = undefined
            calls = []
        }

        function button(name) {
            var found = findChild(toolbar, name)
            verify(found !== null, name)
            return found
        }

        function iconOf(name) {
            return String(findChild(button(name), "icon").source)
        }

        // Each button emits its navigation signal (some set `reload` first)
        // and is the only one marked while its page is the active one.
        function test_buttons_data() {
            return [
                { tag: "news", button: "newsButton", active: "news", signal: "showNews", args: [], reload: true },
                { tag: "notifications", button: "notificationsButton", active: "notifications", signal: "showNotifications", args: [], reload: false },
                { tag: "chat", button: "chatButton", active: "chat", signal: "showChat", args: [], reload: false },
                { tag: "upload", button: "uploadButton", active: "Upload", signal: "showPhotoUploader", args: [], reload: false },
                { tag: "places", button: "placesButton", active: "places", signal: "showPlaces", args: [], reload: false },
                { tag: "messages", button: "messagesButton", active: "messages", signal: "showMessages", args: ["inbox"], reload: false },
                { tag: "profile", button: "profileButton", active: "profile", signal: "showProfile", args: [], reload: true },
                { tag: "friends", button: "friendsButton", active: "friends", signal: "showFriends", args: [], reload: false },
                { tag: "groups", button: "groupsButton", active: "groups", signal: "showGroups", args: [], reload: false },
                { tag: "search", button: "searchButton", active: "search", signal: "showSearch", args: [], reload: false },
                { tag: "events", button: "eventsButton", active: "events", signal: "showEvents", args: [], reload: false },
                { tag: "pages", button: "pagesButton", active: "pages", signal: "showPages", args: [], reload: false },
                { tag: "settings", button: "settingsButton", active: "settings", signal: "showSettings", args: [], reload: false }
            ]
        }

        function test_buttons(data) {
            var target = button(data.button)
            // Scrolls the strip, should the button lie below its end.
            var flick = findChild(toolbar, "toolbarFlickable")
            flick.contentY = Math.max(0, Math.min(target.y, flick.contentHeight - flick.height))
            mouseClick(target)
            flick.contentY = 0
            compare(calls, [{ name: data.signal, args: data.args, reload: data.reload }])
            toolbar.active = data.active
            buttonNames.forEach(function (name) {
                compare(button(name).active, name === data.button, name + " active")
            })
        }

        // Something new swaps a button to its alert icon; the alert goes
        // with the counter or flag.
        function test_alerts_data() {
            return [
                { tag: "notifications", button: "notificationsButton", property: "unread_notifications", value: 4, none: 0 },
                { tag: "messages", button: "messagesButton", property: "hasNewMessage", value: true, none: false },
                { tag: "friends", button: "friendsButton", property: "friend_requests", value: 1, none: 0 },
                { tag: "events", button: "eventsButton", property: "open_events", value: 2, none: 0 },
                { tag: "chat, set from outside", button: "chatButton", toolbarProperty: "chatAlert", value: true, none: false }
            ]
        }

        function test_alerts(data) {
            var target = button(data.button)
            var owner = data.toolbarProperty ? toolbar : window
            var property = data.toolbarProperty || data.property
            verify(!target.alert)
            verify(!iconOf(data.button).endsWith("_NEW.svg"), iconOf(data.button))
            owner[property] = data.value
            verify(target.alert)
            verify(iconOf(data.button).endsWith("_NEW.svg"), iconOf(data.button))
            verify(!button("newsButton").alert, "only the button it concerns")
            owner[property] = data.none
            verify(!target.alert)
        }

        function test_notificationsAlertFollowsTheCounter() {
            window.unread_notifications = 1
            verify(toolbar.notificationsAlert)
            window.unread_notifications = 0
            verify(!toolbar.notificationsAlert)
        }

        function test_offScreenInFullScreenMode() {
            window.fullscreen = true
            compare(toolbar.x, -toolbar.width)
            window.bigIcons = false
            compare(toolbar.x, -toolbar.width)
            window.fullscreen = false
            compare(toolbar.x, 0)
        }

        function test_offScreenOnTheAboutPage() {
            currentView.sourceComponent = otherPageComponent
            compare(toolbar.x, 0)
            currentView.sourceComponent = aboutComponent
            compare(toolbar.x, -toolbar.width)
            verify(toolbar.visible)
        }

        function test_hiddenOnTheLoginView() {
            currentView.sourceComponent = loginViewComponent
            verify(!toolbar.visible)
            currentView.sourceComponent = otherPageComponent
            verify(toolbar.visible)
        }

        function test_scrollsOnlyWhenTooShort() {
            var flick = findChild(toolbar, "toolbarFlickable")
            verify(!flick.interactive)
            toolbar.height = 300
            verify(flick.interactive)
        }
    }
}
