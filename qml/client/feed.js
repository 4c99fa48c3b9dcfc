// The news feed family: the home feed, the feed narrowed by a stream filter or
// friend list, the walls of people and pages with their cover, the walls of
// events and groups, the filter list, and the next pages of each. Loaders
// send through Request.send; the parsers are pure (answer text and a context
// in, rows and paging out); the appliers fill the window's models.
//
// Every feed row has the same roles with the same types, the "no data" and
// "Load more" rows too: a ListModel fixes a role's type at its first row.
// Texts are "" when absent; likes, comments and discussion_count are numbers;
// structures the service sends (to, discussion, actions, place, application)
// are kept as JSON text ("" when absent). `message`, `description`,
// `caption`, `toName` and `withtext` are markup built from escaped pieces;
// every other text is the service's own and is shown as plain text. A tag
// link's target is "TAG|" name "|" id "|" category, each field
// percent-encoded. A "Load more" row's `next` holds no token.
.import "answer.js" as Answer
.import "request.js" as Request
.import "text.js" as Text
.import "dates.js" as Dates
.import "feedrows.js" as Rows

// The story-list parsers live with the row builder; they are the family's too.
var parseFeed = Rows.parseFeed
var parseHomeFeed = Rows.parseHomeFeed
// The ids a list shows, for the next page to skip.
function idsOf(model) {
    var ids = []
    for (var i = 0; i < model.count; ++i) {
        var id = model.get(i).id
        if (id)
            ids.push(String(id))
    }
    return ids
}

// Fills `model` afresh with parsed rows; a failure leaves it as it was.
function applyRows(session, model, parsed, what) {
    if (parsed.failure !== undefined) {
        session.parseFailed(what + ": " + parsed.failure)
        return false
    }
    model.clear()
    parsed.rows.forEach(function (row) { model.append(row) })
    session.hideWaiting()
    return true
}

// A next page: its rows take the place of the "Load more" row.
function applyNext(session, model, parsed, what) {
    if (parsed.failure !== undefined) {
        session.parseFailed(what + ": " + parsed.failure)
        return
    }
    for (var i = model.count - 1; i >= 0; --i) {
        if (model.get(i).type === "next")
            model.remove(i)
    }
    if (parsed.added > 0)
        parsed.rows.forEach(function (row) { model.append(row) })
    session.hideWaiting()
}

// Sends a GET for the list `list` (a model's name): `fresh` for a load that
// fills it afresh, else a next page of what it shows. An answer overtaken by
// a later full load of the same list is dropped. Without a label the busy
// overlay stays away. `failed` runs when nothing answered at all.
function get(session, label, url, handle, list, fresh, failed) {
    var generation = fresh ? session.beginList(list) : session.listGeneration(list)
    if (label)
        session.showWaiting(label)
    Request.send(session, "GET", url, function (response) {
        if (!session.isCurrent(list, generation))
            return
        if (label)
            session.showWaiting("Processing")
        try {
            handle(response)
        } finally {
            if (label)
                session.hideWaiting()
        }
    }, failed)
}

// --- The home feed ------------------------------------------------------------

// While the feed kept from the last run is on show, the list says it is
// updating and the busy overlay stays away.
function loadHomeFeed(session) {
    var window = session.mainWindow
    var url = Request.graphRoot() + "/me/home?" + session.accessToken
    var apply = function (response) {
        var parsed = Rows.parseHomeFeed(response, Rows.contextOf(session))
        if (applyRows(session, window.newsModel, parsed, "home feed")) {
            keepHomeFeed(session, parsed.rows)
            console.info(session.log, "home feed shown: " + window.newsModel.count + " rows")
        }
        window.newsFromSnapshot = false
    }
    // Nothing answered: the kept feed stays, no longer marked as updating.
    get(session, window.newsFromSnapshot ? "" : "Loading feed", url, apply, "newsModel", true,
        function () { window.newsFromSnapshot = false })
}

// --- The home feed kept for the next start --------------------------------------

// Picture addresses under the Graph root end with the token; kept rows end
// them with "?" alone and get the token of the run that shows them.
function pictureFields() {
    return ["profileImageUrl", "picture"]
}

// Nothing kept holds the token: picture addresses lose it, as do paging
// addresses the service put inside the stories.
function keepHomeFeed(session, rows) {
    var store = session.snapshotStore
    if (!store || session.mainWindow.useAsPage || !session.usable)
        return
    var token = session.accessToken
    var bare = token.substring(token.indexOf("=") + 1)
    var kept = JSON.stringify(rows).split(token).join("").split(bare).join("")
    store.store(token, kept)
}

