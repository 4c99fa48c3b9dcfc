// What the story views make of a feed row: the shown (and cut) message and
// description, the title line, the comment preview, the links a tap may
// follow and the ids the pictures are cached under. Pure functions: rows and
// texts in, texts and rows out.
.import "../../client/text.js" as Text

var linkColour = "#70aac3"
var voidTags = ["br", "img", "hr"]

// A structure the row keeps as JSON text; null for "" or text that is no JSON.
function parsed(text) {
    if (typeof text !== "string" || text === "")
        return null
    try {
        return JSON.parse(text)
    } catch (error) {
        return null
    }
}

function list(value) {
    return Array.isArray(value) ? value : []
}

function str(value) {
    return value === undefined || value === null ? "" : String(value)
}

// The markup's visible characters: tags count nothing, an entity one.
function visibleLength(markup) {
    return str(markup).replace(/<[^>]*>/g, "").replace(/&(#\d+|#x[0-9a-f]+|[a-z]+);/gi, "x").length
}

// The markup up to `limit` visible characters; no tag or entity is broken
// and the tags still open are closed.
function cutMarkup(markup, limit) {
    var text = str(markup)
    var out = "", shown = 0, open = [], at = 0
    while (at < text.length && shown < limit) {
        var c = text.charAt(at)
        if (c === "<") {
            var end = text.indexOf(">", at)
            if (end < 0)
                break
            var tag = text.substring(at, end + 1)
            var name = (/^<\/?\s*([a-z0-9]+)/i.exec(tag) || ["", ""])[1].toLowerCase()
            if (tag.charAt(1) === "/") {
                var i = open.lastIndexOf(name)
                if (i >= 0)
                    open.splice(i, 1)
            } else if (name !== "" && voidTags.indexOf(name) < 0 && tag.charAt(tag.length - 2) !== "/") {
                open.push(name)
            }
            out += tag
            at = end + 1
            continue
        }
        var entity = c === "&" ? /^&(#\d+|#x[0-9a-f]+|[a-z]+);/i.exec(text.substring(at)) : null
        var piece = entity ? entity[0] : c
        out += piece
        at += piece.length
        shown++
    }
    for (var k = open.length - 1; k >= 0; --k)
        out += "</" + open[k] + ">"
    return out
}

function readMore(label) {
    return "<br><small><span style='color:" + linkColour + "'>" + Text.escapeMarkup(label) + "</span></small>"
}

// A story's message as the list shows it: whole when shorter than 250
// visible characters or when it holds tag links (cutting could lose them;
// the words "TAG|" in the text itself are no link and cut like any other),
// otherwise its first 250 characters, "..." and `more` (the translated
// "Read more") on a line of its own.
function shownMessage(message, more) {
    var text = str(message)
    if (visibleLength(text) < 250 || text.indexOf("href=\"TAG|") >= 0)
        return text
    return cutMarkup(text, 250) + "..." + readMore(more)
}

// The description (markup of the plain text `plain`): whole up to 80
// characters, else its first 70, "..." and "Read more...".
function shownDescription(markup, plain, more) {
    if (str(plain).length <= 80)
        return str(markup)
    return cutMarkup(markup, 70) + "..." + readMore(str(more) + "...")
}

// A web address to open in the browser: http(s) as it is, a bare host or
// path with "http://" in front; "" for any other scheme.
function webLink(link) {
    var text = str(link).trim()
    if (text === "")
        return ""
    if (/^https?:\/\//i.test(text))
        return text
    if (/^[a-z][a-z0-9+.-]*:(?!\d)/i.test(text))
        return ""
    return "http://" + text
}

// The host of a root URL ("https://www.x.org" -> "www.x.org").
function hostOf(root) {
    return str(root).replace(/^[a-z]+:\/\//i, "").split("/")[0]
}

// The service's own event page: its id after "eid=" or from "/events/<id>";
// "" for any other link.
function eventIdOf(link, webRoot) {
    var text = str(link), host = hostOf(webRoot)
    var at = host === "" ? -1 : text.indexOf(host + "/event")
    if (at <= 0)
        return ""
    var found = /[?&]eid=(\d+)/.exec(text) || /\/events\/(\d+)/.exec(text.substring(at))
    return found ? found[1] : ""
}

// A photo's album id out of its link: after the first "=a." (else "=at.")
// up to the next "."; "" when there is none.
function albumIdOf(link) {
    var text = str(link)
    var marker = text.indexOf("=a.") >= 0 ? "=a." : (text.indexOf("=at.") >= 0 ? "=at." : "")
    if (marker === "")
        return ""
    var rest = text.substring(text.indexOf(marker) + marker.length)
    var dot = rest.indexOf(".")
    return dot < 0 ? "" : rest.substring(0, dot)
}

// A tag link "TAG|name|id|category" (fields percent-encoded) as
// {name, id, category}; null for any other link.
function tagTarget(href) {
    var parts = str(href).split("|")
    if (parts[0] !== "TAG" || parts.length < 4)
        return null
    try {
        return { name: decodeURIComponent(parts[1]), id: decodeURIComponent(parts[2]),
                 category: decodeURIComponent(parts[3]) }
    } catch (error) {
        return null
    }
}

// The people of a tag whose id lists them ("id_:_name_._..."), those with
// an id only.
function taggedPeople(ids) {
    return str(ids).split("_._").map(function (entry) {
        var pair = entry.split("_:_")
        return { id: pair[0], name: pair.slice(1).join("_:_") }
    }).filter(function (person) { return person.id !== "" })
}

// The cache id of a Graph picture URL under `graphRoot`: the object id
// before "/picture"; "" for any other URL.
function pictureCacheId(url, graphRoot) {
    var text = str(url), root = str(graphRoot)
    if (root === "" || text.indexOf(root + "/") !== 0)
        return ""
    var found = /^([A-Za-z0-9_.]+)\/picture(?:[?#]|$)/.exec(text.substring(root.length + 1))
    return found && found[1] !== "." && found[1] !== ".." ? found[1] : ""
}

// The row's kind as the story view shows it: a story text makes it "link"
// when it tells of a shared link, else "story".
function displayType(row) {
    var story = str(row.story)
    if (story === "")
        return str(row.type)
    return story.indexOf("shared a link") > 0 ? "link" : "story"
}

function addressees(row) {
    var to = parsed(row.to)
    return list(to && to.data)
}

// The title line: the check-in's "with" line, or the author (link "a") with
// the addressee's markup after it unless several are addressed or `alone`;
// the author in `colour`.
function titleMarkup(row, alone, colour) {
    var to = addressees(row)
    if (row.type === "checkin" && to.length > 0)
        return str(row.withtext)
    var author = "<a style='text-decoration:none;color:" + colour + "' href='a'>" + Text.escapeMarkup(row.fromName) + "</a>"
    // The addressee's link carries the colour of the theme it was read in
    // (a kept feed may come from the other theme): shown in today's.
    var addressee = str(row.toName).replace(/;color:[^;']*'/, ";color:" + colour + "'")
    return alone || to.length > 1 ? author : author + " " + addressee
}

// The single-story view's title as plain text.
function titlePlain(row) {
    var to = addressees(row)
    if (row.type === "checkin" && to.length > 0)
        return str(row.fromName) + " with " + to.map(function (p) { return str(p && p.name) }).join(", ")
    return str(row.fromName)
}

// The story's own comments as comment rows (plain text), oldest first.
function commentRows(row, pictureOf) {
    var discussion = parsed(row.discussion)
    return list(discussion && discussion.data).filter(function (c) {
        return c !== null && typeof c === "object"
    }).map(function (c) {
        var from = c.from && typeof c.from === "object" ? c.from : {}
        var likes = Number(c.likes && typeof c.likes === "object" ? c.likes.count : c.likes)
        var user = str(from.id)
        return { comment_id_number: str(c.id), user_id: user, like_count: isFinite(likes) ? likes : 0,
                 profileImage: user !== "" ? pictureOf(user) : "", fromName: str(from.name),
                 fromCategory: str(from.category), message: str(c.message), created_time: str(c.created_time) }
    })
}

// The list's comment preview: a header when only some comments came with
// the story ("" otherwise) and its last three comments.
function commentPreview(row, comments, label) {
    var header = row.comments > row.discussion_count && row.discussion_count > 0
            ? label + " (" + row.discussion_count + "/" + row.comments + ")" : ""
    return { header: header, rows: comments.slice(-3) }
}

var roles = ["id", "status_id", "to", "fromID", "fromName", "fromCategory", "toName", "toId", "toRealName",
             "toCategory", "message", "story", "profileImageUrl", "name", "icon", "link", "source",
             "plainDescription", "description", "caption", "withtext", "picture", "created_time", "likes",
             "likedBy", "comments", "discussion", "discussion_count", "actions", "type", "object_id", "place",
             "application", "applicationId", "next"]

// A feed row copied out of its list, so that a reload of the list leaves it.
function copyRow(item) {
    var row = {}
    roles.forEach(function (role) {
        var value = item ? item[role] : undefined
        row[role] = value === undefined || value === null ? (typeof value === "number" ? 0 : "") : value
    })
    row.likes = Number(row.likes) || 0
    row.comments = Number(row.comments) || 0
    row.discussion_count = Number(row.discussion_count) || 0
    return row
}

// Our markup as the plain text it shows.
function plainOf(markup) {
    return str(markup).replace(/<br\s*\/?>/gi, "\n").replace(/<[^>]*>/g, "").replace(/&lt;/g, "<")
        .replace(/&gt;/g, ">").replace(/&quot;/g, "\"").replace(/&#39;/g, "'").replace(/&hearts;/g, "<3")
        .replace(/&amp;/g, "&")
}
