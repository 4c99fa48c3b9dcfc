import QtQuick 2.15
import QtTest 1.2
import "../../qml/components"

// The side toolbar. `window`, `signalHandler` and `currentView` stand for
// the main window's objects of those names; each navigation signal is
// recorded with the window's `reload` flag as it was when it was emitted.
Item {
    id: scene
    width: 480
    height: 854

    Item {
        id: window
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
        signal showNews()
        signal showNotifications()
        signal showChat()
        signal showPhotoUploader()
        signal showPlaces()
        signal showMessages(string box)
        signal showProfile()
        signal showFriends()
        signal showGroups()
        signal showSearch()
        signal showEvents()
        signal showPages()
        signal showSettings()
    }

    Loader { id: currentView }

    Component {
        id: aboutComponent
        About {}
    }

    Component {
        id: loginViewComponent
        Item { objectName: "loginView" }
    }

    Component {
        id: otherPageComponent
        Item { objectName: "newsFeed" }
    }

    TranslationHelper {
        id: translator
    }

    Toolbar {
        id: toolbar
        height: scene.height
    }

    property var calls: []

    Component.onCompleted: {
        var names = ["showNews", "showNotifications", "showChat", "showPhotoUploader", "showPlaces",
                     "showMessages", "showProfile", "showFriends", "showGroups", "showSearch",
                     "showEvents", "showPages", "showSettings"]
        names.forEach(function (name) {
            signalHandler[name].connect(function () {
                calls.push({ name: name, args: Array.prototype.slice.call(arguments),
                             reload: window.reload })
            })
        })
    }

    TestCase {
        name: "Toolbar"
        when: windowShown

        readonly property var buttonNames: [
            "newsButton", "notificationsButton", "chatButton", "uploadButton", "placesButton",
            "messagesButton", "profileButton", "friendsButton", "groupsButton", "searchButton",
            "eventsButton", "pagesButton", "settingsButton"
        ]

        function init() {
            window.darkTheme = false
            window.bigIcons = true
            window.fullscreen = false
            window.reload = false
            window.unread_notifications = 0
            window.friend_requests = 0
            window.open_events = 0
            window.hasNewMessage = false
            toolbar.active = "home"
            toolbar.chatAlert = false
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

        function endsWith(text, tail) {
            return text.slice(-tail.length) === tail
        }

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
            compare(calls.length, 1)
            compare(calls[0].name, data.signal)
            compare(calls[0].args, data.args)
            compare(calls[0].reload, data.reload)
            flick.contentY = 0

            toolbar.active = data.active
            buttonNames.forEach(function (name) {
                compare(button(name).active, name === data.button, name + " active")
            })
        }

        function test_activeLook() {
            var news = button("newsButton")
            var icon = findChild(news, "icon")
            compare(String(news.color), "#3b5998")
            compare(icon.opacity, 0.7)
            toolbar.active = "news"
            compare(String(news.color), "#dddddd")
            compare(icon.opacity, 1)
            window.darkTheme = true
            compare(String(news.color), "#222222")
            toolbar.active = "home"
            compare(String(news.color), "#000000")
        }

        function test_pressedAndDisabledColours() {
            var search = button("searchButton")
            mousePress(search)
            compare(String(search.color), "#dddddd")
            mouseRelease(search)
            compare(String(search.color), "#3b5998")
            search.enabled = false
            compare(String(search.color), "#eeeeee")
            search.enabled = true
        }

        function test_alerts_data() {
            return [
                { tag: "notifications", button: "notificationsButton", property: "unread_notifications", value: 4, icon: "Notifications" },
                { tag: "messages", button: "messagesButton", property: "hasNewMessage", value: true, icon: "Messages" },
                { tag: "friends", button: "friendsButton", property: "friend_requests", value: 1, icon: "Friends" },
                { tag: "events", button: "eventsButton", property: "open_events", value: 2, icon: "Events" }
            ]
        }

        function test_alerts(data) {
            var target = button(data.button)
            verify(!target.alert)
            verify(endsWith(iconOf(data.button), "media/Sidebar/" + data.icon + ".svg"), iconOf(data.button))
            window[data.property] = data.value
            verify(target.alert)
            verify(endsWith(iconOf(data.button), "media/Sidebar/" + data.icon + "_NEW.svg"), iconOf(data.button))
            compare(findChild(target, "icon").opacity, 1)
        }

        function test_chatAlertIsSetFromOutside() {
            verify(endsWith(iconOf("chatButton"), "media/Sidebar/Chat.svg"))
            toolbar.chatAlert = true
            verify(button("chatButton").alert)
            verify(endsWith(iconOf("chatButton"), "media/Sidebar/Chat_NEW.svg"))
            toolbar.chatAlert = false
            verify(!button("chatButton").alert)
        }

        function test_notificationsAlertFollowsTheCounter() {
            verify(!toolbar.notificationsAlert)
            window.unread_notifications = 1
            verify(toolbar.notificationsAlert)
            window.unread_notifications = 0
            verify(!toolbar.notificationsAlert)
        }

        function test_buttonsWithoutAlertKeepTheirIcon() {
            window.unread_notifications = 3
            window.hasNewMessage = true
            verify(endsWith(iconOf("newsButton"), "media/Sidebar/Feeds.svg"))
            verify(endsWith(iconOf("settingsButton"), "media/Sidebar/Settings.svg"))
            verify(!button("newsButton").alert)
        }

        function test_width() {
            compare(toolbar.width, 52)
            compare(button("newsButton").width, 52)
            compare(button("newsButton").height, 52)
            window.bigIcons = false
            compare(toolbar.width, 40)
            compare(button("settingsButton").width, 40)
            compare(button("settingsButton").height, 40)
        }

        function test_offScreenInFullScreenMode() {
            compare(toolbar.x, 0)
            window.fullscreen = true
            compare(toolbar.x, -52)
            window.bigIcons = false
            compare(toolbar.x, -40)
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
            verify(toolbar.visible)
            currentView.sourceComponent = loginViewComponent
            verify(!toolbar.visible)
            currentView.sourceComponent = otherPageComponent
            verify(toolbar.visible)
        }

        function test_background() {
            verify(findChild(toolbar, "lightBackground").visible)
            verify(!findChild(toolbar, "darkBackground").visible)
            window.darkTheme = true
            verify(!findChild(toolbar, "lightBackground").visible)
            verify(findChild(toolbar, "darkBackground").visible)
        }

        function test_scrollsWhenTooShort() {
            var flick = findChild(toolbar, "toolbarFlickable")
            compare(flick.contentHeight, 13 * 52)
            toolbar.height = 300
            verify(flick.interactive)
            toolbar.height = scene.height
            verify(!flick.interactive)
        }
    }
}
