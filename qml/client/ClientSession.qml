import QtQml 2.15
import "../storage.js" as Storage

// The web-API client's session: the one owner of the access token and of the
// flags the client keeps between answers, and the reporter the client tells
// what happened. The main window creates one, hands it the objects below and
// gives it to the client once (facebook.js setSession); the client's scripts
// read the token here and keep no copy of it.
QtObject {
    id: session

    // The token as the query pair "access_token=..."; "" when signed out.
    // Page mode swaps it for a page's token and back.
    property string accessToken: ""
    // The user's bare token, for the chat login.
    property string sessionKey: ""
    // Long enough and in the pair form, as a token the service issued is.
    readonly property bool usable: accessToken.length >= 20 && accessToken.indexOf("access_token") === 0

    // Errors reported since start; from the sixth on the banner adds a hint.
    property int errorCount: 0
    // True while a callback handles an answer whose error status was shown.
    property bool answerReported: false
    // Set for requests that must outlive a page change; requests are never
    // aborted, so it only documents the intent.
    property bool nonAbortableRequest: false
    // The unseen-notification count of the last poll and whether its alert
    // was given; whether the new-message alert was given since the inbox
    // was last loaded.
    property int lastNotifications: 0
    property bool notificationPlayed: false
    property bool messageNotificationPlayed: false
    // Flags the feature families share with navigation: the feed's current
    // filter, whether the albums are loaded for the photo upload page, and
    // the recipients of the open thread.
    property string filterType: ""
    property bool uploadMode: false
    property var recipients: []
    // The author of the story last shown in the status view.
    property string currentName: ""
    // The request generation of each list a newer load replaces (by model
    // name): an answer of an older generation is dropped, so that a list
    // switched to another object never shows the first one's late answer.
    property var listGenerations: ({})
    // What each of those lists shows (an object's id), so that a reload of
    // the same object keeps its rows until a usable answer replaces them.
    property var listSubjects: ({})

    // What the client works on and reports through, handed in by the window.
    // `mainWindow` has the counters, settings, chat signals and page
    // switches; `bottomBar` runs the view's reload after a posting.
    property var mainWindow: null
    property var signalHandler: null
    property var waiting: null
    property var done: null
    property var errorBanner: null
    property var infoBanner: null
    property var notificationBanner: null
    property var bottomBar: null
    property var translator: null
    property var commentsModel: null
    // Keeps the home feed's first page for the next start (native, may be
    // absent).
    property var snapshotStore: null
    // Keeps the last conversations of each chat account (native, may be absent).
    readonly property var chatStore: typeof chatCache !== "undefined" ? chatCache : null

    readonly property string language: mainWindow ? mainWindow.language : "en"

    // The outcome of a posting, for the views that sent it: `kind` is one
    // of "comment", "status", "link", "like", "deleteLike", "delete", "ril";
    // `target` the id or path it went to (the comment's target as given, the
    // deleted item's id); `text` what the user wrote, so that a view whose
    // posting was refused can give it back.
    signal postingSucceeded(string kind, string target)
    signal postingFailed(string kind, string target, string text)
    property LoggingCategory log: LoggingCategory {
        name: "kelvo.client"
    }

    // A list is (re)loaded: its new generation.
    function beginList(name) {
        var generations = listGenerations
        generations[name] = (generations[name] || 0) + 1
        listGenerations = generations
        return generations[name]
    }

    function listGeneration(name) {
        return listGenerations[name] || 0
    }

    // Whether an answer of `generation` still belongs to the list `name`
    // shows; a late one is to be dropped.
    function isCurrent(name, generation) {
        if (listGeneration(name) === generation)
            return true
        console.info(log, "a late answer for " + name + " dropped")
        return false
    }

    function translate(key) {
        return translator ? translator.translate(key) : key
    }

    function showWaiting(label) {
        if (!waiting)
            return
        if (label !== undefined)
            waiting.label = label
        waiting.state = "shown"
    }

    function hideWaiting() {
        if (waiting)
            waiting.state = "hidden"
    }

    function showError(err) {
        errorCount++
        hideWaiting()
        var text = "Error! " + err
        if (errorCount > 5)
            text += " If problems persists, try to logout and login again."
        if (!errorBanner)
            return
        errorBanner.text = text
        errorBanner.show()
    }

    function showDone() {
        hideWaiting()
        if (infoBanner)
            infoBanner.show()
    }

    // A parser that cannot read its answer ends the wait and says so, unless
    // the error status of that answer has been shown already.
    function parseFailed(what) {
        console.warn(log, "could not read the answer for " + what)
        if (answerReported)
            hideWaiting()
        else
            showError("Could not read the answer of the service")
    }

    // The sound (when wanted) and the notification banner.
    function alert(icon, text) {
        if (mainWindow.soundOption)
            mainWindow.playSound("notification", mainWindow.loudSounds ? "1" : "0")
        notificationBanner.iconSource = icon
        notificationBanner.text = translate(text)
        notificationBanner.show()
    }

    // After every posting the current view reloads, when its centre button
    // offers that.
    function afterPosting() {
        if (bottomBar && bottomBar.centerReloads)
            bottomBar.pressCenter()
    }

    // The service no longer takes the token: back to the login view, signed out.
    function tokenDied() {
        showError("Session has timed out, you need to relogin")
        mainWindow.disconnectChat()
        mainWindow.chatModel.clear()
        mainWindow.openConversations.clear()
        Storage.setKeyValue("accesstoken", "")
        accessToken = ""
        sessionKey = ""
        mainWindow.showLoginView()
    }

    // A request was refused (HTTP 400) while no usable token is held: it
    // cannot work until the user signs in.
    function requestNeedsSignIn() {
        if (done) {
            done.label = "Error with the request, please try again."
            done.state = "shown"
        }
        if (!mainWindow.loginShown)
            mainWindow.showLoginView()
    }

    // Nothing of an account is shown without its token: the badges, the
    // alert rings and the alert state go with it.
    onAccessTokenChanged: {
        if (accessToken !== "" || !mainWindow)
            return
        mainWindow.unread_notifications = 0
        mainWindow.unread_messages = 0
        mainWindow.friend_requests = 0
        mainWindow.open_events = 0
        mainWindow.hasNewMessage = false
        mainWindow.toolbar.chatAlert = false
        lastNotifications = 0
        notificationPlayed = false
        messageNotificationPlayed = false
        forgetKeptFeed()
        forgetKeptChat()
    }

    // The kept home feed belongs to the token that is gone.
    function forgetKeptFeed() {
        if (snapshotStore)
            snapshotStore.clear()
    }

    // So do the kept conversations of the token's chat account, and the chat model.
    function forgetKeptChat() {
        if (chatStore)
            chatStore.forget(sessionKey)
        if (mainWindow)
            mainWindow.chatDrafts = {}
    }
}
