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

var tagStyle = "color:#70aac3;text-decoration:none"
var skippedApplications = ["Questions", "Spotify"]

// What the parsers need from the session and the window, read once per answer.
function contextOf(session) {
    var window = session.mainWindow
    return {
        graphRoot: Request.graphRoot(),
        token: session.accessToken,
        translate: function (key) { return session.translate(key) },
        language: session.language,
        titleColor: window ? String(window.titleFontColor) : "",
        filterType: session.filterType
    }
}

function text(value) {
    return value === undefined || value === null ? "" : String(value)
}

function json(value) {
    return value === undefined || value === null ? "" : JSON.stringify(value)
}

// A count as the service sends it: a number, a decimal text, or an object
// with "count" (else the length of its "data"); 0 otherwise.
function count(value) {
    if (typeof value === "number" && isFinite(value))
        return Math.max(0, Math.floor(value))
    if (typeof value === "string" && /^\d+$/.test(value))
        return parseInt(value, 10)
    if (value !== null && typeof value === "object") {
        if (value.count !== undefined)
            return count(value.count)
        return Array.isArray(value.data) ? value.data.length : 0
    }
    return 0
}

// A list as an array: arrays as they are, {} and missing ones as [].
function list(value) {
    return Array.isArray(value) ? value : []
}

// A row with every role of a feed list, empty.
function emptyRow() {
    return {
        id: "", status_id: "", to: "", fromID: "", fromName: "", fromCategory: "", toName: "", toId: "",
        toRealName: "", toCategory: "", message: "", story: "", profileImageUrl: "", name: "", icon: "",
        link: "", source: "", plainDescription: "", description: "", caption: "", withtext: "", picture: "",
        created_time: "", likes: 0, likedBy: "", comments: 0, discussion: "", discussion_count: 0,
        actions: "", type: "", object_id: "", place: "", application: "", applicationId: "", next: ""
    }
}

function noDataRow() {
    var row = emptyRow()
    row.message = "No data found..."
    return row
}

function loadMoreRow(next, context) {
    var row = emptyRow()
    row.message = context.translate("Load more") + "..."
    row.type = "next"
    row.next = next
    return row
}

function pictureOf(id, context) {
    return context.graphRoot + "/" + id + "/picture?" + context.token
}

