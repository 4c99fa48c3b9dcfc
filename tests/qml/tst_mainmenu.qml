import QtQuick 2.15
import QtTest 1.2
import "../../qml/components"

// The home menu. `window`, `signalHandler` and `toolbar` stand for the main
// window's objects of those names; every navigation signal is recorded with
// its arguments and the window's `reload` flag as it was at that moment.
Item {
    id: scene
    width: 854
    height: 854

    Item {
        id: window
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

    QtObject {
        id: signalHandler
        signal showNews()
        signal showPage(string page_id, string page_name)
        signal showNotifications()
        signal showChat()
        signal showPhotoUploader()
        signal showPlaces()
        signal showMessages(string box)
        signal showProfile()
        signal backToUser()
        signal showFriends()
        signal showGroups()
        signal showSearch()
        signal showEvents()
        signal showPages()
        signal showPrivacy()
    }

    Item {
        id: toolbar
        property bool chatAlert: false
    }

    TranslationHelper {
        id: translator
    }

    TextInput {
        id: helpInput
        visible: false
        width: 0
        height: 0
    }

    MainMenu {
        id: menu
        width: 480
        height: 854
    }

    SignalSpy { id: shareSpy; target: menu; signalName: "share" }

    property var calls: []

    Component.onCompleted: {
        var names = ["showNews", "showPage", "showNotifications", "showChat", "showPhotoUploader",
                     "showPlaces", "showMessages", "showProfile", "backToUser", "showFriends",
                     "showGroups", "showSearch", "showEvents", "showPages", "showPrivacy"]
        names.forEach(function (name) {
            signalHandler[name].connect(function () {
                calls.push({ name: name, args: Array.prototype.slice.call(arguments),
                             reload: window.reload })
            })
        })
    }

    TestCase {
        name: "MainMenu"
        when: windowShown

        function init() {
            window.width = 480
            window.height = 854
            window.language = "en"
            window.useAsPage = false
            window.reload = false
            window.privacyString = ""
            window.backgroundUrl = ""
            window.unread_notifications = 0
            window.friend_requests = 0
            window.open_events = 0
            window.hasNewMessage = false
            toolbar.chatAlert = false
            menu.width = 480
            menu.height = 854
            menu.status.text = ""
            menu.status.setFocus(false)
            shareSpy.clear()
            calls = []
        }

        // Positioners place their children when the scene is next polished;
        // a press must wait for that, or it lands where an item used to be.
        function settle() {
            var positioners = [findChild(menu, "statusField").parent, findChild(menu, "actionRow"),
                               findChild(menu, "menuGrid")]
            tryVerify(function () {
                return positioners.every(function (item) { return !isPolishScheduled(item) })
            })
        }

        function entry(name) {
            var found = findChild(menu, name)
            verify(found !== null, "entry " + name)
            settle()
            return found
        }

        function actionButton(name) {
            var found = findChild(menu, name)
            verify(found !== null, name)
            settle()
            return found
        }

        function visibleEntries() {
            var grid = findChild(menu, "menuGrid")
            var names = []
            for (var i = 0; i < grid.children.length; ++i) {
                if (grid.children[i].visible)
                    names.push(grid.children[i].objectName)
            }
            return names
        }

        function test_badges_data() {
            return [
                { tag: "notifications count", entry: "notificationsEntry", property: "unread_notifications", value: 3, shown: true, text: "3" },
                { tag: "notifications 999", entry: "notificationsEntry", property: "unread_notifications", value: 999, shown: true, text: "*" },
                { tag: "notifications none", entry: "notificationsEntry", property: "unread_notifications", value: 0, shown: false, text: "0" },
                { tag: "friend requests", entry: "friendsEntry", property: "friend_requests", value: 12, shown: true, text: "12" },
                { tag: "open events", entry: "eventsEntry", property: "open_events", value: 1, shown: true, text: "1" },
                { tag: "new messages", entry: "messagesEntry", property: "hasNewMessage", value: true, shown: true, text: "*" },
                { tag: "no new messages", entry: "messagesEntry", property: "hasNewMessage", value: false, shown: false, text: "0" }
            ]
        }

        function test_badges(data) {
            window[data.property] = data.value
            var button = entry(data.entry)
            var badge = findChild(button, "badge")
            compare(badge.visible, data.shown)
            compare(findChild(button, "badgeText").text, data.text)
        }

        function test_entriesWithoutCounterHaveNoBadge() {
            window.unread_notifications = 5
            window.friend_requests = 5
            window.open_events = 5
            window.hasNewMessage = true
            verify(!findChild(entry("newsEntry"), "badge").visible)
            verify(!findChild(entry("chatEntry"), "badge").visible)
            verify(!findChild(entry("pagesEntry"), "badge").visible)
        }

        function test_allEntriesInOrder() {
            compare(visibleEntries(), ["newsEntry", "notificationsEntry", "chatEntry", "photoUploadEntry",
                                       "checkinEntry", "messagesEntry", "profileEntry", "friendsEntry",
                                       "groupsEntry", "searchEntry", "eventsEntry", "pagesEntry"])
            compare(findChild(entry("profileEntry"), "label").text, "Profile")
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
                { tag: "pages", entry: "pagesEntry", signal: "showPages", args: [], reload: false }
            ]
        }

        function test_entries(data) {
            mouseClick(entry(data.entry))
            compare(calls.length, 1)
            compare(calls[0].name, data.signal)
            compare(calls[0].args, data.args)
            compare(calls[0].reload, data.reload)
        }

        function test_pageModeOffersOnlyWhatAPageCanDo() {
            window.useAsPage = true
            compare(visibleEntries(), ["newsEntry", "photoUploadEntry", "profileEntry"])
            compare(findChild(entry("profileEntry"), "label").text, "Back to user")
            menu.status.text = "hello"
            verify(!findChild(menu, "privacyButton").visible)
            verify(findChild(menu, "shareButton").visible)
            menu.status.text = ""

            mouseClick(entry("newsEntry"))
            compare(calls.length, 1)
            compare(calls[0].name, "showPage")
            compare(calls[0].args, ["42", "Kelvo Fans"])

            mouseClick(entry("photoUploadEntry"))
            compare(calls[1].name, "showPhotoUploader")

            mouseClick(entry("profileEntry"))
            compare(calls.length, 3)
            compare(calls[2].name, "backToUser")
        }

        function test_gridColumns() {
            var grid = findChild(menu, "menuGrid")
            compare(grid.columns, 3)
            compare(grid.columnSpacing, 20)
            compare(grid.rowSpacing, 10)
            compare(entry("photoUploadEntry").x, 0)
            verify(entry("photoUploadEntry").y > 0)
            compare(entry("newsEntry").height, 124)
            compare(entry("newsEntry").width, (grid.width - 2 * 20) / 3)

            menu.width = 854
            menu.height = 480
            verify(menu.landscape)
            compare(grid.columns, 6)
            compare(grid.columnSpacing, 4)
            compare(grid.rowSpacing, 8)
            compare(entry("photoUploadEntry").y, 0)
            compare(entry("messagesEntry").y, 0)
            compare(entry("profileEntry").x, 0)
            verify(entry("profileEntry").y > 0)
            compare(entry("newsEntry").width, (grid.width - 5 * 4) / 6)
        }

        function test_statusFieldHeight() {
            compare(menu.status.height, 100)
            menu.width = 854
            menu.height = 480
            compare(menu.status.height, 65)
        }

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

        function test_shareEmitsTextAndClears() {
            menu.status.setFocus(true)
            verify(menu.status.hasFocus)
            menu.status.text = "Hello world"
            var share = actionButton("shareButton")
            compare(findChild(share, "label").text, "Share")
            mouseClick(share)
            compare(shareSpy.count, 1)
            compare(shareSpy.signalArguments[0][0], "Hello world")
            compare(menu.status.text, "")
            verify(!menu.status.hasFocus)
        }

        function test_blankStatusIsNotShared() {
            window.height = 500
            menu.status.text = "   "
            mouseClick(actionButton("shareButton"))
            compare(shareSpy.count, 0)
        }

        function test_cancelClearsWithoutSharing() {
            menu.status.setFocus(true)
            menu.status.text = "draft"
            mouseClick(actionButton("cancelButton"))
            compare(shareSpy.count, 0)
            compare(menu.status.text, "")
            verify(!menu.status.hasFocus)
        }

        function test_privacyButton() {
            menu.status.text = "x"
            var privacy = actionButton("privacyButton")
            verify(privacy.visible)
            verify(!privacy.pressed)
            window.privacyString = "{\"value\":\"ALL_FRIENDS\"}"
            verify(privacy.pressed)
            mouseClick(privacy)
            compare(calls.length, 1)
            compare(calls[0].name, "showPrivacy")
        }

        function test_entryTakesFocusFromStatusField() {
            menu.status.setFocus(true)
            verify(menu.status.hasFocus)
            mouseClick(entry("searchEntry"))
            verify(!menu.status.hasFocus)
        }

        function test_chatIconFollowsChatAlert() {
            var chat = entry("chatEntry")
            compare(chat.icon, "media/Home/Chat.svg")
            toolbar.chatAlert = true
            compare(chat.icon, "media/Home/Chat_NEW.svg")
            verify(String(findChild(chat, "icon").source).indexOf("/qml/components/media/Home/Chat_NEW.svg") > 0)
        }

        function test_iconSizesForBitmapsAndVectors() {
            var bitmap = findChild(entry("newsEntry"), "icon")
            var vector = findChild(entry("chatEntry"), "icon")
            compare(bitmap.width, 80)
            compare(vector.width, 93)
            compare(vector.y, bitmap.y - 8)
            var bitmapLabel = findChild(entry("newsEntry"), "label")
            var vectorLabel = findChild(entry("chatEntry"), "label")
            compare(bitmapLabel.y - (bitmap.y + bitmap.height), 6)
            compare(vectorLabel.y - (vector.y + vector.height), 4)
            compare(bitmapLabel.font.pixelSize, 18)
            verify(bitmapLabel.font.bold)
        }

        function test_pressedEntryShowsOverlay() {
            var news = entry("newsEntry")
            var overlay = findChild(news, "pressedOverlay")
            verify(!overlay.visible)
            mousePress(news)
            verify(overlay.visible)
            compare(overlay.width, 95)
            compare(String(findChild(news, "label").color), "#808080")
            mouseRelease(news)
            verify(!overlay.visible)
        }

        function test_backgroundPicture() {
            var background = findChild(menu, "background")
            verify(!background.visible)
            window.backgroundUrl = Qt.resolvedUrl("../../qml/components/media/Kelvo.svg")
            verify(background.visible)
            compare(background.fillMode, Image.PreserveAspectCrop)
            compare(background.sourceSize.width, menu.width)
            compare(String(background.source), String(window.backgroundUrl))
        }

        function test_labelsAreTranslated() {
            window.language = "fi"
            compare(findChild(entry("newsEntry"), "label").text, "Uutissyöte")
            compare(findChild(entry("profileEntry"), "label").text, "Profiili")
        }
    }
}
