import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/common"

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
        property string layerName
        property string centerBtn: "../media/BottomBar/add.svg#" + layerName + "-center"
        property string button2: "../media/BottomBar/add.svg#" + layerName + "-2"
        property string button3: "../media/BottomBar/add.svg#" + layerName + "-3"
        property string button4: "../media/BottomBar/add.svg#" + layerName + "-4"
        property string button5: "../media/BottomBar/add.svg#" + layerName + "-5"
        function centerAction() { scene.log(layerName + ".center") }
        function button2Action() { scene.log(layerName + ".2") }
        function button3Action() { scene.log(layerName + ".3") }
        function button4Action() { scene.log(layerName + ".4") }
        function button5Action() { scene.log(layerName + ".5") }
        state: "hidden"
        states: [State { name: "shown" }, State { name: "hidden" }]
    }

    property var calls: []
    function log(what) { calls.push(what) }

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
        // The layers and bars the bar reads on the window.
        property Item currentView: currentView
        property Item currentViewTop: currentViewTop
        property Item currentViewTag: currentViewTag
        property Item menu: menu
        property Item fullScreenImageLoader: fullScreenImageLoader
        property Item commentsList: commentsList
        property Item likesList: likesList
        property Item photoView: photoView
        property Item photosList: photosList
        property Item toolbar: toolbar
        property Item helpInput: helpInput
        property QtObject exitdialog: exitdialog
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

    Item { id: toolbar; property bool chatAlert: false }
    TranslationHelper { id: translator }
    TextInput { id: helpInput; visible: false }
    TextInput { id: someField; width: 100; height: 30 }

    Component {
        id: imageComponent
        Item {
            function button3Action() { scene.log("image.3") }
            function button4Action() { scene.log("image.4") }
        }
    }

    Component { id: topViewComponent; FakeLayer { layerName: "top" } }
    Component {
        id: pageComponent
        FakeLayer {
            layerName: "page"
            property bool photosListVisible: false
            property Item photosList: FakeLayer { layerName: "pagePhotos" }
        }
    }
    Component { id: bareComponent; Item {} }
    Component { id: loginViewComponent; Item { objectName: "loginView" } }
    Component { id: tagComponent; Item { objectName: "friendPicker" } }
    Component { id: homeMenuComponent; MainMenu {} }

    Loader { id: fullScreenImageLoader }
    FakeLayer { id: commentsList; layerName: "comments" }
    FakeLayer { id: likesList; layerName: "likes" }
    FakeLayer { id: photoView; layerName: "photoView" }
    FakeLayer { id: photosList; layerName: "photos" }
    Loader { id: currentViewTop }
    Loader { id: currentView }
    Loader { id: currentViewTag }
    Loader { id: menu; visible: false }

    Component { id: barComponent; BottomBar { visible: false } }

    // The bar's own signals, by name, in the order they came.
    property var emitted: []
    Connections {
        target: bar
        function onButton1Clicked() { emitted.push("button1Clicked") }
        function onButton2Clicked() { emitted.push("button2Clicked") }
        function onButton3Clicked() { emitted.push("button3Clicked") }
        function onButton4Clicked() { emitted.push("button4Clicked") }
        function onButton5Clicked() { emitted.push("button5Clicked") }
        function onButton6Clicked() { emitted.push("button6Clicked") }
        function onCenterClicked() { emitted.push("centerClicked") }
    }

    BottomBar {
        id: bar
        anchors.bottom: parent.bottom
        width: parent.width
    }

    TestCase {
        name: "BottomBar"
        when: windowShown

        readonly property var slotNames: ["button2", "button3", "centerBtn", "button4", "button5"]
        readonly property var buttonNames: ["button2", "button3", "centerButton", "button4", "button5"]
        readonly property var signalNames: ["button2Clicked", "button3Clicked", "centerClicked", "button4Clicked", "button5Clicked"]
        readonly property var actionSuffix: ["2", "3", "center", "4", "5"]
        readonly property var homeMenuIcons: ["", "../media/BottomBar/refresh.svg", "", "../media/BottomBar/settings.svg", ""]

        function init() {
            fullScreenImageLoader.sourceComponent = undefined
            for (const panel of [commentsList, likesList, photoView, photosList])
                panel.state = "hidden"
            currentViewTop.sourceComponent = undefined
            currentViewTop.visible = true
            currentView.sourceComponent = undefined
            currentViewTag.sourceComponent = undefined
            menu.sourceComponent = undefined
            historyModel.clear()
            historyModel.append({ page: "home" })
            historyModel.append({ page: "news" })
            window.exitConfirmation = false
            window.unread_notifications = 0
            toolbar.chatAlert = false
            calls = []
            emitted = []
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
            return slotNames.map(function (slot, i) {
                return slots.indexOf(slot) >= 0 ? "../media/BottomBar/add.svg#" + name + "-" + actionSuffix[i] : ""
            })
        }

        function test_layers_data() {
            var lists = ["centerBtn", "button2", "button5"]
            return [
                { tag: "1 full-screen image", level: 1, layer: "image",
                  icons: ["", "../media/BottomBar/info.svg", "", "../media/BottomBar/download.svg", ""] },
                { tag: "2 comments", level: 2, layer: "comments", icons: layerIcons("comments", lists) },
                { tag: "3 likes", level: 3, layer: "likes", icons: layerIcons("likes", ["centerBtn"]) },
                { tag: "4 photo view", level: 4, layer: "photoView", icons: layerIcons("photoView", lists) },
                { tag: "5 photos list", level: 5, layer: "photos", icons: layerIcons("photos", lists) },
                { tag: "6 top view", level: 6, layer: "top", icons: layerIcons("top", slotNames) },
                { tag: "6 hidden top view skipped", level: 6, hideTop: true, layer: "pagePhotos",
                  icons: layerIcons("pagePhotos", lists) },
                { tag: "7 view's own photos list", level: 7, layer: "pagePhotos", icons: layerIcons("pagePhotos", lists) },
                { tag: "8 current view", level: 8, layer: "page", icons: layerIcons("page", slotNames) }
            ]
        }

        // Each shown button runs the winning layer's action and emits its
        // signal; the slots the layer does not offer stay hidden.
        function test_layers(data) {
            stackFrom(data.level)
            if (data.hideTop)
                currentViewTop.visible = false
            compare(icons(), data.icons)
            var expectedCalls = []
            var expectedSignals = []
            for (var i = 0; i < buttonNames.length; ++i) {
                var item = button(buttonNames[i])
                compare(item.visible, data.icons[i] !== "", buttonNames[i] + " visible")
                if (!item.visible)
                    continue
                mouseClick(item)
                expectedCalls.push(data.layer + "." + actionSuffix[i])
                expectedSignals.push(signalNames[i])
            }
            compare(calls, expectedCalls)
            compare(emitted, expectedSignals)
        }

        // The home menu covers the page below it with its own two buttons.
        function test_homeMenuButtons() {
            currentView.sourceComponent = pageComponent
            menu.sourceComponent = homeMenuComponent
            verify(bar.homeMenuShown)
            compare(icons(), homeMenuIcons)
            mouseClick(button("button3"))
            mouseClick(button("button4"))
            compare(calls, ["window.fetchUpdateCounts", "signalHandler.showSettings"])
            compare(emitted, ["button3Clicked", "button4Clicked"])
        }

        // Neither a page without the protocol nor a menu that is not the
        // home menu offers buttons.
        function test_noProtocolNoButtons() {
            menu.sourceComponent = bareComponent
            currentView.sourceComponent = bareComponent
            verify(!bar.homeMenuShown)
            compare(icons(), ["", "", "", "", ""])
            mouseClick(bar, bar.width / 2, bar.height / 2)
            compare(calls, [])
            compare(emitted, [])
        }

        function test_iconsFollowThePage() {
            stackFrom(8)
            currentView.item.button3 = "../media/BottomBar/add.svg#later"
            compare(bar.button3, "../media/BottomBar/add.svg#later")
            commentsList.state = "shown"
            compare(bar.centerBtn, "../media/BottomBar/add.svg#comments-center")
            commentsList.state = "hidden"
            compare(bar.centerBtn, "../media/BottomBar/add.svg#page-center")
        }

        // More than two middle buttons: seven slots with a spacer at each
        // end; otherwise five slots.
        function test_slots_data() {
            return [
                { tag: "three buttons", keep: ["button2", "centerBtn", "button5"], more: true },
                { tag: "two buttons", keep: ["button3", "button4"], more: false },
                { tag: "none", keep: [], more: false }
            ]
        }

        function test_slots(data) {
            stackFrom(8)
            slotNames.forEach(function (slot) {
                if (data.keep.indexOf(slot) < 0)
                    currentView.item[slot] = ""
            })
            compare(bar.buttonWidth, data.more ? 7 : 5)
            compare(findChild(bar, "leftSpacer").visible, data.more)
            compare(findChild(bar, "rightSpacer").visible, data.more)
        }

        // Button 1 (back) and button 6 (home) in the situations that change
        // what they do.
        function test_sideButtons_data() {
            return [
                { tag: "back on the login view quits", press: "button1", view: "login", calls: ["signalHandler.quit"] },
                { tag: "back with one entry asks to quit", press: "button1", view: "page", history: 1, calls: ["exitdialog.open"] },
                { tag: "back with no entry asks to quit", press: "button1", view: "page", history: 0, calls: ["exitdialog.open"] },
                { tag: "back closes the full-screen image first", press: "button1", image: true, picker: true,
                  calls: ["window.closeFullScreenImage"], pickerLeft: true },
                { tag: "back closes the friend picker", press: "button1", picker: true, calls: [] },
                { tag: "back on a page goes back", press: "button1", view: "page", calls: [], emitted: ["button1Clicked"] },
                { tag: "home menu quits", press: "button6", view: "menu", calls: ["signalHandler.quit"] },
                { tag: "home menu asks first", press: "button6", view: "menu", confirm: true, calls: ["exitdialog.open"] },
                { tag: "login view offers help", press: "button6", view: "login", calls: ["window.showLoginHelp"] },
                { tag: "a page goes home", press: "button6", view: "page", confirm: true, calls: [], emitted: ["button6Clicked"] }
            ]
        }

        function test_sideButtons(data) {
            window.exitConfirmation = !!data.confirm
            if (data.view === "menu")
                menu.sourceComponent = homeMenuComponent
            else if (data.view)
                currentView.sourceComponent = data.view === "login" ? loginViewComponent : pageComponent
            while (data.history !== undefined && historyModel.count > data.history)
                historyModel.remove(0)
            if (data.image)
                fullScreenImageLoader.sourceComponent = imageComponent
            if (data.picker)
                currentViewTag.sourceComponent = tagComponent
            mouseClick(button(data.press))
            compare(calls, data.calls)
            compare(emitted, data.emitted || [])
            verify(fullScreenImageLoader.item === null)
            compare(currentViewTag.item !== null, !!data.pickerLeft, "one layer closes per press")
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
            compare(findChild(button("button6"), "alertHighlight").visible, data.alert)
        }

        function test_buttonsVisible() {
            var other = createTemporaryObject(barComponent, scene)
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
    }
}
