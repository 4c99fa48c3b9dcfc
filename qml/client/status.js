// The status family: the single story with its comments, the comment and
// like lists with their next pages, the audience choices, and every posting
// (comments and wall posts, likes, deletions, statuses, shared links, Read It
// Later). Loaders send through Request.send; the parsers are in
// statusrows.js; the appliers here fill the window's models. A list a newer
// load replaced drops the answers of the older one (the session's list
// generations). Every posting ends in exactly one of the session's
// postingSucceeded and postingFailed, with "Done" only for an answer that
// says the service took it.
.import Kelvo 1.0 as Kelvo
.import "request.js" as Request
.import "feedrows.js" as Rows
.import "feed.js" as Feed
.import "statusrows.js" as StatusRows
.import "../storage.js" as Storage

function graphUrl(session, path, query) {
    return Request.graphRoot() + "/" + path + "?" + (query ? query + "&" : "") + session.accessToken
}

function countWithout(model, isLoadMore) {
    var last = model.count - 1
    return last >= 0 && isLoadMore(model.get(last)) ? last : model.count
}

// Fills `model` with parsed rows: afresh (`replace`), or in place of its
// "Load more" row (`isLoadMore` tells it), each comment once. A failure
// leaves the list as it was.
function applyRows(session, model, parsed, what, replace, isLoadMore) {
    if (parsed.failure !== undefined) {
        session.parseFailed(what + ": " + parsed.failure)
        return false
    }
    if (replace)
        model.clear()
    else if (countWithout(model, isLoadMore) < model.count)
        model.remove(model.count - 1)
    var known = {}
    for (var i = 0; !replace && i < model.count; ++i)
        known[model.get(i).comment_id_number] = true
    parsed.rows.forEach(function (row) {
        if (!row.comment_id_number || !known[row.comment_id_number])
            model.append(row)
    })
    return true
}

// A page of the list `name`: afresh (a new generation) or after the rows it
// shows. `parse(response, have)` reads it; `then(parsed)` follows a usable
// answer; `failed` runs when nothing came. The waiting indicator (with
// `label`; none for null) ends either way.
function getList(session, name, label, url, replace, isLoadMore, parse, then, failed) {
    var model = session.mainWindow[name]
    var generation = replace ? session.beginList(name) : session.listGeneration(name)
    var waits = label !== null
    if (waits)
        session.showWaiting(label)
    Request.send(session, "GET", url, function (response) {
        try {
            if (!session.isCurrent(name, generation))
                return
            var parsed = parse(response, replace ? 0 : countWithout(model, isLoadMore))
            if (applyRows(session, model, parsed, name, replace, isLoadMore) && then)
                then(parsed)
        } finally {
            if (waits)
                session.hideWaiting()
        }
    }, failed)
}

// A list about to show `subject` afresh: emptied at once only when it showed
// another (then true); a reload of the same keeps its rows until a usable
// answer replaces them.
function showList(session, name, subject) {
    var subjects = session.listSubjects
    var switched = subjects[name] !== subject
    if (switched)
        session.mainWindow[name].clear()
    subjects[name] = subject
    session.listSubjects = subjects
    return switched
}

function statusView(session) {
    return session.mainWindow.currentViewTop.item
}

// --- The status view ----------------------------------------------------------

function loadStatus(session, id) {
    var path = StatusRows.pathOf(id)
    if (path === "")
        return console.warn(session.log, "no story to load")
    var window = session.mainWindow
    session.beginList("statusCommentsModel")
    showList(session, "statusModel", path)
    showList(session, "statusCommentsModel", path)
    window.currentViewTop.sourceComponent = window.statusViewComponent
    window.currentViewTop.visible = true
    var view = statusView(session)
    if (view && "model" in view && "commentsModel" in view) {
        view.model = window.statusModel
        view.commentsModel = window.statusCommentsModel
    }
    getList(session, "statusModel", "Loading status", graphUrl(session, path), true, null, function (response) {
        return StatusRows.parseStatus(response, Rows.contextOf(session))
    }, function (parsed) {
        session.currentName = parsed.rows[0].fromName
        var item = statusView(session)
        if (item && typeof item.fill === "function")
            item.fill(0)
    })
}

function setLoading(session, loading) {
    var view = statusView(session)
    if (view && "loading" in view)
        view.loading = loading
}

