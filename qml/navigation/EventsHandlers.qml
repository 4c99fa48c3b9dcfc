import QtQml 2.15

// The event list and single events.
QtObject {
    property var window
    property var router

    property Connections answers: Connections {
        target: window.signalHandler

        function onShowEvents() {
            router.open("events")
            if (!window.searching && (window.reload || window.eventsModel.count === 0 || window.open_events > 0)) {
                router.fetch("events")
                window.reload = false
            }
            if (!window.searching)
                router.remember("events")
        }

        // The event at `index` of the event list; its last row loads more events.
        function onGetEvent(index) {
            var event = router.itemAt(window.eventsModel, index)
            if (event && router.isLoadMore(event)) {
                router.fetchMore("event", event.id)
                return
            }
            showEvent("event", event, index)
        }

        function onGetInviteEvent(index) {
            showEvent("inviteEvent", router.itemAt(window.invitesModel, index), index)
        }
    }

    function showEvent(tag, event, index) {
        router.open(tag)
        if (event)
            router.fetch(tag, { "id": event.id })
        router.remember(tag, { "id": String(index) })
    }
}
