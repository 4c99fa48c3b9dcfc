// One story list of the news feed family read into rows: the row every feed
// list shares (its roles and types are described in feed.js), the message
// built from escaped pieces with its tag links, the picture, the addressee,
// and the paging row for a usable next page. Pure functions: answer text or
// a story and a context in, rows out.
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
    row.icon = Text.webAddress(post.icon)
    row.link = text(post.link)
    row.source = Text.webAddress(post.source)
    row.picture = Text.webAddress(pictureOfPost(post, context))
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
