import QtQml 2.15
import "routes.js" as Routes

// Places, nearby places and check-ins.
QtObject {
    property var window
    property var router

    property Connections answers: Connections {
        target: window.signalHandler

        // A back step has set `dontReload`: the check-ins are not fetched again.
        function onShowPlaces() {
            router.open("places")
            if (!window.dontReload)
                router.fetch("places")
            else
                window.dontReload = false
            var page = router.pageItem()
            router.remember("places", { "name": page && page.status ? page.status : "" })
        }

        function onLoadNearby(search, lat, lon) {
            var page = router.pageItem()
            if (page && "nearbyModel" in page)
                page.nearbyModel = window.nearbyModel
            router.perform("loadNearby", [search, lat, lon])
        }

        function onCheckin(message, lat, lon, id) { router.perform("checkin", [lat, lon, message, id]) }
    }

    // The places page shows again the list the entry names.
    function backToPlaces(entry) {
        window.dontReload = false
        window.currentViewTop.sourceComponent = undefined
        var page = router.pageItem()
        if (window.currentPage === Routes.componentName(router.route("places")) && page)
            page.status = entry.name === "nearby" || entry.name === "friends" ? entry.name : "recent"
        window.signalHandler.showPlaces()
    }
}
