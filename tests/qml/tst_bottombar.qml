import QtQuick 2.15
import QtTest 1.2
import "../../qml/components"

// The bottom bar. The window's layers are stood in for by items with the
// window's ids; each fake layer offers all five middle buttons with icons
// named after itself (one real picture, told apart by the URL fragment) and
// logs which of its actions ran, so a test can tell which layer the bar
// served.
Item {
    id: scene
    width: 480
    height: 854

    component FakeLayer: Item {
        id: layer
        property string layerName
        property string centerBtn: "media/BottomBar/add.svg#" + layerName + "-center"
        property string button2: "media/BottomBar/add.svg#" + layerName + "-2"
        property string button3: "media/BottomBar/add.svg#" + layerName + "-3"
        property string button4: "media/BottomBar/add.svg#" + layerName + "-4"
        property string button5: "media/BottomBar/add.svg#" + layerName + "-5"
        function centerAction() { scene.log(layerName + ".center") }
        function button2Action() { scene.log(layerName + ".2") }
        function button3Action() { scene.log(layerName + ".3") }
        function button4Action() { scene.log(layerName + ".4") }
        function button5Action() { scene.log(layerName + ".5") }
        state: "hidden"
        states: [
            State { name: "shown" },
            State { name: "hidden" }
        ]
    }

    property var calls: []

    function log(what) {
        calls.push(what)
    }

    Item {
        id: window
        property alias history: historyModel
        property string language: "en"
        property bool darkTheme: false
        property bool exitConfirmation: false
        property bool transparentToolbar: false
        property int unread_notifications: 0
        // What the home menu reads.
        property bool useAsPage: false
        property string pageId
        property string pageName
        property bool reload: false
        property string privacyString: ""
        property string backgroundUrl: ""
        property int friend_requests: 0
        property int open_events: 0
        property bool hasNewMessage: false
        signal vibrate()

        function fetchUpdateCounts() { scene.log("window.fetchUpdateCounts") }
        function showLoginHelp() { scene.log("window.showLoginHelp") }
        function closeFullScreenImage() {
            scene.log("window.closeFullScreenImage")
            fullScreenImageLoader.sourceComponent = undefined
        }
    }

    ListModel { id: historyModel }

    QtObject {
        id: signalHandler
        signal quit()
        signal showSettings()
        onQuit: scene.log("signalHandler.quit")
        onShowSettings: scene.log("signalHandler.showSettings")
    }

    QtObject {
        id: exitdialog
        function open() { scene.log("exitdialog.open") }
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

    TextInput {
        id: someField
        width: 100
        height: 30
    }

    Component {
        id: imageComponent
        Item {
            function button3Action() { scene.log("image.3") }
            function button4Action() { scene.log("image.4") }
        }
    }

    Component {
        id: topViewComponent
        FakeLayer { layerName: "top" }
    }

    Component {
        id: pageComponent
        FakeLayer {
            layerName: "page"
            property bool photosListVisible: false
            property Item photosList: FakeLayer { layerName: "pagePhotos" }
        }
    }

    Component {
        id: bareComponent
        Item {}
    }

    Component {
        id: loginViewComponent
        Item { objectName: "loginView" }
    }

    Component {
        id: tagComponent
        Item { objectName: "friendPicker" }
    }

    Component {
        id: homeMenuComponent
        MainMenu {}
    }

    Loader { id: fullScreenImageLoader }
    FakeLayer { id: commentsList; layerName: "comments" }
    FakeLayer { id: likesList; layerName: "likes" }
    FakeLayer { id: photoView; layerName: "photoView" }
    FakeLayer { id: photosList; layerName: "photos" }
    Loader { id: currentViewTop }
    Loader { id: currentView }
    Loader { id: currentViewTag }
    Loader { id: menu; visible: false }

    Component {
        id: barComponent
        BottomBar { visible: false }
    }

    BottomBar {
        id: bar
        anchors.bottom: parent.bottom
        width: parent.width
    }

    SignalSpy { id: button1Spy; target: bar; signalName: "button1Clicked" }
    SignalSpy { id: button2Spy; target: bar; signalName: "button2Clicked" }
    SignalSpy { id: button3Spy; target: bar; signalName: "button3Clicked" }
    SignalSpy { id: button4Spy; target: bar; signalName: "button4Clicked" }
    SignalSpy { id: button5Spy; target: bar; signalName: "button5Clicked" }
    SignalSpy { id: button6Spy; target: bar; signalName: "button6Clicked" }
    SignalSpy { id: centerSpy; target: bar; signalName: "centerClicked" }

    TestCase {
        name: "BottomBar"
        when: windowShown

        readonly property var slotNames: ["button2", "button3", "centerBtn", "button4", "button5"]
        readonly property var buttonNames: ["button2", "button3", "centerButton", "button4", "button5"]
        readonly property var actionSuffix: ["2", "3", "center", "4", "5"]

        function init() {
            fullScreenImageLoader.sourceComponent = undefined
            commentsList.state = "hidden"
            likesList.state = "hidden"
            photoView.state = "hidden"
            photosList.state = "hidden"
            currentViewTop.sourceComponent = undefined
            currentViewTop.visible = true
            currentView.sourceComponent = undefined
            currentViewTag.sourceComponent = undefined
            menu.sourceComponent = undefined
            historyModel.clear()
            historyModel.append({ page: "home" })
            historyModel.append({ page: "news" })
            window.exitConfirmation = false
            window.transparentToolbar = false
            window.unread_notifications = 0
            toolbar.chatAlert = false
            calls = []
            button1Spy.clear()
            button2Spy.clear()
            button3Spy.clear()
            button4Spy.clear()
            button5Spy.clear()
            button6Spy.clear()
            centerSpy.clear()
        }

        function icons() {
            return slotNames.map(function (slot) { return bar[slot] })
        }

        // The middle row places its buttons when the scene is next polished;
        // presses must wait for that.
        function button(name) {
            var found = findChild(bar, name)
            verify(found !== null, name)
            var row = findChild(bar, "leftSpacer").parent
            tryVerify(function () { return !isPolishScheduled(row) })
            return found
        }

        // Every layer from `level` down is present, so the one at `level`
        // must win over all below it.
        function stackFrom(level) {
            currentView.sourceComponent = pageComponent
            if (level <= 7)
                currentView.item.photosListVisible = true
            if (level <= 6)
                currentViewTop.sourceComponent = topViewComponent
            if (level <= 5)
                photosList.state = "shown"
            if (level <= 4)
                photoView.state = "shown"
            if (level <= 3)
                likesList.state = "shown"
            if (level <= 2)
                commentsList.state = "shown"
            if (level <= 1)
                fullScreenImageLoader.sourceComponent = imageComponent
        }

        function layerIcons(name, slots) {
            var all = {
                "button2": "media/BottomBar/add.svg#" + name + "-2", "button3": "media/BottomBar/add.svg#" + name + "-3",
                "centerBtn": "media/BottomBar/add.svg#" + name + "-center", "button4": "media/BottomBar/add.svg#" + name + "-4",
                "button5": "media/BottomBar/add.svg#" + name + "-5"
            }
            return slotNames.map(function (slot) { return slots.indexOf(slot) >= 0 ? all[slot] : "" })
        }

        function test_layers_data() {
            var lists = ["centerBtn", "button2", "button5"]
            var five = ["centerBtn", "button2", "button3", "button4", "button5"]
            return [
                { tag: "1 full-screen image", level: 1, layer: "image",
                  icons: ["", "media/BottomBar/info.svg", "", "media/BottomBar/download.svg", ""] },
                { tag: "2 comments", level: 2, layer: "comments", icons: layerIcons("comments", lists) },
                { tag: "3 likes", level: 3, layer: "likes", icons: layerIcons("likes", ["centerBtn"]) },
                { tag: "4 photo view", level: 4, layer: "photoView", icons: layerIcons("photoView", lists) },
                { tag: "5 photos list", level: 5, layer: "photos", icons: layerIcons("photos", lists) },
                { tag: "6 top view", level: 6, layer: "top", icons: layerIcons("top", five) },
                { tag: "7 view's own photos list", level: 7, layer: "pagePhotos", icons: layerIcons("pagePhotos", lists) },
                { tag: "8 current view", level: 8, layer: "page", icons: layerIcons("page", five) }
            ]
        }

        function test_layers(data) {
            stackFrom(data.level)
            compare(bar.topLayer.name.length > 0, true)
            compare(icons(), data.icons)
            var spies = [button2Spy, button3Spy, centerSpy, button4Spy, button5Spy]
            var expected = []
            for (var i = 0; i < buttonNames.length; ++i) {
                var item = button(buttonNames[i])
                compare(item.visible, data.icons[i] !== "", buttonNames[i] + " visible")
                if (!item.visible)
                    continue
                verify(String(findChild(item, "icon").source).indexOf(data.icons[i]) > 0)
                mouseClick(item)
                compare(spies[i].count, 1, buttonNames[i] + " signal")
                expected.push(data.layer + "." + actionSuffix[i])
            }
            verify(expected.length > 0)
            compare(calls, expected)
        }

        function test_aHiddenTopViewIsSkipped() {
            stackFrom(6)
            currentViewTop.visible = false
            compare(icons(), layerIcons("pagePhotos", ["centerBtn", "button2", "button5"]))
        }

        function test_homeMenuButtons() {
            menu.sourceComponent = homeMenuComponent
            verify(bar.homeMenuShown)
            compare(icons(), ["", "media/BottomBar/refresh.svg", "", "media/BottomBar/settings.svg", ""])
            mouseClick(button("button3"))
            mouseClick(button("button4"))
            compare(calls, ["window.fetchUpdateCounts", "signalHandler.showSettings"])
        }

        function test_homeMenuHidesThePageButtons() {
            currentView.sourceComponent = pageComponent
            menu.sourceComponent = homeMenuComponent
            compare(icons(), ["", "media/BottomBar/refresh.svg", "", "media/BottomBar/settings.svg", ""])
        }

        function test_onlyAHomeMenuCountsAsOne() {
            menu.sourceComponent = bareComponent
            verify(!bar.homeMenuShown)
            compare(bar.button6, "media/BottomBar/home.svg")
        }

        function test_pageWithoutProtocolHasNoButtons() {
            currentView.sourceComponent = bareComponent
            compare(icons(), ["", "", "", "", ""])
            verify(!bar.moreButtons)
            mouseClick(bar, bar.width / 2, bar.height / 2)
            compare(calls, [])
        }

        function test_iconsFollowThePage() {
            stackFrom(8)
            currentView.item.button3 = ""
            compare(bar.button3, "")
            verify(!button("button3").visible)
            currentView.item.button3 = "media/BottomBar/add.svg#later"
            compare(bar.button3, "media/BottomBar/add.svg#later")
            commentsList.state = "shown"
            compare(bar.centerBtn, "media/BottomBar/add.svg#comments-center")
            commentsList.state = "hidden"
            compare(bar.centerBtn, "media/BottomBar/add.svg#page-center")
        }

        function test_slots_data() {
            return [
                { tag: "five buttons", keep: ["centerBtn", "button2", "button3", "button4", "button5"], more: true },
                { tag: "three buttons", keep: ["button2", "centerBtn", "button5"], more: true },
                { tag: "two buttons", keep: ["button3", "button4"], more: false },
                { tag: "one button", keep: ["centerBtn"], more: false },
                { tag: "none", keep: [], more: false }
            ]
        }

        function test_slots(data) {
            stackFrom(8)
            var page = currentView.item
            slotNames.forEach(function (slot) {
                if (data.keep.indexOf(slot) < 0)
                    page[slot] = ""
            })
            compare(bar.moreButtons, data.more)
            compare(bar.buttonWidth, data.more ? 7 : 5)
            var middle = findChild(bar, "middleRow")
            compare(findChild(bar, "leftSpacer").visible, data.more)
            compare(findChild(bar, "rightSpacer").visible, data.more)
            var slotWidth = middle.width / bar.buttonWidth
            var row = findChild(bar, "leftSpacer").parent
            tryVerify(function () { return !isPolishScheduled(row) })
            compare(row.width, slotWidth * (data.keep.length + (data.more ? 2 : 0)))
        }

        function test_buttonSizes() {
            compare(bar.height, 72)
            compare(button("button1").width, 50)
            compare(button("button1").height, 50)
            compare(button("button6").width, 40)
            stackFrom(8)
            compare(button("button2").width, 40)
            compare(button("button2").height, 40)
        }

        function test_backOnTheLoginViewQuits() {
            currentView.sourceComponent = loginViewComponent
            compare(bar.button1, "media/BottomBar/close.svg")
            mouseClick(button("button1"))
            compare(calls, ["signalHandler.quit"])
            compare(button1Spy.count, 0)
        }

        function test_backWithOneEntryAsksToQuit() {
            historyModel.remove(1)
            stackFrom(8)
            compare(bar.button1, "media/BottomBar/back.svg")
            mouseClick(button("button1"))
            compare(calls, ["exitdialog.open"])
            compare(button1Spy.count, 0)
            historyModel.clear()
            mouseClick(button("button1"))
            compare(calls, ["exitdialog.open", "exitdialog.open"])
        }

        function test_backClosesTheFullScreenImageFirst() {
            fullScreenImageLoader.sourceComponent = imageComponent
            currentViewTag.sourceComponent = tagComponent
            mouseClick(button("button1"))
            compare(calls, ["window.closeFullScreenImage"])
            verify(fullScreenImageLoader.item === null)
            verify(currentViewTag.item !== null)
            compare(button1Spy.count, 0)
        }

        function test_backClosesTheFriendPicker() {
            currentViewTag.sourceComponent = tagComponent
            mouseClick(button("button1"))
            verify(currentViewTag.item === null)
            compare(button1Spy.count, 0)
            compare(calls, [])
        }

        function test_backGoesBack() {
            stackFrom(8)
            mouseClick(button("button1"))
            compare(button1Spy.count, 1)
            compare(calls, [])
        }

        function test_homeButton_data() {
            return [
                { tag: "home menu, no confirmation", view: "menu", confirm: false, icon: "close.svg", calls: ["signalHandler.quit"], signal: 0 },
                { tag: "home menu, confirmation", view: "menu", confirm: true, icon: "close.svg", calls: ["exitdialog.open"], signal: 0 },
                { tag: "login view", view: "login", confirm: false, icon: "error.svg", calls: ["window.showLoginHelp"], signal: 0 },
                { tag: "a page", view: "page", confirm: true, icon: "home.svg", calls: [], signal: 1 }
            ]
        }

        function test_homeButton(data) {
            window.exitConfirmation = data.confirm
            if (data.view === "menu")
                menu.sourceComponent = homeMenuComponent
            else if (data.view === "login")
                currentView.sourceComponent = loginViewComponent
            else
                currentView.sourceComponent = pageComponent
            compare(bar.button6, "media/BottomBar/" + data.icon)
            mouseClick(button("button6"))
            compare(calls, data.calls)
            compare(button6Spy.count, data.signal)
        }

        function test_homeAlert_data() {
            return [
                { tag: "nothing new", menu: false, notifications: 0, chat: false, alert: false },
                { tag: "notifications", menu: false, notifications: 2, chat: false, alert: true },
                { tag: "chat", menu: false, notifications: 0, chat: true, alert: true },
                { tag: "on the home menu", menu: true, notifications: 2, chat: true, alert: false }
            ]
        }

        function test_homeAlert(data) {
            if (data.menu)
                menu.sourceComponent = homeMenuComponent
            else
                currentView.sourceComponent = pageComponent
            window.unread_notifications = data.notifications
            toolbar.chatAlert = data.chat
            compare(bar.alertShown, data.alert)
            compare(findChild(button("button6"), "alertHighlight").visible, data.alert)
        }

        function test_background() {
            var background = findChild(bar, "background")
            currentView.sourceComponent = pageComponent
            verify(String(background.source).indexOf("media/BottomBar/bar.png") > 0)
            window.transparentToolbar = true
            verify(String(background.source).indexOf("media/BottomBar/bar_transparent.png") > 0)
            window.transparentToolbar = false
            menu.sourceComponent = homeMenuComponent
            verify(String(background.source).indexOf("media/BottomBar/bar_transparent.png") > 0)
        }

        function test_buttonsVisible() {
            verify(bar.buttonsVisible)
            var other = createTemporaryObject(barComponent, scene)
            verify(other.buttonsVisible)
            other.button1 = ""
            verify(other.buttonsVisible)
            other.button6 = ""
            verify(!other.buttonsVisible)
            stackFrom(8)
            verify(other.buttonsVisible)
        }

        function test_clickClosesTheKeyboardFirst() {
            stackFrom(8)
            someField.forceActiveFocus()
            verify(someField.activeFocus)
            mouseClick(button("button2"))
            verify(!someField.activeFocus)
            compare(calls, ["page.2"])
        }

        function test_touchAreaReachesBeyondTheIcon() {
            stackFrom(8)
            var item = button("button2")
            mouseClick(item, -8, item.height / 2)
            compare(button2Spy.count, 1)
        }

        function test_pressedBackgroundFadesOnRelease() {
            stackFrom(8)
            var item = button("button2")
            var pressed = findChild(item, "pressedBackground")
            // An earlier test's click may still be fading out.
            tryCompare(pressed, "opacity", 0)
            mousePress(item)
            compare(pressed.opacity, 1)
            mouseRelease(item)
            verify(pressed.opacity > 0, "fades rather than vanishes")
            tryCompare(pressed, "opacity", 0)
        }
    }
}