// Shows the home feed kept for this token, if any; true when it did.
function showKeptHomeFeed(session) {
    var store = session.snapshotStore
    var window = session.mainWindow
    if (!store || window.useAsPage || !session.usable)
        return false
    var rows = Answer.parseJson(store.load(session.accessToken))
    if (!Array.isArray(rows) || rows.length === 0)
        return false
    var root = Request.graphRoot() + "/"
    var model = window.newsModel
    model.clear()
    rows.forEach(function (kept) {
        var row = Rows.emptyRow()
        for (var key in row) {
            if (kept[key] !== undefined && kept[key] !== null && typeof kept[key] === typeof row[key])
                row[key] = kept[key]
        }
        pictureFields().forEach(function (field) {
            if (row[field].indexOf(root) === 0 && /\/picture\?$/.test(row[field]))
                row[field] += session.accessToken
        })
        model.append(row)
    })
    window.newsFromSnapshot = true
    return true
}

// --- Event and group walls ------------------------------------------------------

// An event's or group's wall, filled afresh once a usable answer came.
function loadWall(session, modelName, id) {
    var owner = graphId(id)
    if (owner === "")
        return
    get(session, "Loading feed...", Request.graphRoot() + "/" + owner + "/feed?" + session.accessToken,
        function (response) {
            applyRows(session, session.mainWindow[modelName], Rows.parseFeed(response, Rows.contextOf(session), []),
                      modelName)
        }, modelName, true)
}

function loadEventFeed(session, id) { loadWall(session, "eventFeedModel", id) }
function loadGroupFeed(session, id) { loadWall(session, "groupFeedModel", id) }

// --- Next pages ---------------------------------------------------------------

// The "Load more" row's URL, sent with the session's token only.
function nextUrl(session, url) {
    var bare = Rows.usableNext({ next: String(url) }, Request.graphRoot())
    if (bare === "")
        return ""
    return bare + (bare.indexOf("?") < 0 ? "?" : "&") + session.accessToken
}

function loadNext(session, modelName, url) {
    var address = nextUrl(session, url)
    if (address === "") {
        console.warn(session.log, "not a next page of the service: " + url)
        return
    }
    var model = session.mainWindow[modelName]
    get(session, "Loading next", address, function (response) {
        applyNext(session, model, Rows.parseFeed(response, Rows.contextOf(session), idsOf(model)), modelName + " next page")
    }, modelName, false)
}

function nextPage(session, url) { loadNext(session, "newsModel", url) }
function nextWallPage(session, url) { loadNext(session, "wallModel", url) }
function nextPagePage(session, url) { loadNext(session, "pageModel", url) }
function nextEventPage(session, url) { loadNext(session, "eventFeedModel", url) }
function nextGroupPage(session, url) { loadNext(session, "groupFeedModel", url) }

// --- Walls with a cover -------------------------------------------------------

// The body of one batch element, read; undefined for a missing, failed or
// bodiless element.
function batchBody(element) {
    if (element === null || typeof element !== "object" || typeof element.body !== "string")
        return undefined
    if (element.code !== undefined && Number(element.code) !== 200)
        return undefined
    return element.body
}

// The cover of an FQL answer ({"data": rows} or rows): its source and offset.
function coverOf(body) {
    var answer = body === undefined ? undefined : Answer.parseJson(body)
    var rows = Array.isArray(answer) ? answer : Rows.list(answer && answer.data)
    var cover = rows[0] && rows[0].pic_cover
    if (cover === null || typeof cover !== "object")
        return { cover: "", coverOffset: 0 }
    var offset = Number(cover.offset_y)
    return { cover: Rows.text(cover.source), coverOffset: isFinite(offset) ? offset : 0 }
}

// A wall batch answer: element 0 the feed, element 1 the cover query.
function parseWallFeed(response, context) {
    var answer = Answer.parseJson(response)
    if (!Array.isArray(answer)) {
        var error = Answer.object(response)
        return error.failure !== undefined ? error : Answer.failure("not a batch answer")
    }
    var feed = batchBody(answer[0])
    if (feed === undefined)
        return Answer.failure("no feed in the batch answer")
    var parsed = Rows.parseFeed(feed, context, [])
    if (parsed.failure !== undefined)
        return parsed
    var cover = coverOf(batchBody(answer[1]))
    parsed.cover = cover.cover
    parsed.coverOffset = cover.coverOffset
    return parsed
}

