import QtQml 2.15
import QtQuick 2.15
import Kelvo 1.0
import "facebook.js" as Facebook
import "storage.js" as Storage
import "components/common"
import "components/feed"
import "client"
import "components/platform"
import "navigation"
import "window"
import "window/slots.js" as Slot

// The main window: the application as the user sees it. Its state, settings,
// theme and list models are declared in window/WindowState.qml and
// window/WindowModels.qml; this file composes the layers pages are loaded
// into, the bars, the banners, indicators, dialogs and timers, and holds the
// functions the root window and the pages call. The root window relays its
// signals to the native core and calls its functions for native events.
WindowModels {
    id: window

    readonly property bool menuShown: menu.item !== null
    // The access-token pair; the client's session owns it.
    property alias token: clientSession.accessToken
    property string title: getTitle()

    // Reached by name from pages and scripts.
    property alias currentView: currentView
    property alias currentViewTop: currentViewTop
    property alias currentViewTag: currentViewTag
    property alias menu: menu
    property alias fullScreenImageLoader: fullScreenImageLoader
    property alias albumsList: albumsList
    property alias photosList: photosList
    property alias photoView: photoView
    property alias commentsList: commentsList
    property alias likesList: likesList
    property alias searchBar: searchBar
    property alias commentDialog: commentDialog
    readonly property Component statusViewComponent: pages.statusViewComponent
    readonly property Component mainMenuComponent: pages.mainMenuComponent
    readonly property Component loginViewComponent: pages.loginViewComponent
    property alias signalHandler: signalHandler
    property alias navigation: navigation
    property alias translator: translator
    property alias clientSession: clientSession
    property alias toolbar: toolbar
    property alias bottomBar: bottomBar
    property alias statusBar: statusBar
    property alias helpInput: helpInput
    property alias infobanner: banners.infobanner
    property alias errorbanner: banners.errorbanner
    property alias notificationbanner: banners.notificationbanner
    property alias done: indicators.done
    property alias waiting: indicators.waiting
    property alias exitdialog: dialogs.exitdialog
    property alias loginHelpDialog: dialogs.loginHelpDialog
    property alias dialog: dialogs.rilDialog
    property alias privacyDialog: dialogs.privacyDialog
    property alias ownPagedialog: dialogs.ownPagedialog
    property alias updateTimer: timers.updateTimer
    property alias chatTimer: timers.chatTimer
    property alias nofriendTimer: timers.nofriendTimer
    property alias updateUsersTimer: timers.updateUsersTimer
    property alias hideTypingImage: timers.hideTypingImage
    readonly property alias chatListRebuilds: timers.rebuilds
    property alias vibraTimer: timers.vibraTimer
    property alias vibraStopper: timers.vibraStopper
    // The main instance of the web-API client, for components that must act
    // on its state (token, counters) rather than on an instance of their own.
    readonly property var facebook: Facebook
    // The product's own page, credited on the About page.
    readonly property string productPageLink: ServiceConfig.webRoot + "/" + ServiceConfig.productPageId

    width: 360
    height: 640
    color: bgColor

    // --- Functions -----------------------------------------------------------

    // Applies one stored setting; the callback of every settings read.
    function valueLoaded(key, value) {
        settingsReader.valueLoaded(key, value)
    }

    function applyStoredToken(value) {
        settingsReader.applyStoredToken(value)
    }

    function topViewHolds(name) {
        return currentViewTop.item !== null && currentViewTop.item.objectName === name
    }

    // The title key of the top-most content.
    function getTitle() { return navigation.titleKey() }

    function photoUploaded(photoId) {
        uploadedPhoto = photoId
        waiting.state = "hidden"
        // An empty id is a failed upload: it must not read as a success.
        uploadOk = photoId !== ""
        if (currentPage === "PhotoUpload" && currentView.item) {
            console.info(uiLog, "photoUploaded")
            currentView.item.photoUploaded()
        }
    }

    function vkbOpened() {
        vkbOpen = true
        bottomMargin = height > width ? 298 : 215
    }

    function vkbClosed() {
        vkbOpen = false
        bottomMargin = 0
        helpInput.forceActiveFocus()
    }

    // Chat events: the chat list builder (window/slots.js) turns them into
    // lists, banners and sounds.
    function clientConnected(jid) {
        console.debug(uiLog, "chat session started")
        Slot.clientConnected(jid)
    }

    // The chat session is lost; the chat client is trying again.
    function chatDisconnected() {
        console.debug(uiLog, "chat session lost")
        chatConnected = false
        updateUsers()
    }

    function messageReceived(from, msg) {
        Slot.messageReceived(from, msg)
    }

    // Rebuilds wait for the next frame, so a burst of presences gives one.
    function updateUsersList(msgFrom) {
        timers.requestRebuild(msgFrom)
    }

    function updateUsers() {
        updateUsersList("")
    }

    // Runs a waiting rebuild now, for callers that read the lists at once.
    function rebuildChatLists() {
        rebuildChatListsFor(timers.takeRebuild())
    }

    // Rebuilds the chat lists, marking `msgFrom`'s new message; the shown
    // list tells what it holds.
    function rebuildChatListsFor(msgFrom) {
        Slot.updateUsersList(msgFrom)
        if (currentPage === "ChatList")
            console.info(uiLog, "chat list shown: " + openConversations.count + " conversations with "
                         + Slot.messageCount() + " messages, " + chatModel.count + " online"
                         + (chatOn && !chatConnected ? ", connecting" : ""))
    }

    function updateConversationList() {
        Slot.updateConversationList("")
    }

    function setCurrentPresence() {
        setPresence(chatOn)
    }

    function showChat(jid, name) {
        navigation.showChat(jid, name)
    }

    function hideAllPanels() {
        navigation.hideAllPanels()
    }

    // Used by the login exchange and the bars.
    function showHomeMenu() {
        currentView.sourceComponent = undefined
        currentPage = ""
        menu.sourceComponent = mainMenuComponent
        history.append({ "page": "home" })
    }

    function showLoginView() {
        navigation.showLoginView()
    }

    function showLoginHelp() {
        loginHelpDialog.open()
    }

    function closeFullScreenImage() {
        fullScreenImageLoader.sourceComponent = undefined
    }

    function fetchUpdateCounts() {
        Facebook.fetchUpdateCounts()
    }

    function shareStatus(text) {
        signalHandler.shareStatus(text)
    }

    LoggingCategory {
        id: uiLog
        name: "kelvo.ui"
    }

    onCountsLoadedChanged: console.info(uiLog, "update counts read, home menu " + (menuShown ? "shown" : "hidden")
                                        + ": notifications " + unread_notifications + ", friend requests "
                                        + friend_requests + ", events " + open_events)

    // --- Navigation and settings ---------------------------------------------
    SignalHandler { id: signalHandler }
    Navigation { id: navigation }
    TranslationHelper { id: translator }
    ClientSession {
        id: clientSession
        mainWindow: window
        signalHandler: signalHandler
        waiting: indicators.waiting
        done: indicators.done
        errorBanner: banners.errorbanner
        infoBanner: banners.infobanner
        notificationBanner: banners.notificationbanner
        bottomBar: bottomBar
        translator: translator
        commentsModel: window.commentsModel
        snapshotStore: typeof feedSnapshot !== "undefined" ? feedSnapshot : null
    }
    SettingsReader { id: settingsReader }
    WindowComponents { id: pages }

    // --- Layers --------------------------------------------------------------
    Image {
        anchors.fill: parent
        visible: window.backgroundUrl !== "" && window.menuShown
        source: window.backgroundUrl
        fillMode: Image.PreserveAspectCrop
        sourceSize.width: width
        sourceSize.height: height
        asynchronous: true
    }

    Loader {
        id: currentView
        objectName: "currentView"
        anchors.top: statusBar.bottom
        anchors.left: window.loginShown ? parent.left : toolbar.right
        anchors.right: parent.right
        anchors.bottom: window.loginShown ? privacyStrip.top : bottomBar.top
    }

    Loader {
        id: currentViewTop
        objectName: "currentViewTop"
        anchors.fill: currentView
    }

    Loader {
        id: currentViewTag
        anchors.fill: currentView
        z: 2
    }

    Loader {
        id: menu
        objectName: "menu"
        anchors.top: statusBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: bottomBar.top
        z: 2
        sourceComponent: pages.mainMenuComponent
    }

    Loader {
        id: fullScreenImageLoader
        anchors.fill: parent
        z: 899
    }

    Item {
        anchors.fill: currentView
        z: 1

        OverlayPanel { id: albumsList; objectName: "albumsList"; source: "components/photos/AlbumsList.qml" }
        OverlayPanel { id: photosList; objectName: "photosList"; source: "components/photos/PhotosList.qml" }
        OverlayPanel { id: photoView; objectName: "photoView"; source: "components/photos/PhotoView.qml" }
        OverlayPanel { id: commentsList; objectName: "commentsList"; source: "components/feed/CommentList.qml" }
        OverlayPanel { id: likesList; objectName: "likesList"; source: "components/feed/LikesList.qml" }
    }

    Item {
        id: searchBar
        property bool searching: false
        anchors.top: statusBar.bottom
        width: parent.width
        height: 50
        visible: searching && topViewHolds("Places")
        function close() { searching = false }
    }

    CommentDialog {
        id: commentDialog
        objectName: "commentDialog"
        anchors.fill: currentView
        z: 3
    }

    // --- Bars ----------------------------------------------------------------
    Toolbar {
        id: toolbar
        anchors.top: statusBar.bottom
        anchors.bottom: bottomBar.top
        hide: window.fullscreen || currentPage === "About"
        visible: !window.loginShown
    }

    BottomBar {
        id: bottomBar
        anchors.bottom: parent.bottom
        anchors.bottomMargin: window.bottomMargin
        width: parent.width
        z: 2
        onButton1Clicked: Facebook.goBack()
        onButton6Clicked: {
            closeFullScreenImage()
            signalHandler.showHome()
        }
    }

    StatusBar {
        id: statusBar
        width: parent.width
        z: 100
    }

    Text {
        objectName: "windowTitle"
        anchors.left: parent.left
        anchors.leftMargin: 2
        anchors.verticalCenter: statusBar.verticalCenter
        z: 101
        color: "white"
        font.pixelSize: 15
        textFormat: Text.PlainText
        text: translator.translate(window.title)
    }

    PrivacyStrip {
        id: privacyStrip
        objectName: "privacyStrip"
        visible: window.loginShown
        width: parent.width
        height: visible ? implicitHeight : 0
        anchors.bottom: bottomBar.top
        z: 3
    }

    // --- Notices, dialogs, timers --------------------------------------------
    WindowIndicators {
        id: indicators
        anchors.fill: parent
        statusBarHeight: statusBar.height
        z: 3
    }

    WindowBanners {
        id: banners
        anchors.fill: parent
        statusBarHeight: statusBar.height
        z: 1001
        onNotificationClicked: navigation.followNotificationBanner()
    }

    WindowDialogs {
        id: dialogs
        browserLoginUrl: navigation.browserLoginUrl()
    }

    WindowTimers {
        id: timers
        onUpdateDue: Facebook.fetchUpdateCounts()
        onTypingTimedOut: {
            if (window.currentPage === "ChatView" && currentView.item)
                currentView.item.typing = false
        }
        onRebuildDue: window.rebuildChatListsFor(from)
    }

    // Restored and cleared conversations change the lists too.
    Connections {
        target: typeof fbChatData !== "undefined" ? fbChatData : null
        function onConversationCountChanged() { window.updateUsers() }
        function onConversationsChanged() { window.updateUsers() }
    }

    // Nothing is read while the window is inactive: the open conversation
    // is marked read when the user comes back to it.
    onApplicationActiveChanged: {
        if (applicationActive && currentPage === "ChatView" && currentChatJid !== "") {
            markAsRead(currentChatJid)
            updateUsers()
        }
    }

    // Takes the focus when the keyboard closes, so that no field keeps it. It
    // takes no text itself, so holding the focus never asks for the keyboard.
    Item {
        id: helpInput
        objectName: "helpInput"
        width: 0
        height: 0
    }

    Component.onCompleted: {
        Facebook.setSession(clientSession)
        settingsReader.readAll()
    }
}
