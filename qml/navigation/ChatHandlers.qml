import QtQml 2.15

// The chat list, conversations, and the notification banner's press.
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

    // Opens the conversation with `jid`, always in a fresh view; the view
    // gets the contact's bare numeric id ("-42@host" -> "42").
    function showConversation(jid, name) {
        window.currentChatJid = jid
        window.currentView.sourceComponent = undefined
        router.open("chatView", { "jid": jid, "name": name, "ownId": window.ownId,
                                  "profileId": String(jid).split("@")[0].replace("-", "") })
        window.markAsRead(jid)
        router.remember("chatView", { "jid": jid, "name": name })
        window.updateUsers()
    }

    function backToConversation(entry) {
        showConversation(entry.jid, entry.name)
    }

    // The notification banner was tapped: open what it announced.
    function followNotificationBanner() {
        var banner = window.notificationbanner
        var icon = String(banner.iconSource)
        if (icon.indexOf("chat") >= 0) {
            window.updateUsers()
            for (var i = 0; i < window.openConversations.count; ++i) {
                var entry = window.openConversations.get(i)
                if (entry.jid === banner.jid) {
                    showConversation(entry.jid, entry.name)
                    window.toolbar.active = "chat"
                    window.toolbar.chatAlert = false
                    break
                }
            }
        } else if (icon.indexOf("notification") >= 0) {
            window.signalHandler.showNotifications()
        } else if (icon.indexOf("Messages") >= 0) {
            window.signalHandler.showMessages("inbox")
        }
    }
}
