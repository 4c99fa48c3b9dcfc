import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/common"

// The home menu. `window`, `signalHandler` and `toolbar` stand for the main
// window's objects of those names.
Item {
    id: scene
    width: 854
    height: 854

    Item {
        id: window
        property Item toolbar: toolbar
        property Item helpInput: helpInput
        property Item menu: menu
        width: 480
        height: 854
        property string language: "en"
        property bool darkTheme: false
        property bool useAsPage: false
        property string pageId: "42"
        property string pageName: "Kelvo Fans"
        property bool reload: false
        property string privacyString: ""
        property string backgroundUrl: ""
        property int unread_notifications: 0
        property int friend_requests: 0
        property int open_events: 0
        property bool hasNewMessage: false
        signal vibrate()
    }

    // Records each navigation call with its arguments and the window's
    // `reload` flag as it was at that moment.
    QtObject {
        id: signalHandler
        function record(name, args) {
            calls.push({ name: name, args: Array.from(args), reload: window.reload })
        }
        function showNews() { record("showNews", arguments) }
        function showPage() { record("showPage", arguments) }
        function showNotifications() { record("showNotifications", arguments) }
        function showChat() { record("showChat", arguments) }
        function showPhotoUploader() { record("showPhotoUploader", arguments) }
        function showPlaces() { record("showPlaces", arguments) }
        function showMessages() { record("showMessages", arguments) }
        function showProfile() { record("showProfile", arguments) }
        function backToUser() { record("backToUser", arguments) }
        function showFriends() { record("showFriends", arguments) }
        function showGroups() { record("showGroups", arguments) }
        function showSearch() { record("showSearch", arguments) }
        function showEvents() { record("showEvents", arguments) }
        function showPages() { record("showPages", arguments) }
        function showPrivacy() { record("showPrivacy", arguments) }
    }

    Item { id: toolbar; property bool chatAlert: false }
    TranslationHelper { id: translator }
    TextInput { id: helpInput; visible: false }

    MainMenu {
        id: menu
        width: 480
        height: 854
    }

    SignalSpy { id: shareSpy; target: menu; signalName: "share" }

    property var calls: []

    TestCase {
        name: "MainMenu"
        when: windowShown

        function init() {
            Object.assign(window, { width: 480, height: 854, language: "en", useAsPage: false, reload: false,
                                    privacyString: "", unread_notifications: 0, friend_requests: 0,
                                    open_events: 0, hasNewMessage: false })
            toolbar.chatAlert = false
            menu.status.text = ""
            menu.status.setFocus(false)
            shareSpy.clear()
            calls = []
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

        // A count shows as itself, 999 as "*", and zero shows no badge.
        function test_badges_data() {
            return [
                { tag: "notifications count", entry: "notificationsEntry", property: "unread_notifications", value: 3, text: "3" },
                { tag: "notifications 999", entry: "notificationsEntry", property: "unread_notifications", value: 999, text: "*" },
                { tag: "notifications none", entry: "notificationsEntry", property: "unread_notifications", value: 0 },
                { tag: "friend requests", entry: "friendsEntry", property: "friend_requests", value: 12, text: "12" },
                { tag: "open events", entry: "eventsEntry", property: "open_events", value: 1, text: "1" },
                { tag: "new messages", entry: "messagesEntry", property: "hasNewMessage", value: true, text: "*" },
                { tag: "no new messages", entry: "messagesEntry", property: "hasNewMessage", value: false }
            ]
        }

        function test_badges(data) {
            window[data.property] = data.value
            var entry = item(data.entry)
            compare(findChild(entry, "badge").visible, data.text !== undefined)
            if (data.text !== undefined)
                compare(findChild(entry, "badgeText").text, data.text)
        }

        function test_entriesWithoutCounterHaveNoBadge() {
            window.unread_notifications = window.friend_requests = window.open_events = 5
            window.hasNewMessage = true
            for (const name of ["newsEntry", "chatEntry", "pagesEntry"])
                verify(!findChild(item(name), "badge").visible, name)
        }

        function test_contents_data() {
            return [
                { tag: "user", page: false, profile: "Profile", privacy: true,
                  entries: ["newsEntry", "notificationsEntry", "chatEntry", "photoUploadEntry",
                            "checkinEntry", "messagesEntry", "profileEntry", "friendsEntry",
                            "groupsEntry", "searchEntry", "eventsEntry", "pagesEntry"] },
                { tag: "page mode", page: true, profile: "Back to user", privacy: false,
                  entries: ["newsEntry", "photoUploadEntry", "profileEntry"] }
            ]
        }

        function test_contents(data) {
            window.useAsPage = data.page
            menu.status.text = "hello"
            compare(visibleEntries(), data.entries)
            compare(label("profileEntry"), data.profile)
            compare(item("privacyButton").visible, data.privacy)
            verify(item("shareButton").visible)
        }

        function test_entries_data() {
            return [
                { tag: "news", entry: "newsEntry", signal: "showNews", args: [], reload: true },
                { tag: "notifications", entry: "notificationsEntry", signal: "showNotifications", args: [], reload: false },
                { tag: "chat", entry: "chatEntry", signal: "showChat", args: [], reload: false },
                { tag: "photo upload", entry: "photoUploadEntry", signal: "showPhotoUploader", args: [], reload: false },
                { tag: "check-in", entry: "checkinEntry", signal: "showPlaces", args: [], reload: false },
                { tag: "messages", entry: "messagesEntry", signal: "showMessages", args: ["inbox"], reload: false },
                { tag: "profile", entry: "profileEntry", signal: "showProfile", args: [], reload: true },
                { tag: "friends", entry: "friendsEntry", signal: "showFriends", args: [], reload: true },
                { tag: "groups", entry: "groupsEntry", signal: "showGroups", args: [], reload: true },
                { tag: "search", entry: "searchEntry", signal: "showSearch", args: [], reload: false },
                { tag: "events", entry: "eventsEntry", signal: "showEvents", args: [], reload: true },
                { tag: "pages", entry: "pagesEntry", signal: "showPages", args: [], reload: false },
                { tag: "page mode: news", page: true, entry: "newsEntry", signal: "showPage",
                  args: ["42", "Kelvo Fans"], reload: true },
                { tag: "page mode: photo upload", page: true, entry: "photoUploadEntry",
                  signal: "showPhotoUploader", args: [], reload: false },
                { tag: "page mode: back to user", page: true, entry: "profileEntry", signal: "backToUser",
                  args: [], reload: true }
            ]
        }

        function test_entries(data) {
            window.useAsPage = !!data.page
            menu.status.setFocus(true)
            mouseClick(item(data.entry))
            compare(calls, [{ name: data.signal, args: data.args, reload: data.reload }])
            verify(!menu.status.hasFocus, "an entry takes the focus from the status field")
        }

        // The action row shows on small screens and whenever there is text.
        function test_statusRow_data() {
            return [
                { tag: "tall portrait, empty", width: 480, height: 854, text: "", shown: false },
                { tag: "tall portrait, text", width: 480, height: 854, text: "hi", shown: true },
                { tag: "short portrait", width: 360, height: 599, text: "", shown: true },
                { tag: "portrait at 600", width: 360, height: 600, text: "", shown: false },
                { tag: "landscape", width: 854, height: 480, text: "", shown: false },
                { tag: "landscape, text", width: 854, height: 480, text: "hi", shown: true },
                { tag: "flat landscape", width: 600, height: 249, text: "", shown: true }
            ]
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
            compare(calls, [{ name: "showPrivacy", args: [], reload: false }])
        }

        function test_chatIconFollowsChatAlert() {
            var chat = item("chatEntry")
            var plain = chat.icon
            toolbar.chatAlert = true
            verify(chat.icon !== plain)
            toolbar.chatAlert = false
            compare(chat.icon, plain)
        }

        function test_labelsAreTranslated() {
            window.language = "fi"
            compare(label("newsEntry"), "Uutissyöte")
            compare(label("profileEntry"), "Profiili")
        }
    }
}