function applyWall(session, model, parsed, what) {
    if (!applyRows(session, model, parsed, what))
        return
    var view = session.mainWindow.currentView ? session.mainWindow.currentView.item : null
    if (view && view.cover !== undefined) {
        view.cover = parsed.cover
        view.coverOffset = parsed.coverOffset
    }
}

function batchUrl(session, id, coverQuery) {
    var batch = [{ method: "GET", relative_url: id + "/feed" },
                 { method: "GET", relative_url: "fql?q=" + encodeURIComponent(coverQuery) }]
    return Request.graphRoot() + "/?method=POST&batch=" + encodeURIComponent(JSON.stringify(batch)) + "&"
            + session.accessToken
}

// Ids are Graph ids; anything else is not sent.
function graphId(id) {
    var value = String(id)
    return /^[A-Za-z0-9_.]+$/.test(value) ? value : ""
}

function loadUserWall(session, id) {
    var user = graphId(id)
    if (user === "")
        return
    var uid = user === "me" ? "me()" : user
    get(session, "Loading user feed", batchUrl(session, user, "SELECT pic_cover from user where uid = " + uid),
        function (response) {
            applyWall(session, session.mainWindow.wallModel, parseWallFeed(response, Rows.contextOf(session)), "user wall")
        }, "wallModel", true)
}

function loadPage(session, id) {
    var page = graphId(id)
    if (page === "")
        return
    get(session, "Loading page feed", batchUrl(session, page, "SELECT pic_cover from page where page_id = " + page),
        function (response) {
            applyWall(session, session.mainWindow.pageModel, parseWallFeed(response, Rows.contextOf(session)), "page wall")
        }, "pageModel", true)
}

// --- Stream filters and the filtered feed -------------------------------------

// The named result sets of a multiquery answer: an array of
// {name, fql_result_set}, or the same under "data".
function resultSets(response) {
    var answer = Answer.parseJson(response)
    var sets = Array.isArray(answer) ? answer : (answer && Array.isArray(answer.data) ? answer.data : undefined)
    if (sets === undefined) {
        var error = Answer.object(response)
        return error.failure !== undefined ? error : Answer.failure("not a multiquery answer")
    }
    var named = {}
    sets.forEach(function (set) {
        if (set && typeof set === "object")
            named[Rows.text(set.name)] = Rows.list(set.fql_result_set)
    })
    return named
}

function multiqueryUrl(session, queries) {
    return Request.restRoot() + "/method/fql.multiquery?format=json&queries="
            + encodeURIComponent(JSON.stringify(queries)) + "&" + session.accessToken
}

// The stream filters, friend lists last; a friend list's filter without a
// name takes the list's; filters still without one are left out.
function parseFilters(response) {
    var sets = resultSets(response)
    if (sets.failure !== undefined)
        return sets
    if (sets.filters === undefined)
        return Answer.failure("no filters")
    var lists = {}
    Rows.list(sets.lists).forEach(function (row) {
        if (row && row.flid !== undefined)
            lists[Rows.text(row.flid)] = Rows.text(row.name)
    })
    var rows = []
    sets.filters.forEach(function (filter) {
        if (filter === null || typeof filter !== "object")
            return
        var key = Rows.text(filter.filter_key)
        var name = Rows.text(filter.name) || lists[key.replace(/^fl_/, "")] || ""
        if (name !== "")
            rows.push({ name: name, type: Rows.text(filter.type), key: key, icon: Rows.text(filter.icon_url) })
    })
    var friendLists = function (row) { return row.type === "friendlist" }
    return { rows: rows.filter(function (row) { return !friendLists(row) }).concat(rows.filter(friendLists)) }
}

function loadFilters(session) {
    var queries = { filters: "SELECT filter_key,icon_url,name,type FROM stream_filter WHERE uid=me()",
                    lists: "SELECT flid, owner, name FROM friendlist WHERE owner=me()" }
    get(session, "Loading filters", multiqueryUrl(session, queries), function (response) {
        applyRows(session, session.mainWindow.filterModel, parseFilters(response), "filters")
    }, "filterModel", true)
}

