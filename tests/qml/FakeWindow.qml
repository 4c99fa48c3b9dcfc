import QtQuick 2.15

// Stands in for the main window in the component tests: what the bars, the
// home menu and the widgets read as `window.<name>`. A test file declares it
// with the id `window`, hands it its own layers (`currentView: currentView`,
// ...) and publishes `navigation` as `signalHandler`. Every call that reaches
// the window or the navigation lands in `calls`, as "name(arguments)", with
// " reload" when the window's `reload` flag was set at that moment.
Item {
    id: fake
    width: 480
    height: 854

    property string language: "en"
    property bool darkTheme: false
    property bool reload: false
    property bool useAsPage: false
    property string pageId: "42"
    property string pageName: "Kelvo Fans"
    property string privacyString: ""
    property string backgroundUrl: ""
    property bool exitConfirmation: false
    property bool transparentToolbar: false
    property bool bigIcons: true
    property bool fullscreen: false
    property int unread_notifications: 0
    property int friend_requests: 0
    property int open_events: 0
    property bool hasNewMessage: false
    property string productPageLink: "https://example.org/from-window"
    property string ownId: "1001"
    property string token: "access_token=fake"
    property bool landscape: width > height

    property int titleFontSize: 19
    property int mainFontSize: 18
    property int spacing: 12
    property color titleFontColor: "#3B5998"
    property color hoverColor: "#ddd"
    property color statusBg: "#00000000"
    property color statusPressBg: "#EFF2F7"
    property color listLineColor: "#D8DFEA"
    property color bgColor: "#fff"
    property color commentBg: "#EFF2F7"
    property color messageTextColor: "#111"
    property color descriptionTextColor: "#555"
    property color placeHolderTextColor: "#555555"

    // The layers and bars: empty loaders, a stand-in toolbar and the field
    // that takes the focus when another gives it up; a test hands in its
    // own where it needs them.
    property var history: historyModel
    property Item currentView: viewLoader
    property Item currentViewTop: topLoader
    property Item currentViewTag: tagLoader
    property Item menu: menuLoader
    property Item fullScreenImageLoader: imageLoader
    property Item commentsList
    property Item likesList
    property Item photoView
    property Item photosList
    property Item toolbar: fakeToolbar
    property Item helpInput: help

    ListModel { id: historyModel }
    Loader { id: viewLoader }
    Loader { id: topLoader }
    Loader { id: tagLoader }
    Loader { id: menuLoader; visible: false }
    Loader { id: imageLoader }
    Item { id: fakeToolbar; property bool chatAlert: false }
    TextInput { id: help; visible: false }
    readonly property ListModel likesModel: ListModel {}
    readonly property ListModel friendsLetterModel: ListModel {}

    // The client's posting outcomes, emitted by the tests.
    readonly property QtObject clientSession: QtObject {
        signal postingSucceeded(string kind, string target)
        signal postingFailed(string kind, string target, string text)
    }

    signal vibrate()
    signal openLink(string link)

    property var calls: []
    function log(name, args) {
        calls.push(name + "(" + Array.from(args || []).join(",") + ")" + (reload ? " reload" : ""))
    }

    // Back to the state above: default settings, two pages of history,
    // empty loaders, calls forgotten.
    function reset() {
        Object.assign(fake, { width: 480, height: 854, language: "en", darkTheme: false, reload: false,
                              useAsPage: false, privacyString: "", exitConfirmation: false, bigIcons: true,
                              fullscreen: false, unread_notifications: 0, friend_requests: 0,
                              open_events: 0, hasNewMessage: false })
        for (const loader of [viewLoader, topLoader, tagLoader, menuLoader, imageLoader])
            loader.sourceComponent = undefined
        topLoader.visible = true
        historyModel.clear()
        historyModel.append([{ page: "home" }, { page: "news" }])
        toolbar.chatAlert = false
        calls = []
    }

    function fetchUpdateCounts() { log("fetchUpdateCounts") }
    function showLoginHelp() { log("showLoginHelp") }
    function closeFullScreenImage() {
        log("closeFullScreenImage")
        fullScreenImageLoader.sourceComponent = undefined
    }

    readonly property var exitdialog: ({ open: function () { fake.log("exitdialog.open") } })

    // The navigation: every function logs its call.
    readonly property var navigation: {
        var handler = {}
        for (const name of ["quit", "backToUser", "showNews", "showPage", "showNotifications", "showChat",
                            "showPhotoUploader", "showPlaces", "showMessages", "showProfile", "showFriends",
                            "showGroups", "showSearch", "showEvents", "showPages", "showPrivacy", "showSettings",
                            "deleteItem", "loadMoreComments", "loadMoreStatusComments", "loadMorePhotoComments"])
            handler[name] = function () { fake.log(name, arguments) }
        return handler
    }
}