// A paging link worth following: a next page under the configured Graph root
// (over either scheme), with a path. It is kept without any token; the next
// page loader adds the session's own. "" when there is none.
function usableNext(paging, graphRoot) {
    var next = paging !== null && typeof paging === "object" ? paging.next : undefined
    if (typeof next !== "string")
        return ""
    var url = Request.withRootScheme(next, graphRoot)
    if (url.indexOf(graphRoot + "/") !== 0 || /[\s"'<>]/.test(url))
        return ""
    var rest = url.substring(graphRoot.length + 1)
    if (rest === "" || rest.charAt(0) === "?")
        return ""
    var parts = rest.split("?")
    var query = parts.length > 1 ? parts.slice(1).join("?").split("&").filter(function (pair) {
        return pair !== "" && pair.indexOf("access_token=") !== 0
    }) : []
    return graphRoot + "/" + parts[0] + (query.length > 0 ? "?" + query.join("&") : "")
}

// The tags of a post as a flat list of {offset, length, id, name, type}:
// keyed by offset or an array, each entry a tag or a list of tags.
function tagsOf(tags) {
    var found = []
    var take = function (tag, key) {
        if (Array.isArray(tag)) {
            tag.forEach(function (each) { take(each, key) })
            return
        }
        if (tag === null || typeof tag !== "object")
            return
        var offset = tag.offset !== undefined ? Number(tag.offset) : Number(key)
        found.push({ offset: offset, length: Number(tag.length), id: text(tag.id), name: text(tag.name),
                     type: text(tag.type), category: tag.category })
    }
    if (Array.isArray(tags))
        tags.forEach(function (tag) { take(tag) })
    else if (tags !== null && typeof tags === "object")
        Object.keys(tags).forEach(function (key) { take(tags[key], key) })
    return found
}

// A message tag is named after the addressee with its id, else after itself;
// a person's category is written "undefined", as the views expect.
function messageTagTarget(tag, addressees) {
    for (var i = 0; i < addressees.length; ++i) {
        var to = addressees[i]
        if (to && text(to.id) === tag.id && tag.id !== "")
            return { name: text(to.name), id: tag.id, category: to.category ? text(to.category) : "undefined" }
    }
    var category = tag.category ? text(tag.category) : (tag.type === "page" ? "page" : "undefined")
    return { name: tag.name, id: tag.id, category: category }
}

// Story tags sharing an offset name all their people in place of an id.
function storyTagTarget(tag, all) {
    var same = all.filter(function (other) { return other.offset === tag.offset })
    if (same.length < 2)
        return { name: tag.name, id: tag.id, category: "" }
    return { name: tag.name, category: "",
             id: same.map(function (other) { return other.id + "_:_" + other.name + "_._" }).join("") }
}

// The message markup: the text with its tags as links, built from escaped
// pieces; tags outside the text or over an earlier tag are left out.
function messageMarkup(message, tags, target) {
    var all = tagsOf(tags).filter(function (tag) {
        return isFinite(tag.offset) && isFinite(tag.length) && tag.offset >= 0 && tag.length > 0
                && tag.offset + tag.length <= message.length
    }).sort(function (a, b) { return a.offset - b.offset })
    var out = "", from = 0
    all.forEach(function (tag) {
        if (tag.offset < from)
            return
        var link = target(tag, all)
        var href = ["TAG", encodeURIComponent(link.name), encodeURIComponent(link.id),
                    encodeURIComponent(link.category)].join("|")
        out += Text.linkedMarkup(message.substring(from, tag.offset), true)
                + "<a style='" + tagStyle + "' href=\"" + href + "\">"
                + Text.escapeMarkup(message.substr(tag.offset, tag.length)).replace(/\r?\n/g, "<br>") + "</a>"
        from = tag.offset + tag.length
    })
    return out + Text.linkedMarkup(message.substring(from), true)
}

function addresseeMarkup(name, context) {
    return " <img src='media/to_arrow.png' /> <a style='text-decoration:none;color:" + context.titleColor
            + "' href='b'>" + Text.escapeMarkup(name) + "</a>"
}

// The picture of a post; a proxied one ("...&src=<encoded URL>") as its source.
function pictureOfPost(post, context) {
    var picture = text(post.picture)
    var src = /[?&]src=([^&]*)/.exec(picture)
    if (src !== null && picture.indexOf("src=") > 0) {
        try {
            return decodeURIComponent(src[1])
        } catch (error) {
            return ""
        }
    }
    if (picture === "" && post.type === "photo" && post.object_id !== undefined)
        return pictureOf(text(post.object_id), context)
    return picture
}

// A Graph time, or Unix seconds as a number or a decimal text; "" for none.
function timeOf(value, context) {
    if (typeof value === "number" || /^\d+$/.test(text(value)))
        return Dates.prettyDate(Dates.parseDateFromNumber(Number(value)), context.translate, context.language)
    var date = value ? Dates.parseDate(value) : undefined
    return date ? Dates.prettyDate(date, context.translate, context.language) : ""
}

// One Graph story as a feed row; null for a story not shown.
function storyRow(post, context) {
    if (post === null || typeof post !== "object" || post.id === undefined || post.id === null)
        return null
    var application = post.application
    if (application && skippedApplications.indexOf(application.name) >= 0)
        return null
    var row = emptyRow()
    var from = post.from || {}
    var addressees = list(post.to && post.to.data)
    var first = addressees[0] || null
    row.id = row.status_id = text(post.id)
    row.to = json(post.to)
    row.fromID = text(from.id)
    row.fromName = text(from.name)
    row.fromCategory = text(from.category)
    if (row.fromID !== "")
        row.profileImageUrl = pictureOf(row.fromID, context)
    if (first) {
        row.toName = addresseeMarkup(first.name, context)
        row.toId = text(first.id)
        row.toRealName = text(first.name)
        row.toCategory = text(first.category)
    }
    var message = text(post.message) || text(post.story)
    if (message !== "") {
        row.message = post.message
                ? messageMarkup(message, post.message_tags, function (tag) { return messageTagTarget(tag, addressees) })
                : messageMarkup(message, post.story_tags, storyTagTarget)
    }
    row.story = text(post.story)
    row.name = text(post.name)
    row.icon = text(post.icon)
    row.link = text(post.link)
    row.source = text(post.source)
    row.picture = pictureOfPost(post, context)
    var description = text(post.description), caption = text(post.caption)
    var property = list(post.properties)[0]
    var propertyText = property ? text(property.name) + " " + text(property.text) : ""
    if (post.type === "photo" && !post.picture && property)
        description = propertyText
    if (post.type === "video" && caption === "" && property)
        caption = propertyText
    row.plainDescription = description
    row.description = Text.linkedMarkup(description)
    row.caption = Text.linkedMarkup(caption)
    var withNames = post.type === "checkin" ? addressees.map(function (to) { return text(to && to.name) }) : []
    var withText = withNames.length > 0 ? row.fromName + " with " + withNames.join(", ") : ""
    row.withtext = "<span>" + Text.escapeMarkup(withText) + "</span>"
    row.created_time = timeOf(post.created_time, context)
    row.likes = count(post.likes)
    row.comments = count(post.comments)
    row.discussion = json(post.comments)
    row.discussion_count = list(post.comments && post.comments.data).length
    row.actions = json(post.actions)
    row.type = text(post.type)
    row.object_id = text(post.object_id)
    row.place = json(post.place)
    row.application = json(application)
    row.applicationId = text(application && application.id)
    if (row.message === "" && description === "" && caption === "" && row.name === "")
        return null
    return row
}

// A Graph feed answer (already read) as rows: each story once, skipping ids
// in `known` (the ids the list shows already), then a "Load more" row for a
// usable next page that brought something new. A story that cannot be read
// is left out; the rest still show.
function feedRows(answer, context, known) {
    var stories = list(answer.data)
    if (stories.length === 0)
        return { rows: [noDataRow(), emptyRow()], added: 0 }
    var seen = {}
    ;(known || []).forEach(function (id) { seen[id] = true })
    var rows = []
    stories.forEach(function (post) {
        var row = null
        try {
            row = storyRow(post, context)
        } catch (error) {
            row = null
        }
        if (row === null || seen[row.id])
            return
        seen[row.id] = true
        rows.push(row)
    })
    // A first page of nothing showable reads as empty; a next page of nothing
    // new ends the paging.
    if (rows.length === 0 && (known || []).length === 0)
        return { rows: [noDataRow(), emptyRow()], added: 0 }
    var next = usableNext(answer.paging, context.graphRoot)
    if (next !== "" && rows.length > 0)
        rows.push(loadMoreRow(next, context))
    return { rows: rows, added: rows.length }
}

// A Graph feed: its rows, or a failure when it is no feed at all.
function parseFeed(response, context, known) {
    var answer = Answer.object(response)
    if (answer.failure !== undefined)
        return answer
    if (answer.data === undefined || answer.data === null || typeof answer.data !== "object")
        return Answer.failure("no data")
    return feedRows(answer, context, known)
}

// The home feed: an empty one is a single "No data found..." row.
function parseHomeFeed(response, context) {
    var parsed = parseFeed(response, context, [])
    if (parsed.failure === undefined && parsed.added === 0)
        parsed.rows = [noDataRow()]
    return parsed
}

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
    var last = model.count - 1
    if (last >= 0 && model.get(last).type === "next")
        model.remove(last)
    if (parsed.added > 0)
        parsed.rows.forEach(function (row) { model.append(row) })
    session.hideWaiting()
}

function get(session, label, url, handle) {
    session.showWaiting(label)
    Request.send(session, "GET", url, function (response) {
        session.showWaiting("Processing")
        try {
            handle(response)
        } finally {
            session.hideWaiting()
        }
    })
}

// --- The home feed ------------------------------------------------------------

function loadHomeFeed(session) {
    get(session, "Loading feed", Request.graphRoot() + "/me/home?" + session.accessToken, function (response) {
        applyRows(session, session.mainWindow.newsModel, parseHomeFeed(response, contextOf(session)), "home feed")
    })
}

// --- Event and group walls ------------------------------------------------------

// An event's or group's wall, filled afresh once a usable answer came.
function loadWall(session, modelName, id) {
    var owner = graphId(id)
    if (owner === "")
        return
    get(session, "Loading feed...", Request.graphRoot() + "/" + owner + "/feed?" + session.accessToken,
        function (response) {
            applyRows(session, session.mainWindow[modelName], parseFeed(response, contextOf(session), []),
                      modelName)
        })
}

function loadEventFeed(session, id) { loadWall(session, "eventFeedModel", id) }
function loadGroupFeed(session, id) { loadWall(session, "groupFeedModel", id) }

// --- Next pages ---------------------------------------------------------------

// The "Load more" row's URL, sent with the session's token only.
function nextUrl(session, url) {
    var bare = usableNext({ next: String(url) }, Request.graphRoot())
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
        applyNext(session, model, parseFeed(response, contextOf(session), idsOf(model)), modelName + " next page")
    })
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
    var rows = Array.isArray(answer) ? answer : list(answer && answer.data)
    var cover = rows[0] && rows[0].pic_cover
    if (cover === null || typeof cover !== "object")
        return { cover: "", coverOffset: 0 }
    var offset = Number(cover.offset_y)
    return { cover: text(cover.source), coverOffset: isFinite(offset) ? offset : 0 }
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
    var parsed = parseFeed(feed, context, [])
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
            applyWall(session, session.mainWindow.wallModel, parseWallFeed(response, contextOf(session)), "user wall")
        })
}

