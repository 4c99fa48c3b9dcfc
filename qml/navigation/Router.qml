import QtQml 2.15
import "routes.js" as Routes

// Shows routes as the route table describes them: which layer gets which
// page, which lists are emptied, which loader runs and what the history
// records; answers the signals of the routes and actions no family handles,
// and names the title of what is on top.
QtObject {
    id: router

    // The main window; the navigation, which reports what routes load and show.
    property var window
    property var nav

    // History entries kept by going home.
    readonly property int homeHistoryLength: 5

    property LoggingCategory log: LoggingCategory {
        name: "kelvo.ui.navigation"
    }

    onWindowChanged: answerTable()

    function route(tag) {
        return Routes.routes[tag]
    }

    // --- Values --------------------------------------------------------------

    // A route's values: those given, else the row's defaults.
    function valuesOf(row, given) {
        var values = {}
        var key
        for (key in row.defaults)
            values[key] = row.defaults[key]
        for (key in given) {
            if (given[key] !== undefined)
                values[key] = given[key]
        }
        return values
    }

    // A text names a value ("name:int" as a whole number); others are constants.
    function valueFor(item, values) {
        if (typeof item !== "string")
            return item
        var parts = item.split(":")
        return parts[1] === "int" ? parseInt(values[parts[0]], 10) : values[parts[0]]
    }

    function argsOf(items, values) {
        return (items || []).map(function (item) { return valueFor(item, values) })
    }

    // --- Loading -------------------------------------------------------------

    // Runs a loader of the web-API client by name; one this build lacks is
    // skipped with a warning, so that navigation itself keeps working.
    function load(name) {
        var args = Array.prototype.slice.call(arguments, 1)
        nav.loadRequested(name, args)
        var client = window.facebook
        if (typeof client[name] !== "function") {
            console.warn(log, "no loader " + name + " in this build")
            return
        }
        client[name].apply(null, args)
    }

    // Sets a flag of the web-API client's session that one of its families
    // reads; a session without that flag is left as it is.
    function setClientState(name, value) {
        if (name in window.clientSession)
            window.clientSession[name] = value
        else
            console.warn(log, "no client state " + name + " in this build")
    }

    function loadWith(name, args) {
        load.apply(null, [name].concat(args))
    }

    function fetch(tag, given) {
        var row = route(tag)
        loadWith(row.loader, argsOf(row.args, valuesOf(row, given)))
    }

    function fetchMore(tag, id) {
        load(route(tag).more, id)
    }

    function perform(action, args) {
        loadWith(Routes.loaderOf(action), args || [])
    }

    // A list's last row offering the next part of it.
    function isLoadMore(row) {
        return row.name === window.translator.translate("Load more") + "..."
    }

    function itemAt(model, index) {
        return index >= 0 && index < model.count ? model.get(index) : null
    }

    // The photo list already shows the album.
    function albumShown(id) {
        return window.photosModel.count > 0 && window.lastAlbumId === id
    }

    // --- History -------------------------------------------------------------

    function record(entry) {
        window.history.append(entry)
    }

    function remember(tag, given) {
        var row = route(tag)
        var values = valuesOf(row, given)
        var entry = { "page": tag }
        row.record.forEach(function (name) {
            if (values[name] !== undefined)
                entry[name] = values[name]
        })
        record(entry)
    }

    // A refresh shows the page again with `noHistory` set: not recorded.
    function rememberUnlessRefresh(tag, given) {
        if (!window.noHistory)
            remember(tag, given)
        window.noHistory = false
    }

    // --- Showing -------------------------------------------------------------

    function fileOf(row) {
        return Qt.resolvedUrl("../components/" + row.component + ".qml")
    }

    function layerOf(row) {
        return row.layer || (row.component ? "view" : "")
    }

    function itemIn(row) {
        switch (layerOf(row)) {
        case "view": return window.currentView.item
        case "top": return window.currentViewTop.item
        case "tag": return window.currentViewTag.item
        case "panel": return window[row.panel]
        }
        return null
    }

    function pageItem() {
        return window.currentView.item
    }

    function callOn(item, method, args) {
        if (item && typeof item[method] === "function")
            item[method].apply(item, args || [])
    }

    // Calls `method` of the current page if it has one.
    function callPage(method) {
        callOn(pageItem(), method, Array.prototype.slice.call(arguments, 1))
    }

    // Puts the row's page into its layer with the row's properties and `extra`.
    function place(row, values, extra) {
        var properties = {}
        var key
        for (key in row.properties)
            properties[key] = valueFor(row.properties[key], values)
        for (key in extra)
            properties[key] = extra[key]
        switch (layerOf(row)) {
        case "menu":
            window.currentView.sourceComponent = undefined
            window.currentPage = ""
            window.menu.sourceComponent = window[row.windowComponent]
            break
        case "view":
            window.menu.sourceComponent = undefined
            if (row.windowComponent)
                window.currentView.sourceComponent = window[row.windowComponent]
            else
                window.currentView.setSource(fileOf(row), properties)
            window.currentPage = Routes.componentName(row)
            break
        case "top":
            window.currentViewTop.setSource(fileOf(row), properties)
            break
        case "tag":
            window.currentViewTag.setSource(fileOf(row), properties)
            break
        case "panel":
            var panel = window[row.panel]
            for (key in properties)
                panel[key] = properties[key]
            panel.state = "shown"
            break
        default:
            return
        }
        nav.pageShown(Routes.componentName(row) || row.panel, properties)
    }

    // Shows the route's page: panels, lists, layer, toolbar and page calls.
    function open(tag, given) {
        var row = route(tag)
        var layer = layerOf(row)
        if (!row.keepPanels && layer !== "panel" && layer !== "tag")
            hideAllPanels()
        if (row.clearModels)
            window.clearModels()
        var models = row.clear || []
        models.forEach(function (model) { window[model].clear() })
        place(row, valuesOf(row, given))
        if (row.toolbar)
            window.toolbar.active = row.toolbar
        var item = itemIn(row)
        var calls = row.calls || []
        calls.forEach(function (call) { callOn(item, call[0], call.slice(1)) })
    }

    // A route the table says all of: shown, fetched and recorded.
    function show(tag, given) {
        var row = route(tag)
        open(tag, given)
        if (row.loader)
            fetch(tag, given)
        if (row.record)
            remember(tag, given)
    }

    function hideAllPanels() {
        window.uploadOk = false
        window.searchBar.close()
        window.errorbanner.hide()
        window.infobanner.hide()
        window.notificationbanner.hide()
        window.currentViewTop.visible = true
        window.currentViewTag.sourceComponent = undefined
        window.commentDialog.state = "hidden"
        if (!window.searching)
            window.waiting.state = "hidden"
        window.menu.sourceComponent = undefined
        window.albumsList.state = "hidden"
        window.photosList.state = "hidden"
        window.photoView.state = "hidden"
        window.commentsList.state = "hidden"
        window.likesList.state = "hidden"
        window.likesList.pages = false
        window.likesList.showFriends = false
        window.currentViewTop.sourceComponent = undefined
    }

    // --- Signals the table answers -------------------------------------------

    property bool answering: false

    function answerTable() {
        if (!window || answering)
            return
        answering = true
        var hub = window.signalHandler
        var tag
        for (tag in Routes.routes) {
            var row = Routes.routes[tag]
            if (row.signal && !row.handledBy)
                hub[row.signal].connect(showOnSignal(tag))
        }
        for (var action in Routes.actions) {
            if (typeof Routes.actions[action] === "string")
                hub[action].connect(loadOnSignal(Routes.actions[action]))
        }
    }

    function showOnSignal(tag) {
        return function () {
            var given = {}
            var params = route(tag).params || []
            for (var i = 0; i < params.length; ++i)
                given[params[i]] = arguments[i]
            show(tag, given)
        }
    }

    function loadOnSignal(name) {
        return function () {
            loadWith(name, Array.prototype.slice.call(arguments))
        }
    }

    // --- Title ---------------------------------------------------------------

    // The title key of the top-most content.
    function titleKey() {
        if (!window)
            return ""
        if (window.menu.item !== null)
            return route("home").title
        if (window.fullScreenImageLoader.item !== null)
            return route("photo").title
        if (window.photoView.state === "shown")
            return window.photoView.z === 0 ? route("photo").title : ""
        if (window.likesList.state === "shown")
            return route("showLikes").title
        if (window.topViewHolds(Routes.componentName(route("status"))))
            return route("status").title
        return Routes.titleOf(window.currentPage)
    }
}
