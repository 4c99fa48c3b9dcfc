import QtQml 2.15

// Going back to a search runs it again and shows its results on the page
// of their type.
QtObject {
    property var window
    property var router

    readonly property var pageOfType: ({
        "user": "showFriends",
        "page": "showPages",
        "group": "showGroups",
        "event": "showEvents"
    })

    function replaySearch(entry) {
        var hub = window.signalHandler
        hub.search(entry.name, entry.text)
        window.searching = true
        var show = pageOfType[entry.name]
        if (show)
            hub[show]()
        window.searching = false
        router.record({ "page": "search", "name": entry.name, "text": entry.text })
    }
}
