import QtQml 2.15

// The friends page and the friend picker for tagging.
QtObject {
    property var window
    property var router

    property Connections answers: Connections {
        target: window.signalHandler

        function onShowFriends() {
            router.open("friends")
            if (!window.searching && (window.reload || window.friendsModel.count === 0
                                      || window.friend_requests !== window.lastFriendRequests)) {
                router.fetch("friends")
                window.reload = false
            }
            window.lastFriendRequests = window.friend_requests
            if (!window.searching)
                router.remember("friends")
        }

        function onTagFriends(type) {
            router.open("tagFriends", { "type": type })
            var picker = window.currentViewTag.item
            router.callOn(picker, "setTagging", [true, type])
            router.callOn(picker, "reset")
            if (window.friendsModel.count === 0)
                router.fetch("tagFriends")
        }
    }
}