// One stream row of the filtered feed as a feed row.
function streamRow(post, names, context) {
    if (post === null || typeof post !== "object" || post.post_id === undefined || post.post_id === null)
        return null
    var row = Rows.emptyRow()
    var attachment = post.attachment && typeof post.attachment === "object" ? post.attachment : {}
    var media = Rows.list(attachment.media)[0] || {}
    row.id = row.status_id = Rows.text(post.post_id)
    row.fromID = Rows.text(post.actor_id)
    row.fromName = Rows.text(names[row.fromID])
    row.toId = Rows.text(post.target_id)
    if (row.toId !== "") {
        row.to = Rows.json({ data: [{ id: row.toId, name: Rows.text(names[row.toId]) }] })
        row.toName = Rows.addresseeMarkup(names[row.toId], context)
    }
    if (row.fromID !== "")
        row.profileImageUrl = Rows.pictureOf(row.fromID, context)
    var message = Rows.text(post.message), tags = post.message_tags
    if (message === "") {
        message = Rows.text(post.description)
        tags = post.description_tags
    } else if (!tags) {
        tags = post.description_tags
    }
    row.message = "<span>" + Rows.messageMarkup(message, tags, function (tag) {
        return { name: tag.name, id: tag.id, category: "" }
    }) + "</span>"
    row.plainDescription = Rows.text(attachment.description)
    row.description = Text.linkedMarkup(row.plainDescription)
    row.icon = Text.webAddress(attachment.icon)
    row.caption = Text.linkedMarkup(attachment.caption)
    row.name = Rows.text(attachment.name)
    row.link = Rows.text(attachment.href)
    row.picture = Text.webAddress(media.src)
    if (media.type === "video" && media.video)
        row.source = Text.webAddress(media.video.source_url)
    if (context.filterType === "photo" && post.app_data && post.app_data.images)
        row.object_id = Rows.text(String(post.app_data.images).replace(/[\[\]"]/g, "").split(",")[0]).trim()
    row.likes = Rows.count(post.likes)
    row.comments = Rows.count(post.comments)
    row.created_time = Rows.timeOf(post.created_time, context)
    row.type = context.filterType
    row.application = Rows.json({ id: "", name: Rows.text(post.attribution) })
    row.withtext = "<span></span>"
    return row
}

// The filtered feed: "first" the stream rows, "query2" the names of their
// authors and addressees. No "Load more" row: the first 50 stories show.
function parseFilteredFeed(response, context) {
    var sets = resultSets(response)
    if (sets.failure !== undefined)
        return sets
    if (sets.first === undefined)
        return Answer.failure("no stream")
    if (sets.first.length === 0)
        return { rows: [Rows.noDataRow(), Rows.emptyRow()] }
    var names = {}
    Rows.list(sets.query2).forEach(function (profile) {
        if (profile && profile.id !== undefined)
            names[Rows.text(profile.id)] = Rows.text(profile.name)
    })
    var rows = [], seen = {}
    sets.first.forEach(function (post) {
        var row = null
        try {
            row = streamRow(post, names, context)
        } catch (error) {
            row = null
        }
        if (row !== null && !seen[row.id]) {
            seen[row.id] = true
            rows.push(row)
        }
    })
    return { rows: rows.length > 0 ? rows : [Rows.noDataRow(), Rows.emptyRow()] }
}

// The feed narrowed by a stream filter (or friend list) `key`; the filter's
// name is kept on the session as the feed's type ("Photos" as "photo").
function loadFilterHomeFeed(session, name, key, page) {
    session.filterType = name === "Photos" ? "photo" : Rows.text(name)
    var pageNumber = Math.max(0, parseInt(page, 10) || 0)
    var filterKey = Rows.text(key).replace(/['\\]/g, "")
    var first = "SELECT post_id, viewer_id, source_id, created_time, description, description_tags, filter_key, "
            + "attribution, actor_id, target_id, message, message_tags, app_data, action_links, attachment, "
            + "comments, likes, permalink, tagged_ids FROM stream WHERE filter_key in (SELECT filter_key FROM "
            + "stream_filter WHERE uid=me() AND filter_key='" + filterKey + "') AND is_hidden = 0 AND "
            + "created_time > 1262196000 LIMIT " + pageNumber * 50 + "," + (pageNumber + 1) * 50
    var queries = { first: first, query2: "SELECT id, name FROM profile WHERE id IN (SELECT actor_id FROM #first) "
                                          + "OR id IN (SELECT target_id FROM #first)" }
    get(session, "Loading feed", multiqueryUrl(session, queries), function (response) {
        applyRows(session, session.mainWindow.newsModel, parseFilteredFeed(response, Rows.contextOf(session)),
                  "filtered feed")
    }, "newsModel", true)
}