// A page of the status view's comments: afresh or after the rows it shows.
function getStatusComments(session, label, url, replace) {
    setLoading(session, true)
    getList(session, "statusCommentsModel", label, url, replace, StatusRows.isLoadMoreComment, function (response) {
        setLoading(session, false)
        return StatusRows.parseStatusComments(response, Rows.contextOf(session))
    }, function () {
        var view = statusView(session)
        if (view && typeof view.showComments === "function")
            view.showComments()
    }, function () { setLoading(session, false) })
}

function loadStatusComments(session, id) {
    var path = StatusRows.pathOf(id)
    if (path === "")
        return
    showList(session, "statusCommentsModel", path)
    getStatusComments(session, null, graphUrl(session, path + "/comments", "limit=50"), true)
}

function loadMoreStatusComments(session, url) {
    var address = Feed.nextUrl(session, url)
    if (address !== "")
        getStatusComments(session, "Loading comments", address, false)
}

// The comments after those the view shows.
function refreshStatusComments(session, id) {
    var path = StatusRows.pathOf(id)
    if (path === "")
        return
    var shown = countWithout(session.mainWindow.statusCommentsModel, StatusRows.isLoadMoreComment)
    getStatusComments(session, "Loading comments", graphUrl(session, path + "/comments", "limit=50&offset=" + shown),
                      false)
}

// --- The comment list -----------------------------------------------------------

function getComments(session, label, url, replace) {
    getList(session, "commentsModel", label, url, replace, StatusRows.isLoadMoreComment, function (response, have) {
        return StatusRows.parseComments(response, Rows.contextOf(session), have)
    }, function (parsed) {
        if (replace)
            session.mainWindow.commentsList.caption = parsed.caption
    })
}

function loadComments(session, id) {
    var path = StatusRows.pathOf(id)
    if (path === "")
        return console.warn(session.log, "no object whose comments to load")
    var window = session.mainWindow
    window.commentsList.picture = Rows.pictureOf(path, Rows.contextOf(session))
    if (showList(session, "commentsModel", path))
        window.commentsList.caption = ""
    getComments(session, "Loading comments...", graphUrl(session, path, "fields=comments,name"), true)
}

function loadMoreComments(session, url) {
    var address = Feed.nextUrl(session, url)
    if (address !== "")
        getComments(session, "Loading comments", address, false)
}

// --- Likes ----------------------------------------------------------------------

function getLikes(session, label, url, id, replace) {
    var letters = session.mainWindow.friendsLetterModel
    getList(session, "likesModel", label, url, replace, StatusRows.isLoadMoreLike, function (response, have) {
        return StatusRows.parseLikes(response, Rows.contextOf(session), have, id)
    }, function (parsed) {
        if (!replace)
            return
        letters.clear()
        parsed.letters.forEach(function (letter) { letters.append(letter) })
    })
}

// The likes of `id`; "me" lists the user's liked pages.
function loadLikes(session, id) {
    var path = StatusRows.pathOf(id)
    if (path === "")
        return console.warn(session.log, "no object whose likes to load")
    var panel = session.mainWindow.likesList
    panel.entityId = Rows.text(id)
    panel.showFriends = false
    if (id !== "me")
        panel.pages = false
    showList(session, "likesModel", path)
    getLikes(session, "Loading likes list...", graphUrl(session, path + "/likes"), Rows.text(id), true)
}

function loadMoreLikes(session, url) {
    var address = Feed.nextUrl(session, url)
    if (address !== "")
        getLikes(session, "Loading likes...", address, "", false)
}

// --- The audience of a status ---------------------------------------------------

function getPrivacyOptions(session) {
    var window = session.mainWindow
    getList(session, "privacyModel", undefined, graphUrl(session, "me/friendlists"), true, null, function (response) {
        return StatusRows.parsePrivacyOptions(response, function (key) { return session.translate(key) })
    }, function () {
        if (window.privacyDialog)
            window.privacyDialog.open()
    })
}

// --- Postings -------------------------------------------------------------------

// The lists a story may stand in, and those its comments may.
var storyLists = ["newsModel", "wallModel", "pageModel", "groupFeedModel", "eventFeedModel"]
var commentLists = ["statusCommentsModel", "commentsModel"]

// One posting of `kind` to `target`; `text` is what the user wrote. "Done"
// only for an answer that says so; anything else is an error banner (unless
// the request's error status was shown already) and postingFailed.
function post(session, kind, target, text, label, path, query, succeeded) {
    if (path === "")
        return refuse(session, kind, target, text, "Nothing to send this to")
    session.showWaiting(label)
    Request.send(session, "POST", graphUrl(session, path, query), function (response) {
        var parsed = StatusRows.parsePosting(response)
        if (parsed.failure !== undefined)
            return refuse(session, kind, target, text, session.answerReported ? "" : parsed.failure)
        if (succeeded)
            succeeded()
        session.showDone()
        session.postingSucceeded(kind, target)
    }, function () { session.postingFailed(kind, target, text) })
}

