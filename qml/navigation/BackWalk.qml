import QtQml 2.15
import "routes.js" as Routes

// Walks the history back: the entry before the current one is shown again
// as its row's `back` says.
QtObject {
    id: walk

    property var window
    property var router
    // The family handler objects by family name, for back steps they take.
    property var families: ({})

    function goBack() {
        var history = window.history
        if (history.count <= 1)
            return
        if (window.topViewHolds(Routes.componentName(router.route("checkin")))) {
            window.currentViewTop.sourceComponent = undefined
            return
        }
        var likes = window.likesList
        var comments = window.commentsList
        if (!likes.pages && (likes.state === "shown" || comments.state === "shown")) {
            if (likes.state !== "shown" || comments.state !== "shown")
                comments.state = "hidden"
            likes.state = "hidden"
            return
        }
        window.waiting.state = "hidden"
        window.back = true

        var target = history.get(history.count - 2)
        var targetRow = router.route(target.page)
        if (targetRow && targetRow.skippedOnBack) {
            history.remove(history.count - 2)
            if (history.count < 2)
                return
            target = history.get(history.count - 2)
        }
        var current = history.get(history.count - 1)
        var page = router.pageItem()
        if (current.page === "news" && page && page.filterOpen) {
            page.filterOpen = false
            return
        }
        // Copy the target: showing it appends entries and moves the model.
        var entry = {}
        for (var key in target)
            entry[key] = target[key]
        stepBack(entry, current.page)
        history.remove(history.count - 2)
        history.remove(history.count - 1)
    }

    // Shows the entry again as its row's `back` says.
    function stepBack(entry, currentTag) {
        var row = router.route(entry.page)
        var back = row ? row.back : undefined
        if (!back)
            return
        for (var flag in back.set)
            window[flag] = back.set[flag]
        if (back.emit) {
            var hub = window.signalHandler
            hub[back.emit].apply(hub, router.argsOf(back.args, router.valuesOf(row, entry)))
        } else {
            var owner = back.family ? families[back.family] : walk
            owner[back.call](entry, currentTag)
        }
    }

    // A sub-view of a page or wall: the view is loaded afresh with its name and
    // owner, shows the sub-view and fetches what it lists.
    function showSubView(entry) {
        var row = router.route(entry.page)
        router.hideAllPanels()
        window.clearModels()
        router.place(row, {}, { "model": window.dummyList })
        var page = router.pageItem()
        if (page) {
            if ("pageName" in page)
                page.pageName = entry.name || ""
            if ("ownerId" in page)
                page.ownerId = entry[row.owner || "id"] || ""
        }
        router.callPage("showSubView", row.subView)
        if (row.loader !== "loadPhotos" || !router.albumShown(entry.id))
            router.fetch(entry.page, entry)
        var recorded = {}
        for (var key in entry)
            recorded[key] = entry[key]
        recorded.page = row.recordAs || entry.page
        router.record(recorded)
    }

    function revealTop() {
        window.currentViewTop.visible = true
    }
}
