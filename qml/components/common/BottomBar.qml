import QtQuick 2.15

// The bottom bar: back/close at the left, home/close at the right and up to
// five buttons between them that belong to whatever is top-most in the
// window. The bar finds that layer itself (resolveLayer) among the window's
// layers, shows the icons the layer offers and calls its actions.
//
// What a layer offers (the page protocol): the optional properties
// `centerBtn`, `button2` … `button5` hold icon paths (empty or absent: no
// button) and the functions `centerAction()`, `button2Action()` …
// `button5Action()` run on a press. A wall or page view whose own photos
// list is on show says so with `photosListVisible: true` and hands that list
// as `photosList`; the bar then serves the list instead of the view.
//
// How the bar recognises the special views: the home menu by its
// `isHomeMenu` property (in the window's `menu` loader), the login view by
// `objectName: "loginView"` (in the window's `currentView` loader).
Item {
    id: bottomBar

    readonly property bool homeMenuShown: window.menu.status === Loader.Ready && window.menu.item !== null
                                          && window.menu.item.isHomeMenu === true
    readonly property bool onLoginView: window.currentView.item !== null
                                        && window.currentView.item.objectName === "loginView"
    // The top-most layer, kept current by the bindings it reads.
    readonly property var topLayer: resolveLayer()

    property string button1: onLoginView ? "../media/BottomBar/close.svg" : "../media/BottomBar/back.svg"
    property string button2: slotIcon(topLayer, "button2")
    property string button3: slotIcon(topLayer, "button3")
    property string centerBtn: slotIcon(topLayer, "centerBtn")
    property string button4: slotIcon(topLayer, "button4")
    property string button5: slotIcon(topLayer, "button5")
    property string button6: homeMenuShown ? "../media/BottomBar/close.svg"
                                           : onLoginView ? "../media/BottomBar/error.svg"
                                                         : "../media/BottomBar/home.svg"
    readonly property bool alertShown: !homeMenuShown
                                       && (window.unread_notifications > 0 || window.toolbar.chatAlert)

    readonly property int middleButtonCount: [button2, button3, centerBtn, button4, button5]
        .filter(function (icon) { return icon !== "" }).length
    readonly property bool moreButtons: middleButtonCount > 2
    readonly property int buttonWidth: moreButtons ? 7 : 5
    readonly property bool buttonsVisible: [button1, button2, button3, button4, button5, button6]
        .some(function (icon) { return icon !== "" })
    property bool hide: false
    // The centre button reloads the view: the client presses it after a posting.
    readonly property bool centerReloads: centerBtn.indexOf("reload.svg") >= 0

    signal button1Clicked()
    signal button2Clicked()
    signal button3Clicked()
    signal button4Clicked()
    signal button5Clicked()
    signal button6Clicked()
    signal centerClicked()

    readonly property var allSlots: ["centerBtn", "button2", "button3", "button4", "button5"]
    readonly property var listSlots: ["centerBtn", "button2", "button5"]

    // A layer whose slots are read from `target` by the page protocol.
    function protocolLayer(name, target, slots) {
        return { name: name, target: target, slots: slots, fixed: null }
    }

    // A layer with icons and actions of its own: `fixed` maps a slot to
    // { icon, action }.
    function fixedLayer(name, fixed) {
        return { name: name, target: null, slots: Object.keys(fixed), fixed: fixed }
    }

    // Finds the top-most layer, first match wins: the full-screen image,
    // the comments, likes, photo and photos panels, the home menu (its
    // loader lies above both page loaders), the top view, a view showing its
    // own photos list, and last the current page.
    function resolveLayer() {
        var image = window.fullScreenImageLoader.item
        if (image) {
            return fixedLayer("fullScreenImage", {
                "button3": { icon: "../media/BottomBar/info.svg", action: function () { image.button3Action() } },
                "button4": { icon: "../media/BottomBar/download.svg", action: function () { image.button4Action() } }
            })
        }
        if (window.commentsList.state === "shown")
            return protocolLayer("commentsList", window.commentsList, listSlots)
        if (window.likesList.state === "shown")
            return protocolLayer("likesList", window.likesList, ["centerBtn"])
        if (window.photoView.state === "shown")
            return protocolLayer("photoView", window.photoView, listSlots)
        if (window.photosList.state === "shown")
            return protocolLayer("photosList", window.photosList, listSlots)
        if (homeMenuShown) {
            return fixedLayer("homeMenu", {
                "button3": { icon: "../media/BottomBar/refresh.svg", action: function () { window.fetchUpdateCounts() } },
                "button4": { icon: "../media/BottomBar/settings.svg", action: function () { signalHandler.showSettings() } }
            })
        }
        var top = window.currentViewTop.item
        if (top && window.currentViewTop.visible)
            return protocolLayer("topView", top, allSlots)
        var page = window.currentView.item
        if (page && page.photosListVisible === true && page.photosList)
            return protocolLayer("viewPhotosList", page.photosList, listSlots)
        if (page)
            return protocolLayer("currentView", page, allSlots)
        return fixedLayer("none", {})
    }

    function slotIcon(current, slot) {
        if (!current || current.slots.indexOf(slot) < 0)
            return ""
        if (current.fixed)
            return current.fixed[slot].icon
        var icon = current.target[slot]
        return icon === undefined || icon === null ? "" : icon.toString()
    }

    function actionName(slot) {
        return slot === "centerBtn" ? "centerAction" : slot + "Action"
    }

    // Runs the top-most layer's action for a middle slot.
    function pressSlot(slot) {
        var current = resolveLayer()
        if (current.slots.indexOf(slot) < 0)
            return
        if (current.fixed) {
            current.fixed[slot].action()
        } else {
            var action = current.target[actionName(slot)]
            if (typeof action === "function")
                action()
        }
    }

    // The centre button's action, as a press runs it.
    function pressCenter() {
        pressSlot("centerBtn")
        centerClicked()
    }

    function closeFullScreenImage() {
        if (typeof window.closeFullScreenImage === "function")
            window.closeFullScreenImage()
        else
            window.fullScreenImageLoader.sourceComponent = undefined
    }

    // Back: quits from the login view, asks before leaving when there is
    // nothing to go back to, closes the full-screen image or the friend
    // picker first, and otherwise lets the window go back a page.
    function backPressed() {
        if (onLoginView)
            signalHandler.quit()
        else if (window.history.count < 2)
            window.exitdialog.open()
        else if (window.fullScreenImageLoader.item)
            closeFullScreenImage()
        else if (window.currentViewTag.item)
            window.currentViewTag.sourceComponent = undefined
        else
            button1Clicked()
    }

    // Right button: leaves the application from the home menu (asking
    // first when the user wants that), offers login help on the login view,
    // and otherwise lets the window go home.
    function homePressed() {
        if (homeMenuShown) {
            if (window.exitConfirmation)
                window.exitdialog.open()
            else
                signalHandler.quit()
        } else if (onLoginView) {
            window.showLoginHelp()
        } else {
            button6Clicked()
        }
    }

    width: parent ? parent.width : 480
    height: 72
    visible: !hide

    // Swallows presses between the buttons so they do not reach the page.
    MouseArea {
        anchors.fill: parent
    }

    Rectangle {
        objectName: "fallbackBackground"
        anchors.fill: parent
        color: background.transparentLook ? "#66000000" : "#1c1c1c"
        visible: background.status !== Image.Ready
    }

    Image {
        id: background
        objectName: "background"

        readonly property bool transparentLook: window.transparentToolbar || bottomBar.homeMenuShown

        anchors.fill: parent
        source: transparentLook ? "../media/BottomBar/bar_transparent.png" : "../media/BottomBar/bar.png"
    }

    BottomBarButton {
        id: backButton
        objectName: "button1"
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        width: 50
        height: 50
        source: bottomBar.button1
        onClicked: bottomBar.backPressed()
    }

    BottomBarButton {
        id: homeButton
        objectName: "button6"
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        source: bottomBar.button6
        alert: bottomBar.alertShown
        onClicked: bottomBar.homePressed()
    }

    Item {
        id: middle
        objectName: "middleRow"

        readonly property real slotWidth: width / bottomBar.buttonWidth

        anchors.left: backButton.right
        anchors.right: homeButton.left
        anchors.leftMargin: 10
        anchors.rightMargin: 10
        height: parent.height

        Row {
            anchors.centerIn: parent
            height: parent.height

            Item {
                objectName: "leftSpacer"
                width: middle.slotWidth
                height: parent.height
                visible: bottomBar.moreButtons
            }

            Item {
                width: middle.slotWidth
                height: parent.height
                visible: bottomBar.button2 !== ""

                BottomBarButton {
                    id: button2Item
                    objectName: "button2"
                    anchors.centerIn: parent
                    source: bottomBar.button2
                    onClicked: {
                        bottomBar.pressSlot("button2")
                        bottomBar.button2Clicked()
                    }
                }
            }

            Item {
                width: middle.slotWidth
                height: parent.height
                visible: bottomBar.button3 !== ""

                BottomBarButton {
                    id: button3Item
                    objectName: "button3"
                    anchors.centerIn: parent
                    source: bottomBar.button3
                    onClicked: {
                        bottomBar.pressSlot("button3")
                        bottomBar.button3Clicked()
                    }
                }
            }

            Item {
                width: middle.slotWidth
                height: parent.height
                visible: bottomBar.centerBtn !== ""

                BottomBarButton {
                    id: centerItem
                    objectName: "centerButton"
                    anchors.centerIn: parent
                    source: bottomBar.centerBtn
                    onClicked: bottomBar.pressCenter()
                }
            }

            Item {
                width: middle.slotWidth
                height: parent.height
                visible: bottomBar.button4 !== ""

                BottomBarButton {
                    id: button4Item
                    objectName: "button4"
                    anchors.centerIn: parent
                    source: bottomBar.button4
                    onClicked: {
                        bottomBar.pressSlot("button4")
                        bottomBar.button4Clicked()
                    }
                }
            }

            Item {
                width: middle.slotWidth
                height: parent.height
                visible: bottomBar.button5 !== ""

                BottomBarButton {
                    id: button5Item
                    objectName: "button5"
                    anchors.centerIn: parent
                    source: bottomBar.button5
                    onClicked: {
                        bottomBar.pressSlot("button5")
                        bottomBar.button5Clicked()
                    }
                }
            }

            Item {
                objectName: "rightSpacer"
                width: middle.slotWidth
                height: parent.height
                visible: bottomBar.moreButtons
            }
        }
    }
}
