import QtQml 2.15

// Notifications, message threads and the message count.
QtObject {
    property var window
    property var router

    property Connections answers: Connections {
        target: window.signalHandler

        function onShowNotifications() {
            router.open("notifications")
            router.setClientState("lastNotifications", 0)
            router.fetch("notifications")
            router.remember("notifications")
        }

        function onGetMessage(id, message_count, canReply, recipientId, recipients) {
            var values = { "id": id, "count": message_count, "canReply": canReply, "recipient": recipientId }
            router.open("message")
            if (recipients && recipients.length > 0)
                router.setClientState("recipients", recipients)
            router.fetch("message", values)
            router.rememberUnlessRefresh("message", values)
        }

        // A message of the thread list, shown from the list's own rows.
        function onGetMessageByindex(index) {
            router.hideAllPanels()
            router.place(router.route("message"), {}, { "index": index })
            router.remember("message", { "id": String(index) })
        }

        function onCheckMessageCount() { router.perform("checkMessageCount", ["inbox"]) }
    }

    // Back to a thread: the recipient stored with it, the client's last recipients.
    function backToMessage(entry) {
        window.signalHandler.getMessage(entry.id, entry.count, entry.canReply, entry.recipient,
                                        window.clientSession.recipients || [])
    }
}