function loadPage(session, id) {
    var page = graphId(id)
    if (page === "")
        return
    get(session, "Loading page feed", batchUrl(session, page, "SELECT pic_cover from page where page_id = " + page),
        function (response) {
            applyWall(session, session.mainWindow.pageModel, parseWallFeed(response, contextOf(session)), "page wall")
        })
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
            named[text(set.name)] = list(set.fql_result_set)
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
    list(sets.lists).forEach(function (row) {
        if (row && row.flid !== undefined)
            lists[text(row.flid)] = text(row.name)
    })
    var rows = []
    sets.filters.forEach(function (filter) {
        if (filter === null || typeof filter !== "object")
            return
        var key = text(filter.filter_key)
        var name = text(filter.name) || lists[key.replace(/^fl_/, "")] || ""
        if (name !== "")
            rows.push({ name: name, type: text(filter.type), key: key, icon: text(filter.icon_url) })
    })
    var friendLists = function (row) { return row.type === "friendlist" }
    return { rows: rows.filter(function (row) { return !friendLists(row) }).concat(rows.filter(friendLists)) }
}

function loadFilters(session) {
    var queries = { filters: "SELECT filter_key,icon_url,name,type FROM stream_filter WHERE uid=me()",
                    lists: "SELECT flid, owner, name FROM friendlist WHERE owner=me()" }
    get(session, "Loading filters", multiqueryUrl(session, queries), function (response) {
        applyRows(session, session.mainWindow.filterModel, parseFilters(response), "filters")
    })
}

