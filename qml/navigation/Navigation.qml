import QtQml 2.15
import "../loginurls.js" as LoginUrls
import "windowparts.js" as WindowParts

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

    // The main window as every navigation file reaches it (`window`). The
    // window does not publish these parts as properties yet, so they are lent
    // here, each looked up only while the window lacks it; once it has them
    // all, this is the window itself.
    readonly property var mainWindow: WindowParts.withParts(window, function () {
        return {
            "searchBar": searchBar,
            "infobanner": infobanner,
            "currentViewTag": currentViewTag,
            "commentDialog": commentDialog,
            "fullScreenImageLoader": fullScreenImageLoader,
            "albumsList": albumsList,
            "photosList": photosList,
            "photoView": photoView,
            "commentsList": commentsList,
            "likesList": likesList,
            "mainMenuComponent": mainMenuComponent,
            "loginViewComponent": loginViewComponent,
            "translator": translator,
            "privacyDialog": privacyDialog,
            "ownPagedialog": ownPagedialog,
            "wallModel": wallModel,
            "pageModel": pageModel,
            "friendsModel": friendsModel,
            "groupsModel": groupsModel,
            "eventsModel": eventsModel,
            "invitesModel": invitesModel,
            "eventFeedModel": eventFeedModel,
            "threadModel": threadModel,
            "privacyModel": privacyModel,
            "filterModel": filterModel,
            "nearbyModel": nearbyModel
        }
    })

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
