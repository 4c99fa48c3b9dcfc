// The route table: one row per page tag of the history (the tag is the key
// and the `page` of the entries the row records). Adding a page is one row
// here plus the page file; the router answers the row's signal from the row
// unless a family's handler file says more (`handledBy`).
//
// Row fields (all optional):
//   signal, params  the hub signal that shows the route, and names for its
//                   arguments: the route's values
//   handledBy       family whose file <Family>Handlers.qml answers the signal
//   component       page file under components/, "family/Name"; Name is the
//                   window's `currentPage` while the page is shown
//   windowComponent the window's component loaded instead of the file
//   layer           "view" (current view), "top" (top view), "tag" (tag view),
//                   "menu", or "panel" (the window's panel named by `panel`)
//   properties      set on the page or panel
//   keepPanels      the panels stay as they are (always so on the panel and
//                   tag layers)
//   clearModels     empty the page-bound lists (window.clearModels())
//   clear           window models to empty as well
//   toolbar         the side toolbar button marked active
//   title           title key while the page is the top-most content
//   calls           page functions called once loaded: [name, constants...]
//   loader, args    the web-API loader and its arguments; `more` loads the
//                   next part of a list
//   defaults        values a route has without being given them
//   record          the values the history entry keeps ([] keeps the tag only;
//                   without it the route records nothing)
//   back            going back to an entry of this tag:
//                   { set: window flags, emit: hub signal, args: entry fields }
//                   or { call: function, family: its handler file } given
//                   (entry, current page tag); no family: BackWalk.qml's own
//   skippedOnBack   going back passes over the entry
//   subView, owner, recordAs
//                   a sub-view of a page: shown by the page's
//                   showSubView(subView) for the owner whose id is the entry's
//                   `owner` field (else `id`); recorded as `recordAs` (else
//                   the tag)
// In `args` and `properties`, a text names a value (from the entry when going
// back; "name:int" takes it as a whole number); other values are constants.

