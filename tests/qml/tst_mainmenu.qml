import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/common"

// The home menu.
Item {
    id: scene
    width: 854
    height: 854

    readonly property var signalHandler: window.navigation
    FakeWindow { id: window }
    TranslationHelper { id: translator }

    MainMenu {
        id: menu
        width: 480
        height: 854
    }

    SignalSpy { id: shareSpy; target: menu; signalName: "share" }

    TestCase {
        name: "MainMenu"
        when: windowShown

        function init() {
            window.reset()
            menu.status.text = ""
            menu.status.setFocus(false)
            shareSpy.clear()
        }

        // Positioners place their children when the scene is next polished;
        // a press must wait for that, or it lands where an item used to be.
        function item(name) {
            var found = findChild(menu, name)
            verify(found !== null, name)
            var positioners = [findChild(menu, "statusField").parent, findChild(menu, "actionRow"),
                               findChild(menu, "menuGrid")]
            tryVerify(function () {
                return positioners.every(function (item) { return !isPolishScheduled(item) })
            })
            return found
        }

        function label(name) {
            return findChild(item(name), "label").text
        }

        function visibleEntries() {
            return Array.from(findChild(menu, "menuGrid").children).filter(function (child) { return child.visible })
                .map(function (child) { return child.objectName })
        }

        // A count shows as itself, 999 as "*", and zero shows no badge;
        // entries without a counter never show one.
        function test_badges_data() {
            return [
                ["notificationsEntry", "unread_notifications", 3, "3"],
                ["notificationsEntry", "unread_notifications", 999, "*"],
                ["notificationsEntry", "unread_notifications", 0],
                ["friendsEntry", "friend_requests", 12, "12"],
                ["eventsEntry", "open_events", 1, "1"],
                ["messagesEntry", "hasNewMessage", true, "*"],
                ["messagesEntry", "hasNewMessage", false],
                ["newsEntry"], ["chatEntry"], ["pagesEntry"]
            ].map(function (row) {
                return { tag: row.slice(0, 3).join(" "), entry: row[0], property: row[1], value: row[2], text: row[3] }
            })
        }

        function test_badges(data) {
            if (data.property)
                window[data.property] = data.value
            else
                Object.assign(window, { unread_notifications: 5, friend_requests: 5, open_events: 5, hasNewMessage: true })
            var entry = item(data.entry)
            compare(findChild(entry, "badge").visible, data.text !== undefined)
            if (data.text !== undefined)
                compare(findChild(entry, "badgeText").text, data.text)
        }

        // Page mode offers only what a page can do; labels are translated.
        function test_contents_data() {
            var all = ["newsEntry", "notificationsEntry", "chatEntry", "photoUploadEntry", "checkinEntry",
                       "messagesEntry", "profileEntry", "friendsEntry", "groupsEntry", "searchEntry",
                       "eventsEntry", "pagesEntry"]
            return [
                { tag: "user", page: false, profile: "Profile", privacy: true, entries: all },
                { tag: "page mode", page: true, profile: "Back to user", privacy: false,
                  entries: ["newsEntry", "photoUploadEntry", "profileEntry"] },
                { tag: "in Finnish", language: "fi", page: false, profile: "Profiili", privacy: true, entries: all }
            ]
        }

        function test_contents(data) {
            window.useAsPage = data.page
            window.language = data.language || "en"
            menu.status.text = "hello"
            compare(visibleEntries(), data.entries)
            compare(label("profileEntry"), data.profile)
            compare(item("privacyButton").visible, data.privacy)
            verify(item("shareButton").visible)
        }

        // Each entry opens its page, some asking for a reload first; in page
        // mode "news" is the page's own feed and "profile" leads back to the user.
        function test_entries_data() {
            return [
                ["newsEntry", "showNews() reload"], ["notificationsEntry", "showNotifications()"],
                ["chatEntry", "showChat()"], ["photoUploadEntry", "showPhotoUploader()"],
                ["checkinEntry", "showPlaces()"], ["messagesEntry", "showMessages(inbox)"],
                ["profileEntry", "showProfile() reload"], ["friendsEntry", "showFriends() reload"],
                ["groupsEntry", "showGroups() reload"], ["searchEntry", "showSearch()"],
                ["eventsEntry", "showEvents() reload"], ["pagesEntry", "showPages()"],
                ["newsEntry", "showPage(42,Kelvo Fans) reload", true],
                ["photoUploadEntry", "showPhotoUploader()", true],
                ["profileEntry", "backToUser() reload", true]
            ].map(function (row) {
                return { tag: (row[2] ? "page mode: " : "") + row[0], entry: row[0], call: row[1], page: !!row[2] }
            })
        }

        function test_entries(data) {
            window.useAsPage = data.page
            menu.status.setFocus(true)
            mouseClick(item(data.entry))
            compare(window.calls, [data.call])
            verify(!menu.status.hasFocus, "an entry takes the focus from the status field")
        }

        // The action row shows on small screens and whenever there is text.
        function test_statusRow_data() {
            return [
                [480, 854, "", false], [480, 854, "hi", true], [360, 599, "", true], [360, 600, "", false],
                [854, 480, "", false], [854, 480, "hi", true], [600, 249, "", true]
            ].map(function (row) {
                return { tag: row[0] + "x" + row[1] + " '" + row[2] + "'", width: row[0], height: row[1],
                         text: row[2], shown: row[3] }
            })
        }

        function test_statusRow(data) {
            window.width = data.width
            window.height = data.height
            menu.status.text = data.text
            compare(findChild(menu, "actionRow").visible, data.shown)
        }

        // Share sends the text and clears the field, but keeps a blank one;
        // Cancel clears without sending. Both close the keyboard.
        function test_statusButtons_data() {
            return [
                { tag: "share", text: "Hello world", button: "shareButton", shared: 1, left: "" },
                { tag: "share blank", text: "   ", button: "shareButton", shared: 0, left: "   " },
                { tag: "cancel", text: "draft", button: "cancelButton", shared: 0, left: "" }
            ]
        }

        function test_statusButtons(data) {
            menu.status.setFocus(true)
            menu.status.text = data.text
            mouseClick(item(data.button))
            compare(shareSpy.count, data.shared)
            if (data.shared)
                compare(shareSpy.signalArguments[0][0], data.text)
            compare(menu.status.text, data.left)
            verify(!menu.status.hasFocus)
        }

        // The privacy button looks pressed once a privacy is chosen.
        function test_privacyButton() {
            menu.status.text = "x"
            var privacy = item("privacyButton")
            verify(!privacy.pressed)
            window.privacyString = "{\"value\":\"ALL_FRIENDS\"}"
            verify(privacy.pressed)
            mouseClick(privacy)
            compare(window.calls, ["showPrivacy()"])
        }

        function test_chatIconFollowsChatAlert() {
            var chat = item("chatEntry")
            var plain = chat.icon
            window.toolbar.chatAlert = true
            verify(chat.icon !== plain)
            window.toolbar.chatAlert = false
            compare(chat.icon, plain)
        }
    }
}
