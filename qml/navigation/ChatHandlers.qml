import QtQml 2.15

// The chat list, conversations, a conversation's removal, and the
// notification banner's press.
QtObject {
    property var window
    property var router

    property Connections answers: Connections {
        target: window.signalHandler

        function onShowChat() {
            router.open("chat")
            window.updateUsers()
            window.toolbar.chatAlert = false
            router.remember("chat")
        }
    }

    // The open conversation's delete button.
    property Connections page: Connections {
        target: window.currentPage === "ChatView" ? window.currentView.item : null
        ignoreUnknownSignals: true

        function onRemove(jid) { removeConversation(jid) }
    }

    // Opens the conversation with `jid`, always in a fresh view; the view
    // gets the contact's bare numeric id ("-42@host" -> "42"). It is read
    // only while the window is active; the window marks it on return.
    function showConversation(jid, name) {
        window.currentChatJid = jid
        window.currentView.sourceComponent = undefined
        router.open("chatView", { "jid": jid, "name": name, "ownId": window.ownId,
                                  "profileId": String(jid).split("@")[0].replace("-", "") })
        if (window.applicationActive)
            window.markAsRead(jid)
        router.remember("chatView", { "jid": jid, "name": name })
        window.updateConversationList()
    }

    function backToConversation(entry) {
        showConversation(entry.jid, entry.name)
    }

    // Clears the conversation in the model and goes back to the chat list,
    // dropping the list's and the conversation's history entries.
    function removeConversation(jid) {
        window.clearConversation(jid)
        for (var i = 0; i < 2 && window.history.count > 0; ++i)
            window.history.remove(window.history.count - 1)
        window.currentChatJid = ""
        window.signalHandler.showChat()
    }

    // The notification banner was tapped: open what it announced.
    function followNotificationBanner() {
        var banner = window.notificationbanner
        var icon = String(banner.iconSource)
        if (icon.indexOf("chat") >= 0) {
            window.rebuildChatLists()
            window.toolbar.active = "chat"
            window.toolbar.chatAlert = false
            showConversation(banner.jid, banner.name)
        } else if (icon.indexOf("notification") >= 0) {
            window.signalHandler.showNotifications()
        } else if (icon.indexOf("Messages") >= 0) {
            window.signalHandler.showMessages("inbox")
        }
    }
}