var routes = {
    // --- common
    home: { signal: "showHome", handledBy: "common", layer: "menu", component: "common/MainMenu",
            windowComponent: "mainMenuComponent", toolbar: "home", title: "Kelvo", record: [],
            back: { emit: "showHome" } },
    login: { signal: "showLogin", handledBy: "common", component: "common/LoginView",
             windowComponent: "loginViewComponent", keepPanels: true, calls: [["reset"]] },
    about: { signal: "showAbout", component: "common/About", record: [], back: { emit: "showAbout" } },
    settings: { signal: "showSettings", component: "settings/Settings", clearModels: true,
                toolbar: "settings", calls: [["clear"]], record: [], back: { emit: "showSettings" } },

    // --- feed
    news: { signal: "showNews", handledBy: "feed", component: "feed/NewsFeedList", clearModels: true,
            toolbar: "news", title: "News Feed", loader: "loadHomeFeed", record: [],
            back: { family: "feed", call: "backToNews" } },
    filternews: { signal: "loadFilterHomeFeed", params: ["name", "filter_key", "page"], handledBy: "feed",
                  component: "feed/NewsFeedList", clearModels: true, title: "News Feed",
                  loader: "loadFilterHomeFeed", args: ["name", "filter_key", "page"], record: [],
                  back: { family: "feed", call: "backToFilteredNews" } },
    status: { signal: "loadStatus", params: ["id"], handledBy: "feed", layer: "top", component: "feed/StatusView",
              title: "Status", loader: "loadStatus", args: ["id"], record: ["id"],
              back: { family: "feed", call: "backToStatus" } },
    profile: { signal: "showProfile", handledBy: "feed", component: "feed/Wall", clearModels: true,
               toolbar: "profile", title: "Profile", defaults: { id: "me", name: "You" },
               properties: { user_id: "id", user_name: "name" },
               loader: "loadUserWall", args: ["id"], record: ["name"], back: { emit: "showProfile" } },
    wall: { signal: "showWall", params: ["id", "name"], handledBy: "feed", component: "feed/Wall",
            properties: { user_id: "id", user_name: "name" }, clearModels: true, title: "Profile",
            loader: "loadUserWall", args: ["id"], record: ["id", "name"],
            back: { emit: "showWall", args: ["id", "name"] } },
    // Sub-views of a wall, recorded by the wall page: shown again afresh.
    wallLikes: { component: "feed/Wall", title: "Profile", subView: "likes", recordAs: "wall",
                 loader: "loadLikes", args: ["id"], back: { call: "showSubView" } },
    wallInfo: { component: "feed/Wall", title: "Profile", subView: "info", recordAs: "wall",
                loader: "loadUserInfo", args: ["id"], back: { call: "showSubView" } },
    wallAlbums: { component: "feed/Wall", title: "Profile", subView: "albums",
                  loader: "loadAlbums", args: ["id"], back: { call: "showSubView" } },
    wallAlbum: { component: "feed/Wall", title: "Profile", subView: "photos", owner: "user_id",
                 loader: "loadPhotos", args: ["id"], back: { call: "showSubView" } },
    wallPhoto: { component: "feed/Wall", title: "Profile", subView: "photo",
                 loader: "loadPhoto", args: ["id"], back: { call: "showSubView" } },
    showLikes: { signal: "showLikes", params: ["id"], layer: "panel", panel: "likesList", title: "Likes",
                 properties: { entityId: "id", pages: false, showFriends: false },
                 loader: "loadLikes", args: ["id"], back: { emit: "showLikes", args: ["id"] } },
    showComments: { signal: "showComments", params: ["id"], layer: "panel", panel: "commentsList",
                    properties: { objectId: "id" }, loader: "loadComments", args: ["id"],
                    back: { emit: "showComments", args: ["id"] } },
    comments: { back: { emit: "showComments", args: ["id"] } },

    // --- chat
    chat: { signal: "showChat", handledBy: "chat", component: "chat/ChatList", clearModels: true,
            toolbar: "chat", title: "Chat", record: [], back: { emit: "showChat" } },
    // A conversation: the window's showChat(jid, name).
    chatView: { handledBy: "chat", component: "chat/ChatView", title: "Chat",
                properties: { currentJid: "jid", ownId: "ownId", profileId: "profileId", userName: "name" },
                calls: [["focusChat"], ["refreshMessages"]], record: ["jid", "name"],
                back: { family: "chat", call: "backToConversation" } },

    // --- people
    friends: { signal: "showFriends", handledBy: "people", component: "people/FriendsList", clearModels: true,
               toolbar: "friends", title: "Friends", calls: [["setTagging", false, ""], ["reset"]],
               loader: "loadFriends", record: [], back: { emit: "showFriends" } },
    friendRequests: { signal: "showFriendRequests", layer: "panel", panel: "likesList", title: "Likes",
                      properties: { pages: false, showFriends: true }, loader: "loadFriendRequests" },
    tagFriends: { signal: "tagFriends", params: ["type"], handledBy: "people", layer: "tag",
                  component: "people/FriendsList", title: "Friends", loader: "loadFriends",
                  defaults: { type: "" }, back: { emit: "tagFriends", args: ["type"] } },

    // --- groups and pages
    groups: { signal: "showGroups", handledBy: "groups", component: "groups/GroupsList", clearModels: true,
              toolbar: "groups", title: "Groups", calls: [["reset"]], loader: "loadGroups", record: [],
              back: { emit: "showGroups" } },
    // Recorded with a list index by getGroup and with an id by showGroup.
    group: { signal: "showGroup", params: ["id", "name"], component: "groups/GroupsView", title: "Groups",
             loader: "loadGroupFeed", args: ["id"], more: "loadMoreGroups", record: ["id", "name"],
             back: { emit: "getGroup", args: ["id:int"] } },
    groupInfo: {},
    groupMembers: {},
    page: { signal: "showPage", params: ["id", "name"], handledBy: "groups", component: "groups/Page",
            clearModels: true, title: "Page", loader: "loadPage", args: ["id"], record: ["id", "name"],
            back: { emit: "showPage", args: ["id", "name"] } },
    // The liked pages: the likes panel in pages mode.
    showPages: { signal: "showPages", handledBy: "groups", layer: "panel", panel: "likesList", clearModels: true,
                 toolbar: "pages", title: "Likes", defaults: { id: "me" }, loader: "loadLikes", args: ["id"],
                 record: [], back: { set: { dontReload: true }, emit: "showPages" } },
    // Sub-views of a page, recorded by the page view: shown again afresh.
    pageInfo: { component: "groups/Page", title: "Page", subView: "info",
                loader: "loadPageInfo", args: ["id"], back: { call: "showSubView" } },
    pageAlbums: { component: "groups/Page", title: "Page", subView: "albums",
                  loader: "loadAlbums", args: ["id"], back: { call: "showSubView" } },
    pageAlbum: { component: "groups/Page", title: "Page", subView: "photos", owner: "page_id",
                 loader: "loadPhotos", args: ["id"], back: { call: "showSubView" } },

    // --- events
    events: { signal: "showEvents", handledBy: "events", component: "events/EventsList", clearModels: true,
              toolbar: "events", title: "Events", loader: "loadEvents", record: [],
              back: { set: { dontReload: true }, emit: "showEvents" } },
    // Recorded with the event's index in the list.
    event: { signal: "getEvent", params: ["index"], handledBy: "events", component: "events/EventView",
             title: "Events", clear: ["eventFeedModel"], loader: "loadPageInfo", args: ["id"],
             more: "loadMoreEvents", record: ["id"], back: { emit: "getEvent", args: ["id:int"] } },
    inviteEvent: { signal: "getInviteEvent", params: ["index"], handledBy: "events", component: "events/EventView",
                   properties: { invite: true }, title: "Events", clear: ["eventFeedModel"],
                   loader: "loadPageInfo", args: ["id"], record: ["id"],
                   back: { emit: "getInviteEvent", args: ["id:int"] } },
    eventWall: { signal: "loadEventFeed", params: ["id"], component: "events/EventView", title: "Events",
                 calls: [["setState", "wall"]], loader: "loadEventFeed", args: ["id"], record: ["id"],
                 back: { emit: "loadEventFeed", args: ["id"] } },
    eventFriends: { signal: "showEventFriends", params: ["id"], component: "events/EventView", title: "Events",
                    calls: [["setState", "attending"]], record: ["id"],
                    back: { emit: "showEventFriends", args: ["id"] } },
    eventInfo: {},
    eventFriendList: { skippedOnBack: true },

    // --- messages and notifications
    notifications: { signal: "showNotifications", handledBy: "messages", component: "messages/NotificationsList",
                     clearModels: true, toolbar: "notifications", title: "Notifications",
                     loader: "loadNotifications", record: [],
                     back: { set: { dontReload: true }, emit: "showNotifications" } },
    messages: { signal: "showMessages", params: ["name"], component: "messages/MessagesList",
                properties: { type: "name" }, clearModels: true, toolbar: "messages", title: "Messages",
                loader: "loadMessages", args: ["name"], record: ["name"],
                back: { set: { dontReload: true }, emit: "showMessages", args: ["name"] } },
    message: { signal: "getMessage", params: ["id", "count", "canReply", "recipient", "recipients"],
               handledBy: "messages", layer: "top", component: "messages/MessagesView", title: "Messages",
               clear: ["threadModel"], loader: "loadThread", args: ["id", "count"],
               record: ["id", "count", "recipient", "canReply"],
               back: { family: "messages", call: "backToMessage" } },

    // --- photos
    photoupload: { signal: "showPhotoUploader", handledBy: "photos", component: "photos/PhotoUpload",
                   clearModels: true, toolbar: "Upload", title: "Photo upload", defaults: { id: "me" },
                   loader: "loadAlbums", args: ["id"], record: [], back: { emit: "showPhotoUploader" } },
    album: { signal: "showAlbumPhotos", params: ["id"], handledBy: "photos", layer: "panel", panel: "photosList",
             loader: "loadPhotos", args: ["id"], record: ["id"], back: { family: "photos", call: "backToAlbum" } },
    photo: { signal: "showPhoto", params: ["id"], layer: "panel", panel: "photoView", title: "Photos",
             loader: "loadPhoto", args: ["id"], record: ["id"], skippedOnBack: true,
             back: { call: "revealTop" } },

    // --- places
    places: { signal: "showPlaces", handledBy: "places", component: "places/Places", toolbar: "places",
              title: "Places/Checkin", loader: "loadCheckins", record: ["name"],
              back: { family: "places", call: "backToPlaces" } },
    checkin: { layer: "top", component: "places/CheckinView", back: { call: "revealTop" } },
    nearby: {},

    // --- search
    showSearch: { signal: "showSearch", component: "search/SearchList", clearModels: true, toolbar: "search",
                  record: [], back: { emit: "showSearch" } },
    // A search: the results fill the list of their type's page.
    search: { signal: "search", params: ["type", "text"], clearModels: true, loader: "search",
              args: ["type", "text"], back: { family: "search", call: "replaySearch" } }
}

