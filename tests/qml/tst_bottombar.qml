import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/common"

// The bottom bar. Each fake layer offers all five middle buttons with icons
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
        function centerAction() { window.log(layerName + ".center") }
        function button2Action() { window.log(layerName + ".2") }
        function button3Action() { window.log(layerName + ".3") }
        function button4Action() { window.log(layerName + ".4") }
        function button5Action() { window.log(layerName + ".5") }
        state: "hidden"
        states: [State { name: "shown" }, State { name: "hidden" }]
    }

    readonly property var signalHandler: window.navigation
    FakeWindow {
        id: window
        commentsList: commentsList
        likesList: likesList
        photoView: photoView
        photosList: photosList
    }
    TranslationHelper { id: translator }
    TextInput { id: someField; width: 100; height: 30 }

    Component {
        id: imageComponent
        Item {
            function button3Action() { window.log("image.3") }
            function button4Action() { window.log("image.4") }
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

    FakeLayer { id: commentsList; layerName: "comments" }
    FakeLayer { id: likesList; layerName: "likes" }
    FakeLayer { id: photoView; layerName: "photoView" }
    FakeLayer { id: photosList; layerName: "photos" }

    BottomBar { id: bar; anchors.bottom: parent.bottom; width: parent.width }

    TestCase {
        name: "BottomBar"
        when: windowShown

        readonly property var slotNames: ["button2", "button3", "centerBtn", "button4", "button5"]
        readonly property var buttonNames: ["button2", "button3", "centerButton", "button4", "button5"]
        readonly property var signalNames: ["button2Clicked", "button3Clicked", "centerClicked", "button4Clicked", "button5Clicked"]
        readonly property var actionSuffix: ["2", "3", "center", "4", "5"]
        // The bar's own signals, by name, in the order they came.
        property var emitted: []

        function initTestCase() {
            for (const name of signalNames.concat(["button1Clicked", "button6Clicked"]))
                bar[name].connect(function () { emitted.push(name) })
        }

        function init() {
            window.reset()
            for (const panel of [commentsList, likesList, photoView, photosList])
                panel.state = "hidden"
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
            window.currentView.sourceComponent = pageComponent
            if (level <= 7)
                window.currentView.item.photosListVisible = true
            if (level <= 6)
                window.currentViewTop.sourceComponent = topViewComponent
            var panels = [commentsList, likesList, photoView, photosList]
            for (var i = Math.max(level, 2); i <= 5; ++i)
                panels[i - 2].state = "shown"
            if (level <= 1)
                window.fullScreenImageLoader.sourceComponent = imageComponent
        }

        function layerIcons(name, slots) {
            return slotNames.map(function (slot, i) {
                return slots.indexOf(slot) >= 0 ? "../media/BottomBar/add.svg#" + name + "-" + actionSuffix[i] : ""
            })
        }

        // From the top: the full-screen image (with buttons of its own), the
        // comments, likes, photo and photos panels, the top view unless
        // hidden, the view's own photos list, the current view.
        function test_layers_data() {
            var lists = ["centerBtn", "button2", "button5"]
            return [
                { tag: "1 full-screen image", level: 1, layer: "image", slots: ["button3", "button4"], fixed: true },
                { tag: "2 comments", level: 2, layer: "comments", slots: lists },
                { tag: "3 likes", level: 3, layer: "likes", slots: ["centerBtn"] },
                { tag: "4 photo view", level: 4, layer: "photoView", slots: lists },
                { tag: "5 photos list", level: 5, layer: "photos", slots: lists },
                { tag: "6 top view", level: 6, layer: "top", slots: slotNames },
                { tag: "6 hidden top view skipped", level: 6, hideTop: true, layer: "pagePhotos", slots: lists },
                { tag: "7 view's own photos list", level: 7, layer: "pagePhotos", slots: lists },
                { tag: "8 current view", level: 8, layer: "page", slots: slotNames }
            ]
        }

        // Each shown button runs the winning layer's action and emits its
        // signal; the slots the layer does not offer stay hidden.
        function test_layers(data) {
            stackFrom(data.level)
            if (data.hideTop)
                window.currentViewTop.visible = false
            if (!data.fixed)
                compare(icons(), layerIcons(data.layer, data.slots))
            var expectedCalls = []
            var expectedSignals = []
            for (var i = 0; i < buttonNames.length; ++i) {
                var item = button(buttonNames[i])
                compare(item.visible, data.slots.indexOf(slotNames[i]) >= 0, buttonNames[i] + " visible")
                if (!item.visible)
                    continue
                mouseClick(item)
                expectedCalls.push(data.layer + "." + actionSuffix[i] + "()")
                expectedSignals.push(signalNames[i])
            }
            compare(window.calls, expectedCalls)
            compare(emitted, expectedSignals)
        }

        // The home menu covers the page below it with its own two buttons;
        // a page without the protocol or a menu that is not the home menu
        // offers none, and a press on the bar then does nothing.
        function test_menus_data() {
            return [
                { tag: "home menu", menu: homeMenuComponent, page: pageComponent, shown: ["button3", "button4"],
                  calls: ["fetchUpdateCounts()", "showSettings()"], emitted: ["button3Clicked", "button4Clicked"] },
                { tag: "other menu, bare page", menu: bareComponent, page: bareComponent, shown: [], calls: [], emitted: [] }
            ]
        }

        function test_menus(data) {
            window.currentView.sourceComponent = data.page
            window.menu.sourceComponent = data.menu
            compare(slotNames.filter(function (slot) { return bar[slot] !== "" }), data.shown)
            for (const name of data.shown)
                mouseClick(button(name))
            if (!data.shown.length)
                mouseClick(bar, bar.width / 2, bar.height / 2)
            compare(window.calls, data.calls)
            compare(emitted, data.emitted)
        }

        // The icons follow the page and the panels as they change.
        function test_iconsFollowThePage() {
            stackFrom(8)
            window.currentView.item.button3 = "../media/BottomBar/add.svg#later"
            compare(bar.button3, "../media/BottomBar/add.svg#later")
            commentsList.state = "shown"
            compare(bar.centerBtn, "../media/BottomBar/add.svg#comments-center")
            commentsList.state = "hidden"
            compare(bar.centerBtn, "../media/BottomBar/add.svg#page-center")
        }

        // Button 1 (back) and button 6 (home) in the situations that change
        // what they do.
        function test_sideButtons_data() {
            return [
                { tag: "back on the login view quits", press: "button1", view: "login", calls: ["quit()"] },
                { tag: "back with one entry asks to quit", press: "button1", view: "page", history: 1, calls: ["exitdialog.open()"] },
                { tag: "back with no entry asks to quit", press: "button1", view: "page", history: 0, calls: ["exitdialog.open()"] },
                { tag: "back closes the full-screen image first", press: "button1", image: true, picker: true,
                  calls: ["closeFullScreenImage()"], pickerLeft: true },
                { tag: "back closes the friend picker", press: "button1", picker: true, calls: [] },
                { tag: "back on a page goes back", press: "button1", view: "page", calls: [], emitted: ["button1Clicked"] },
                { tag: "home menu quits", press: "button6", view: "menu", calls: ["quit()"] },
                { tag: "home menu asks first", press: "button6", view: "menu", confirm: true, calls: ["exitdialog.open()"] },
                { tag: "login view offers help", press: "button6", view: "login", calls: ["showLoginHelp()"] },
                { tag: "a page goes home", press: "button6", view: "page", confirm: true, calls: [], emitted: ["button6Clicked"] }
            ]
        }

        function test_sideButtons(data) {
            window.exitConfirmation = !!data.confirm
            if (data.view === "menu")
                window.menu.sourceComponent = homeMenuComponent
            else if (data.view)
                window.currentView.sourceComponent = data.view === "login" ? loginViewComponent : pageComponent
            while (data.history !== undefined && window.history.count > data.history)
                window.history.remove(0)
            if (data.image)
                window.fullScreenImageLoader.sourceComponent = imageComponent
            if (data.picker)
                window.currentViewTag.sourceComponent = tagComponent
            mouseClick(button(data.press))
            compare(window.calls, data.calls)
            compare(emitted, data.emitted || [])
            verify(window.fullScreenImageLoader.item === null)
            compare(window.currentViewTag.item !== null, !!data.pickerLeft, "one layer closes per press")
        }

        // The home button shows an alert for notifications or chat, except
        // on the home menu.
        function test_homeAlert_data() {
            return [[false, 0, false, false], [false, 2, false, true], [false, 0, true, true], [true, 2, true, false]]
                .map(function (row) {
                    return { tag: row.join(" "), menu: row[0], notifications: row[1], chat: row[2], alert: row[3] }
                })
        }

        function test_homeAlert(data) {
            if (data.menu)
                window.menu.sourceComponent = homeMenuComponent
            else
                window.currentView.sourceComponent = pageComponent
            window.unread_notifications = data.notifications
            window.toolbar.chatAlert = data.chat
            compare(findChild(button("button6"), "alertHighlight").visible, data.alert)
        }

        function test_clickClosesTheKeyboardFirst() {
            stackFrom(8)
            someField.forceActiveFocus()
            verify(someField.activeFocus)
            mouseClick(button("button2"))
            verify(!someField.activeFocus)
            compare(window.calls, ["page.2()"])
        }
    }
}
