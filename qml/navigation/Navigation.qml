import QtQml 2.15
import "../loginurls.js" as LoginUrls

// Answers the navigation hub. Which page goes into which layer, which lists
// are emptied, which loader runs and what the history records is one row
// per page in routes.js; Router.qml shows routes from their rows, answers
// the signals the table says all of and names the title; BackWalk.qml walks
// the history back; handlers that do more live by family in
// <Family>Handlers.qml.
QtObject {
    id: navigation
    objectName: "navigation"

    // Every loader a route or action asked the web-API client for, by name,
    // whether this build has it or not.
    signal loadRequested(string name, var args)
    // A page or panel shown, by component or panel name, with the properties
    // it was given.
    signal pageShown(string name, var properties)

    // The main window as every navigation file reaches it (`window`).
    readonly property var mainWindow: window

    function goBack() { backWalk.goBack() }
    function titleKey() { return router.titleKey() }
    function hideAllPanels() { router.hideAllPanels() }
    function showChat(jid, name) { chat.showConversation(jid, name) }
    function followNotificationBanner() { chat.followNotificationBanner() }
    function showLoginView() { common.showLoginView() }
    function loginPageFinished(url) { common.loginPageFinished(url) }
    function browserLoginUrl() { return LoginUrls.browserUrl() }

    readonly property list<QtObject> parts: [
        Router { id: router; window: navigation.mainWindow; nav: navigation },
        BackWalk {
            id: backWalk
            window: navigation.mainWindow
            router: router
            families: ({ "feed": feed, "chat": chat, "messages": messages, "photos": photos,
                         "places": places, "search": search })
        },
        CommonHandlers { id: common; window: navigation.mainWindow; router: router },
        FeedHandlers { id: feed; window: navigation.mainWindow; router: router },
        ChatHandlers { id: chat; window: navigation.mainWindow; router: router },
        PeopleHandlers { window: navigation.mainWindow; router: router },
        GroupsHandlers { window: navigation.mainWindow; router: router },
        EventsHandlers { window: navigation.mainWindow; router: router },
        MessagesHandlers { id: messages; window: navigation.mainWindow; router: router },
        PhotosHandlers { id: photos; window: navigation.mainWindow; router: router },
        PlacesHandlers { id: places; window: navigation.mainWindow; router: router },
        SearchHandlers { id: search; window: navigation.mainWindow; router: router }
    ]
}
