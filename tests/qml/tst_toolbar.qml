import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/common"

// The side toolbar.
Item {
    id: scene
    width: 480
    height: 854

    readonly property var signalHandler: window.navigation
    FakeWindow { id: window; toolbar: toolbar }
    TranslationHelper { id: translator }

    Component { id: aboutComponent; About {} }
    Component { id: loginViewComponent; Item { objectName: "loginView" } }
    Component { id: otherPageComponent; Item { objectName: "newsFeed" } }

    Toolbar { id: toolbar; height: scene.height }

    TestCase {
        name: "Toolbar"
        when: windowShown

        function init() {
            window.reset()
            toolbar.active = "home"
            toolbar.height = scene.height
        }

        function button(name) {
            var found = findChild(toolbar, name)
            verify(found !== null, name)
            return found
        }

        // Each button opens its page (some ask for a reload first) and is
        // the only one marked while that page is the active one.
        function test_buttons_data() {
            return [
                ["news", "showNews() reload"], ["notifications", "showNotifications()"],
                ["chat", "showChat()"], ["upload", "showPhotoUploader()", "Upload"],
                ["places", "showPlaces()"], ["messages", "showMessages(inbox)"],
                ["profile", "showProfile() reload"], ["friends", "showFriends()"],
                ["groups", "showGroups()"], ["search", "showSearch()"], ["events", "showEvents()"],
                ["pages", "showPages()"], ["settings", "showSettings()"]
            ].map(function (row) {
                return { tag: row[0], button: row[0] + "Button", call: row[1], active: row[2] || row[0] }
            })
        }

        function test_buttons(data) {
            var target = button(data.button)
            // Scrolls the strip, should the button lie below its end.
            var flick = findChild(toolbar, "toolbarFlickable")
            flick.contentY = Math.max(0, Math.min(target.y, flick.contentHeight - flick.height))
            mouseClick(target)
            flick.contentY = 0
            compare(window.calls, [data.call])
            toolbar.active = data.active
            for (const row of test_buttons_data())
                compare(button(row.button).active, row.button === data.button, row.button + " active")
        }

        // Something new swaps a button to its alert icon, and only that one.
        function test_alerts_data() {
            return [
                { tag: "notifications", button: "notificationsButton", property: "unread_notifications", value: 4, none: 0 },
                { tag: "messages", button: "messagesButton", property: "hasNewMessage", value: true, none: false },
                { tag: "friends", button: "friendsButton", property: "friend_requests", value: 1, none: 0 },
                { tag: "events", button: "eventsButton", property: "open_events", value: 2, none: 0 },
                { tag: "chat, set from outside", button: "chatButton", onToolbar: true, property: "chatAlert",
                  value: true, none: false }
            ]
        }

        function test_alerts(data) {
            var owner = data.onToolbar ? toolbar : window
            var icon = findChild(button(data.button), "icon")
            var plain = String(icon.source)
            owner[data.property] = data.value
            verify(String(icon.source).endsWith("_NEW.svg"), icon.source)
            verify(!button("newsButton").alert, "only the button it concerns")
            owner[data.property] = data.none
            compare(String(icon.source), plain)
        }

        // Off-screen in full-screen mode and on the About page; not shown
        // at all on the login view.
        function test_placement_data() {
            return [
                { tag: "a page", page: otherPageComponent, x: 0, visible: true },
                { tag: "full screen", page: otherPageComponent, fullscreen: true, offScreen: true, visible: true },
                { tag: "About page", page: aboutComponent, offScreen: true, visible: true },
                { tag: "login view", page: loginViewComponent, x: 0, visible: false }
            ]
        }

        function test_placement(data) {
            window.fullscreen = !!data.fullscreen
            window.currentView.sourceComponent = data.page
            compare(toolbar.x, data.offScreen ? -toolbar.width : 0)
            compare(toolbar.visible, data.visible)
        }

        // On a short screen the strip scrolls, so the last buttons stay reachable.
        function test_scrollsOnlyWhenTooShort() {
            var flick = findChild(toolbar, "toolbarFlickable")
            verify(!flick.interactive)
            toolbar.height = 300
            verify(flick.interactive)
        }
    }
}
