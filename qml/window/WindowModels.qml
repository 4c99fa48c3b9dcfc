import QtQuick 2.15

// The main window's list models: every list the web-API client fills and the
// pages show, the navigation history, and the chat lists. Pages reach them on
// `window` by these names.
WindowState {
    readonly property ListModel history: ListModel {}
    readonly property ListModel chatModel: ListModel {}
    readonly property ListModel openConversations: ListModel {}
    readonly property ListModel newsModel: ListModel {}
    readonly property ListModel filterModel: ListModel {}
    readonly property ListModel statusModel: ListModel {}
    readonly property ListModel commentsModel: ListModel {}
    readonly property ListModel statusCommentsModel: ListModel {}
    readonly property ListModel likesModel: ListModel {}
    readonly property ListModel privacyModel: ListModel {}
    readonly property ListModel messagesModel: ListModel {}
    readonly property ListModel threadModel: ListModel {}
    readonly property ListModel ownedModel: ListModel {}
    readonly property ListModel notificationsModel: ListModel {}
    readonly property ListModel albumsModel: ListModel {}
    readonly property ListModel photosModel: ListModel {}
    readonly property ListModel photoDiscussionModel: ListModel {}
    readonly property ListModel tagsModel: ListModel {}
    readonly property ListModel tagFriendsModel: ListModel {}
    readonly property ListModel wallModel: ListModel {}
    readonly property ListModel userInfoModel: ListModel {}
    readonly property ListModel friendsModel: ListModel {}
    readonly property ListModel friendsLetterModel: ListModel {}
    readonly property ListModel eventsModel: ListModel {}
    readonly property ListModel invitesModel: ListModel {}
    readonly property ListModel eventFeedModel: ListModel {}
    readonly property ListModel eventFriendsModel: ListModel {}
    readonly property ListModel groupsModel: ListModel {}
    readonly property ListModel groupFeedModel: ListModel {}
    readonly property ListModel groupFriendsModel: ListModel {}
    readonly property ListModel pageModel: ListModel {}
    readonly property ListModel pageInfoModel: ListModel {}
    readonly property ListModel checkinsModel: ListModel {}
    readonly property ListModel ownModel: ListModel {}
    readonly property ListModel recentModel: ListModel {}
    readonly property ListModel nearbyModel: ListModel {}
    readonly property ListModel placesModel: ListModel {}
    readonly property ListModel dummyList: ListModel {}

    // Clears the lists that only make sense for the page that filled them.
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
}
