import QtQml 2.15
import QtQuick 2.15
import Kelvo 1.0
import "facebook.js" as Facebook
import "storage.js" as Storage
import "components/common"
import "components/feed"
import "components/groups"
import "navigation"
import "components/platform"

// The main window: the application as the user sees it. It owns the state
// that outlives a page (settings, theme, counters, token, page mode), every
// list model the web-API client fills, the layers pages are loaded into, the
// banners, indicators, dialogs and timers. Pages and scripts read and write
// its properties by name. The root window relays its signals to the native
// core and calls its functions for native events.
Rectangle {
    id: window

    signal sendMsg(string to, string msg)
    signal connectChat(string sessionKey)
    signal disconnectChat()
    signal setPresence(bool available)
    signal clearConversation(string jid)
    signal markAsRead(string jid)
    signal openLink(string link)
    signal uploadPhoto(string path, string message, string album, string token)
    signal playSound(string sound, string full)
    signal quit()
    // A short haptic pulse; this platform has no vibrator, nothing receives it.
    signal vibrate()

    // --- Application state ---------------------------------------------------
    property bool newapp: true
    property string token
    property string userToken
    property bool useAsPage: false
    property string pageId
    property string pageName
    property string ownId
    property string currentChatJid
    property bool chatConnected: false
    property bool nofriendsonline: false
    property bool reload: false
    property bool dontReload: false
    property bool back: false
    property bool filter: false
    property string filterKey: ""
    property bool noHistory: false
    property bool searching: false
    property string searchText
    property string lastWall
    property string lastPage
    property string lastAlbumId
    property string lastMessageId: ""
    property bool hasNewMessage: false
    property int unread_notifications: 0
    property int open_events: 0
    property int unread_messages: 0
    property int friend_requests: 0
    property int lastFriendRequests: 0
    // The update counts have been read from the service at least once.
    property bool countsLoaded: false
    property string uploadedPhoto
    property bool uploadOk: false
    property string privacyString: ""
    property bool vkbOpen: false
    property int bottomMargin: 0
    property bool landscape: width > height
    property string profileImageCacheFolder: "file:///c:/data/.config/Kelvo/profileimages/"
    property string feedImageCacheFolder: "file:///c:/data/.config/Kelvo/feedimages/"
    // The component name of the page in `currentView` ("" for none).
    property string currentPage: ""
    readonly property bool menuShown: menu.item !== null
    readonly property bool loginShown: currentPage === "LoginView"

    // --- Settings (defaults hold until the stored value is read) -------------
    property bool showComments: true
    property bool soundOption: true
    property bool vibra: true
    property int updateCycle: 5
    property bool bigIcons: true
    property bool chatOn: true
    property bool darkTheme: false
    property bool loudSounds: false
    property bool disableT9: true
    property string startPage: "home"
    property bool fullscreen: true
    property bool profileImage: true
    property bool transparentToolbar: false
    property string language: "en"
    property bool exitConfirmation: false
    property string backgroundUrl: ""
    property bool rememberRil: false
    property string rilUsername: ""
    property string rilPassword: ""
    property int fontSize: 18

    // --- Theme ---------------------------------------------------------------
    property int mainFontSize: fontSize
    property int titleFontSize: fontSize + 1
    property color bgColor: darkTheme ? "#000" : "#fff"
    property color hoverColor: darkTheme ? "#222" : "#ddd"
    property color titleFontColor: darkTheme ? "#fafafa" : "#3B5998"
    property color descriptionTextColor: darkTheme ? "#898989" : "#555"
    property color messageTextColor: darkTheme ? "#DDDDDD" : "#111"
    property color placeHolderTextColor: darkTheme ? "#eeeeee" : "#555555"
    property color feedBg: darkTheme ? "black" : "white"
    property color feedPressedBg: darkTheme ? "#161616" : "#dddddd"
    property color commentBg: darkTheme ? "#222222" : "#EFF2F7"
    property color statusBg: "#00000000"
    property color statusPressBg: darkTheme ? "#222222" : "#EFF2F7"
    property color commentColor: darkTheme ? "#494949" : "#E3EAF2"
    property color listLineColor: darkTheme ? "#4C4C4C" : "#D8DFEA"
    property Gradient gradient: darkTheme ? darkGradient : lightGradient
    property int spacing: 12

    property string title: getTitle()
    property var nokiapure: fontModel.get(0)
    property alias dummyList: dummyListModel
    property alias currentView: currentView
    property alias currentViewTop: currentViewTop
    property alias statusViewComponent: statusViewComponent
    property alias photosModel: photosModelList
    property alias nofriendTimer: nofriendTimer
    // Reached by name from pages; also reachable on the window.
    property alias history: history
    property alias menu: menu
    property alias newsModel: newsModel
    property alias chatModel: chatModel
    property alias openConversations: openConversations
    property alias signalHandler: signalHandler
    property alias toolbar: toolbar
    property alias bottomBar: bottomBar
    property alias exitdialog: exitdialog
    property alias errorbanner: errorbanner
    property alias notificationbanner: notificationbanner
    property alias updateTimer: updateTimer
    property alias chatTimer: chatTimer
    property alias waiting: waiting
    property alias done: done
    // The main instance of the web-API client, for components that must act
    // on its state (token, counters) rather than on an instance of their own.
    readonly property var facebook: Facebook
    // The product's own page, credited on the About page.
    readonly property string productPageLink: ServiceConfig.webRoot + "/" + ServiceConfig.productPageId

    width: 360
    height: 640
    color: bgColor

    Gradient {
        id: lightGradient
        GradientStop { position: 0.0; color: "#7896D3" }
        GradientStop { position: 1.0; color: "#3B5998" }
    }

    Gradient {
        id: darkGradient
        GradientStop { position: 0.0; color: "#666666" }
        GradientStop { position: 1.0; color: "#222222" }
    }

    ListModel {
        id: fontModel
        ListElement { name: "DejaVu Sans" }
    }

    // --- List models ---------------------------------------------------------
    ListModel { id: history }
    ListModel { id: chatModel }
    ListModel { id: openConversations }
    ListModel { id: newsModel }
    ListModel { id: filterModel }
    ListModel { id: statusModel }
    ListModel { id: commentsModel }
    ListModel { id: statusCommentsModel }
    ListModel { id: likesModel }
    ListModel { id: privacyModel }
    ListModel { id: messagesModel }
    ListModel { id: threadModel }
    ListModel { id: ownedModel }
    ListModel { id: notificationsModel }
    ListModel { id: albumsModel }
    ListModel { id: photosModelList }
    ListModel { id: photoDiscussionModel }
    ListModel { id: tagsModel }
    ListModel { id: tagFriendsModel }
    ListModel { id: wallModel }
    ListModel { id: userInfoModel }
    ListModel { id: friendsModel }
    ListModel { id: friendsLetterModel }
    ListModel { id: eventsModel }
    ListModel { id: invitesModel }
    ListModel { id: eventFeedModel }
    ListModel { id: eventFriendsModel }
    ListModel { id: groupsModel }
    ListModel { id: groupFeedModel }
    ListModel { id: groupFriendsModel }
    ListModel { id: pageModel }
    ListModel { id: pageInfoModel }
    ListModel { id: checkinsModel }
    ListModel { id: ownModel }
    ListModel { id: recentModel }
    ListModel { id: nearbyModel }
    ListModel { id: placesModel }
    ListModel { id: dummyListModel }

    // --- Functions -----------------------------------------------------------

    // Applies one stored setting; the callback of every settings read.
    function valueLoaded(key, value) {
        switch (key) {
        case "newapp": newapp = value !== "0"; break
        case "accesstoken": applyStoredToken(value); break
        case "language":
            if (value !== "") {
                language = value
                translator.setLanguage(value)
            }
            break
        case "logout":
            if (value === "1")
                Storage.setKeyValue("accesstoken", "")
            quit()
            break
        case "update_cycle":
            if (value !== "")
                updateCycle = parseInt(value, 10)
            updateTimer.start()
            break
        case "fontSize":
            if (value !== "")
                fontSize = parseInt(value, 10)
            break
        case "comments": showComments = value !== "0"; break
        case "backgroundUrl": backgroundUrl = value; break
        case "profileImage": profileImage = value !== "0"; break
        case "transparent": transparentToolbar = value === "1"; break
        case "bigIcons": bigIcons = value !== "0"; break
        case "chatOn": chatOn = value !== "0"; break
        case "sound": soundOption = value !== "0"; break
        case "disableT9": disableT9 = value !== "0"; break
        case "fullscreen": fullscreen = value !== "0"; break
        case "rememberRil": rememberRil = value === "1"; break
        case "loud": loudSounds = value === "1"; break
        case "vibra": vibra = value !== "0"; break
        case "exitConfirmation": exitConfirmation = value === "1"; break
        case "startPage":
            if (value !== "")
                startPage = value
            break
        case "theme": darkTheme = value === "dark"; break
        case "rilUsername": rilUsername = value; break
        case "rilPassword": rilPassword = value; break
        case "lastMessageId": lastMessageId = value; break
        default: console.warn("main window: no setting named " + key)
        }
    }

    // A stored token of more than 20 characters, on any run but the first,
    // signs the user straight in.
    function applyStoredToken(value) {
        if (value.length <= 20 || newapp) {
            menu.sourceComponent = undefined
            showLoginView()
            return
        }
        Facebook.setAccessToken(value)
        token = value
        if (startPage === "feed") {
            history.append({ "page": "home" })
            Facebook.nonAbortableRequest = true
            signalHandler.showNews()
        } else {
            menu.sourceComponent = mainMenuComponent
            history.append({ "page": "home" })
        }
        Facebook.fetchUpdateCounts()
        Facebook.getId()
        if (chatOn)
            chatTimer.start()
    }

    // The lists that only make sense for the page that filled them.
    function clearModels(type) {
        commentsModel.clear()
        tagFriendsModel.clear()
        albumsModel.clear()
        photoDiscussionModel.clear()
        eventFriendsModel.clear()
        groupFriendsModel.clear()
        likesModel.clear()
        eventFeedModel.clear()
        groupFeedModel.clear()
        userInfoModel.clear()
        pageInfoModel.clear()
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
            console.log("photoUploaded")
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

    // Chat events: the chat list builder turns them into lists, banners and sounds.
    function clientConnected(jid) {
        chatConnected = true
        console.debug("chat session started")
    }

    function messageReceived(from, msg) {
        console.debug("chat message received")
    }

    function updateUsersList(msgFrom) {
        console.debug("chat contacts changed")
    }

    function updateUsers() {
        updateUsersList("")
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

    function hasUsableToken() {
        return token.length >= 20 && token.indexOf("access_token") === 0
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

    // --- Navigation ----------------------------------------------------------
    SignalHandler {
        id: signalHandler
    }

    Navigation {
        id: navigation
    }

    TranslationHelper {
        id: translator
    }

    Component {
        id: mainMenuComponent
        MainMenu {
            onShare: signalHandler.shareStatus(text)
        }
    }

    Component {
        id: statusViewComponent
        Item { objectName: "StatusView" }
    }

    Component {
        id: loginViewComponent
        LoginView {
            onFinished: navigation.loginPageFinished(url)
            onLoadFailed: {
                done.label = "Error loading page"
                done.state = "shown"
            }
        }
    }

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
        anchors.bottom: bottomBar.top
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
        sourceComponent: mainMenuComponent
    }

    Loader {
        id: fullScreenImageLoader
        anchors.fill: parent
        z: 899
    }

    Item {
        id: panels
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

    // Under the login dialog: the maker's privacy policy.
    Rectangle {
        objectName: "privacyStrip"
        visible: window.loginShown
        color: "black"
        width: parent.width
        height: 20
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 50
        z: 3

        Text {
            anchors.centerIn: parent
            color: "white"
            font.pixelSize: 14
            font.underline: true
            text: translator.translate("Privacy Policy")
            MouseArea {
                anchors.fill: parent
                onClicked: window.openLink(ServiceConfig.privacyUrl)
            }
        }
    }

    // --- Indicators and banners ----------------------------------------------
    // The done indicator slides in just below the status bar.
    Item {
        anchors.top: statusBar.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        z: 3

        DoneIndicator {
            id: done
            objectName: "done"
            label: "Done"
            anchors.horizontalCenter: parent.horizontalCenter
            // An HTTP 400 without a usable token: the request cannot work
            // until the user signs in again.
            onLabelChanged: {
                if (label.indexOf(" 400 ") < 0 || window.hasUsableToken())
                    return
                label = "Error with the request, please try again."
                window.showLoginView()
            }
        }
    }

    Rectangle {
        anchors.fill: parent
        color: "black"
        opacity: 0.7
        z: 2
        visible: waiting.visible
        MouseArea { anchors.fill: parent }
    }

    BusyIndicator {
        id: waiting
        objectName: "waiting"
        property string label
        anchors.centerIn: parent
        z: 3
        platformStyle.size: "large"
        state: "hidden"
        visible: state === "shown"
        running: visible
        states: [State { name: "shown" }, State { name: "hidden" }]

        Text {
            anchors.top: parent.bottom
            anchors.topMargin: 12
            anchors.horizontalCenter: parent.horizontalCenter
            color: "white"
            font.pixelSize: window.mainFontSize
            textFormat: Text.PlainText
            text: translator.translate(waiting.label)
        }
    }

    Item {
        id: commentDialog
        objectName: "commentDialog"
        state: "hidden"
        visible: state === "shown"
        anchors.fill: currentView
        z: 3
    }

    InfoBanner {
        id: infobanner
        objectName: "infobanner"
        z: 1001
        y: statusBar.height
        text: translator.translate("Done")
        iconSource: "components/media/ok.svg"
    }

    InfoBanner {
        id: errorbanner
        objectName: "errorbanner"
        z: 1001
        y: statusBar.height
        timerShowTime: 5000
        iconSource: "components/media/error.svg"
    }

    InfoBanner {
        id: notificationbanner
        objectName: "notificationbanner"
        property string jid
        property string name
        z: 1001
        y: statusBar.height
        text: translator.translate("Done")
        iconSource: "components/media/info.svg"
        onClicked: navigation.followNotificationBanner()
    }

    // --- Dialogs -------------------------------------------------------------
    QueryDialog {
        id: exitdialog
        objectName: "exitdialog"
        titleText: translator.translate("Quit") + "?"
        message: translator.translate("Are you sure you want to quit?")
        acceptButtonText: translator.translate("Quit")
        rejectButtonText: translator.translate("Cancel")
        onAccepted: signalHandler.quit()
    }

    QueryDialog {
        id: loginHelpDialog
        objectName: "loginHelpDialog"
        titleText: translator.translate("Problems") + "?"
        message: translator.translate("Problems trying to login and give permissions?")
        acceptButtonText: translator.translate("Try this!")
        rejectButtonText: translator.translate("Cancel")
        onAccepted: window.openLink(navigation.browserLoginUrl())
    }

    ReadItLaterDialog {
        id: dialog
        objectName: "rilDialog"
    }

    PrivacyDialog {
        id: privacyDialog
    }

    OwnPageDialog {
        id: ownPagedialog
    }

    // Takes the focus when the keyboard closes, so that no field keeps it. It
    // takes no text itself, so holding the focus never asks for the keyboard.
    Item {
        id: helpInput
        objectName: "helpInput"
        width: 0
        height: 0
    }

    // --- Timers --------------------------------------------------------------
    Timer {
        id: updateTimer
        interval: 60000 * window.updateCycle
        repeat: true
        onTriggered: Facebook.fetchUpdateCounts()
    }

    Timer {
        id: chatTimer
        interval: 2000
        onTriggered: signalHandler.connectChat()
    }

    Timer {
        id: nofriendTimer
        interval: 1500
        onTriggered: {
            if (chatModel.count === 0)
                window.nofriendsonline = true
        }
    }

    Timer {
        id: updateUsersTimer
        property string from
        interval: 500
        onTriggered: window.updateUsersList(from)
    }

    Timer {
        id: hideTypingImage
        interval: 6500
        onTriggered: {
            if (window.currentPage === "ChatView" && currentView.item)
                currentView.item.typing = false
        }
    }

    Timer {
        id: vibraTimer
        interval: 100
        repeat: true
        onTriggered: window.vibrate()
    }

    Timer {
        id: vibraStopper
        interval: 500
        onTriggered: vibraTimer.stop()
    }

    Component.onCompleted: {
        Facebook.setComponents(commentsModel, done, waiting)
        var first = ["newapp", "chatOn", "language", "startPage", "accesstoken"]
        for (var i = 0; i < first.length; ++i)
            Storage.getKeyValue(first[i], valueLoaded)
        Storage.setKeyValue("newapp", "0")
        var rest = ["update_cycle", "comments", "bigIcons", "theme", "sound", "loud", "disableT9",
                    "fontSize", "fullscreen", "profileImage", "transparent", "vibra",
                    "exitConfirmation", "backgroundUrl", "rememberRil", "rilUsername",
                    "rilPassword", "lastMessageId"]
        for (var j = 0; j < rest.length; ++j)
            Storage.getKeyValue(rest[j], valueLoaded)
    }
}