// One stream row of the filtered feed as a feed row.
function streamRow(post, names, context) {
    if (post === null || typeof post !== "object" || post.post_id === undefined || post.post_id === null)
        return null
    var row = emptyRow()
    var attachment = post.attachment && typeof post.attachment === "object" ? post.attachment : {}
    var media = list(attachment.media)[0] || {}
    row.id = row.status_id = text(post.post_id)
    row.fromID = text(post.actor_id)
    row.fromName = text(names[row.fromID])
    row.toId = text(post.target_id)
    if (row.toId !== "") {
        row.to = json({ data: [{ id: row.toId, name: text(names[row.toId]) }] })
        row.toName = addresseeMarkup(names[row.toId], context)
    }
    if (row.fromID !== "")
        row.profileImageUrl = pictureOf(row.fromID, context)
    var message = text(post.message), tags = post.message_tags
    if (message === "") {
        message = text(post.description)
        tags = post.description_tags
    } else if (!tags) {
        tags = post.description_tags
    }
    row.message = "<span>" + messageMarkup(message, tags, function (tag) {
        return { name: tag.name, id: tag.id, category: "" }
    }) + "</span>"
    row.plainDescription = text(attachment.description)
    row.description = Text.linkedMarkup(row.plainDescription)
    row.icon = text(attachment.icon)
    row.caption = Text.linkedMarkup(attachment.caption)
    row.name = text(attachment.name)
    row.link = text(attachment.href)
    row.picture = text(media.src)
    if (media.type === "video" && media.video)
        row.source = text(media.video.source_url)
    if (context.filterType === "photo" && post.app_data && post.app_data.images)
        row.object_id = text(String(post.app_data.images).replace(/[\[\]"]/g, "").split(",")[0]).trim()
    row.likes = count(post.likes)
    row.comments = count(post.comments)
    row.created_time = timeOf(post.created_time, context)
    row.type = context.filterType
    row.application = json({ id: "", name: text(post.attribution) })
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
        return { rows: [noDataRow(), emptyRow()] }
    var names = {}
    list(sets.query2).forEach(function (profile) {
        if (profile && profile.id !== undefined)
            names[text(profile.id)] = text(profile.name)
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
    return { rows: rows.length > 0 ? rows : [noDataRow(), emptyRow()] }
}

// The feed narrowed by a stream filter (or friend list) `key`; the filter's
// name is kept on the session as the feed's type ("Photos" as "photo").
function loadFilterHomeFeed(session, name, key, page) {
    session.filterType = name === "Photos" ? "photo" : text(name)
    var pageNumber = Math.max(0, parseInt(page, 10) || 0)
    var filterKey = text(key).replace(/['\\]/g, "")
    var first = "SELECT post_id, viewer_id, source_id, created_time, description, description_tags, filter_key, "
            + "attribution, actor_id, target_id, message, message_tags, app_data, action_links, attachment, "
            + "comments, likes, permalink, tagged_ids FROM stream WHERE filter_key in (SELECT filter_key FROM "
            + "stream_filter WHERE uid=me() AND filter_key='" + filterKey + "') AND is_hidden = 0 AND "
            + "created_time > 1262196000 LIMIT " + pageNumber * 50 + "," + (pageNumber + 1) * 50
    var queries = { first: first, query2: "SELECT id, name FROM profile WHERE id IN (SELECT actor_id FROM #first) "
                                          + "OR id IN (SELECT target_id FROM #first)" }
    get(session, "Loading feed", multiqueryUrl(session, queries), function (response) {
        applyRows(session, session.mainWindow.newsModel, parseFilteredFeed(response, contextOf(session)),
                  "filtered feed")
    })
}