// Hub signals that only run a loader: signal -> loader, given the signal's
// arguments unless a family's handler file answers it (`handledBy`).
var actions = {
    showAlbums: "loadAlbums",
    loadLikes: "loadLikes",
    loadUserInfo: "loadUserInfo",
    loadPageInfo: "loadPageInfo",
    loadMoreLikes: "loadMoreLikes",
    loadMoreComments: "loadMoreComments",
    loadMorePhotoComments: "loadMorePhotoComments",
    loadMoreStatusComments: "loadMoreStatusComments",
    loadStatusComments: "loadStatusComments",
    refreshStatusComments: "refreshStatusComments",
    loadEvent: "loadEvent",
    addToCalendar: "addToCalendar",
    setRSVP: "setRsvp",
    tagPhoto: "tagPhoto",
    createAlbum: "createAlbum",
    deleteItem: "deleteItem",
    deleteLike: "deleteLike",
    removeGroup: "removeGroup",
    loadOwnedPages: "loadOwnedPages",
    comment: "comment",
    like: "like",
    shareStatus: "shareStatus",
    ril: "RIL",
    showPrivacy: { loader: "getPrivacyOptions", handledBy: "feed" },
    shareLink: { loader: "shareLink", handledBy: "feed" },
    loadFilters: { loader: "loadFilters", handledBy: "feed" },
    loadNearby: { loader: "loadNearby", handledBy: "places" },
    checkin: { loader: "checkin", handledBy: "places" },
    checkMessageCount: { loader: "loadMessages2", handledBy: "messages" }
}

// The component's name: "feed/Wall" -> "Wall".
function componentName(row) {
    return row && row.component ? row.component.split("/").pop() : ""
}

// The title key of the page whose component is `name`.
function titleOf(name) {
    for (var tag in routes) {
        if (componentName(routes[tag]) === name && routes[tag].title !== undefined)
            return routes[tag].title
    }
    return ""
}

function loaderOf(action) {
    var entry = actions[action]
    return typeof entry === "string" ? entry : entry.loader
}