// A posting not made or not taken; `reason` "" when it has been shown.
function refuse(session, kind, target, text, reason) {
    console.warn(session.log, "a posting (" + kind + ") failed")
    if (reason)
        session.showError(reason)
    else
        session.hideWaiting()
    session.postingFailed(kind, target, text)
}

// A comment on `id`, or a post on a wall when `id` holds "/feed".
function comment(session, message, id) {
    var text = Rows.text(message), target = Rows.text(id)
    if (text.trim() === "")
        return session.postingFailed("comment", target, text)
    var path = StatusRows.pathOf(target)
    if (path !== "" && target.indexOf("/feed") < 0)
        path += "/comments"
    post(session, "comment", target, text, undefined, path, StatusRows.queryOf([["message", text]]))
}

function like(session, id) {
    var path = StatusRows.pathOf(id)
    post(session, "like", Rows.text(id), "", "Please wait...", path && path + "/likes", "")
}

function deleteLike(session, id) {
    var path = StatusRows.pathOf(id)
    post(session, "deleteLike", Rows.text(id), "", "Deleting...", path && path + "/likes", "method=DELETE")
}

// A deleted item leaves every list that shows it.
function deleteItem(session, id) {
    var target = Rows.text(id)
    post(session, "delete", target, "", "Deleting...", StatusRows.pathOf(target), "method=DELETE", function () {
        var window = session.mainWindow
        storyLists.forEach(function (name) {
            removeRows(window[name], function (row) { return row.id === target || row.status_id === target })
        })
        commentLists.forEach(function (name) {
            removeRows(window[name], function (row) { return row.comment_id_number === target })
        })
    })
}

function removeRows(model, matches) {
    for (var i = model.count - 1; i >= 0; --i) {
        if (matches(model.get(i)))
            model.remove(i)
    }
}

// A status for the audience chosen (the window's privacyString, a JSON
// object; "" for the default).
function shareStatus(session, message) {
    var text = Rows.text(message), privacy = Rows.text(session.mainWindow.privacyString)
    if (text.trim() === "")
        return session.postingFailed("status", "me/feed", text)
    var audience = ""
    try {
        audience = privacy === "" ? "" : JSON.stringify(JSON.parse(privacy))
    } catch (error) {
        return refuse(session, "status", "me/feed", text, "The chosen audience cannot be read")
    }
    post(session, "status", "me/feed", text, "Updating status", "me/feed",
         StatusRows.queryOf([["privacy", audience], ["message", text]]))
}

function shareLink(session, text, id, link, linkName, description, picture, caption) {
    var target = Rows.text(id)
    post(session, "link", target, Rows.text(text), "Sharing...", StatusRows.pathOf(target),
         StatusRows.queryOf([["message", text], ["link", link], ["picture", StatusRows.sharedPicture(picture)],
                             ["name", linkName], ["caption", caption], ["description", description]]))
}

// Saves `link` to the user's Read It Later account. The service has its own
// answer: only "200 OK" is success; the account is remembered when asked.
function RIL(session, username, password, link, name, remember) {
    var window = session.mainWindow
    var target = Rows.text(link)
    session.showWaiting()
    var url = Kelvo.ServiceConfig.rilRoot + "/v2/add?"
            + StatusRows.queryOf([["apikey", Kelvo.ServiceConfig.rilKey], ["username", username],
                                  ["url", link], ["title", name], ["password", password]])
    var request = new XMLHttpRequest()
    request.onreadystatechange = function () {
        if (request.readyState !== XMLHttpRequest.DONE)
            return
        var parsed = StatusRows.parseRIL(request.status === 200 ? request.responseText : "error")
        if (parsed.failure !== undefined)
            return refuse(session, "ril", target, "", parsed.failure)
        Storage.setKeyValue("rememberRil", remember ? "1" : "0")
        window.rememberRil = !!remember
        if (remember) {
            Storage.setKeyValue("rilUsername", Rows.text(username))
            Storage.setKeyValue("rilPassword", Rows.text(password))
            window.rilUsername = Rows.text(username)
            window.rilPassword = Rows.text(password)
        }
        session.showDone()
        session.postingSucceeded("ril", target)
    }
    request.open("GET", url)
    request.send()
}
