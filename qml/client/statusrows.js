// The status family's answers read into rows: the single story of the status
// view, comment rows, like rows with their letter index, the audience
// choices, a posting's answer and Read It Later's. Pure functions: answer
// text and a context (feedrows.js contextOf) in, rows and paging out, or
// Answer.failure.
//
// Comment rows: { comment_id_number, user_id, like_count (number),
// profileImage, fromName, fromCategory, message, created_time }, `message`
// plain text (the views escape and link it). Like rows: { id, name,
// alphabet, category, profileImageUrl }. A "Load more" row carries the next
// page's URL, without a token, in `user_id` (comments) or `id` (likes).
.import "answer.js" as Answer
.import "text.js" as Text
.import "feedrows.js" as Rows

// An id or path ("1_2", "1/feed", "me/links") with each segment
// percent-encoded; "" when it is empty or has an empty or dot segment.
function pathOf(id) {
    var segments = Rows.text(id).split("/")
    if (segments.some(function (segment) { return segment === "" || segment === "." || segment === ".." }))
        return ""
    return segments.map(encodeURIComponent).join("/")
}

// "name=value&..." with every value percent-encoded; empty values left out.
function queryOf(pairs) {
    return pairs.filter(function (pair) { return Rows.text(pair[1]) !== "" }).map(function (pair) {
        return pair[0] + "=" + encodeURIComponent(Rows.text(pair[1]))
    }).join("&")
}

// Comment and like lists show a "Load more" row only once they hold this many.
var pageSize = 25

function loadMoreText(context) {
    return context.translate("Load more") + "..."
}

// An object as it is; anything else as {}.
function object(value) {
    return value !== null && typeof value === "object" && !Array.isArray(value) ? value : {}
}

// The entries of a collection: an array as it is, else an object's "data".
function entries(value) {
    return Array.isArray(value) ? value : Rows.list(object(value).data)
}

function emptyComment() {
    return { comment_id_number: "", user_id: "", like_count: 0, profileImage: "", fromName: "", fromCategory: "",
             message: "", created_time: "" }
}

function loadMoreComment(next, context) {
    var row = emptyComment()
    row.message = loadMoreText(context)
    row.user_id = next
    return row
}

function isLoadMoreComment(row) {
    return row.comment_id_number === "" && row.created_time === "" && String(row.user_id).indexOf("://") > 0
}

function commentRow(comment, context) {
    var row = emptyComment()
    var from = object(comment.from)
    row.comment_id_number = Rows.text(comment.id)
    row.user_id = Rows.text(from.id)
    // A comment's likes: "like_count", or "likes" as a bare number.
    row.like_count = Rows.count(comment.like_count !== undefined ? comment.like_count : comment.likes)
    if (row.user_id !== "")
        row.profileImage = Rows.pictureOf(row.user_id, context)
    row.fromName = Rows.text(from.name)
    row.fromCategory = Rows.text(from.category)
    row.message = Rows.text(comment.message)
    row.created_time = Rows.text(comment.created_time)
    return row
}

// The rows of a comment collection; a "Load more" row for a usable next page
// once the list (`have` rows before these) holds at least `atLeast` rows.
function commentRows(collection, context, have, atLeast) {
    var rows = entries(collection).filter(function (comment) {
        return comment !== null && typeof comment === "object"
    }).map(function (comment) { return commentRow(comment, context) })
    var next = Rows.usableNext(object(collection).paging, context.graphRoot)
    if (next !== "" && have + rows.length >= atLeast)
        rows.push(loadMoreComment(next, context))
    return { rows: rows, next: next }
}

// An answer that is a collection (it has "data"), or a failure.
function collection(response, what) {
    var answer = Answer.object(response)
    return answer.failure === undefined && answer.data === undefined ? Answer.failure("no " + what) : answer
}

// The comments of the status view: a comment collection.
function parseStatusComments(response, context) {
    var answer = collection(response, "comments")
    return answer.failure !== undefined ? answer : commentRows(answer, context, 0, 0)
}

// The comment list: first the object with "name" and "comments", then next
// pages that are the collection itself. `response` is text or already read.
function parseComments(response, context, have) {
    var answer = Answer.object(typeof response === "string" ? response : JSON.stringify(response))
    if (answer.failure !== undefined)
        return answer
    var comments = answer.comments !== undefined ? answer.comments : answer
    // An object without comments has none yet; anything else is no answer.
    if (answer.comments === undefined && answer.data === undefined && answer.id === undefined)
        return Answer.failure("no comments")
    var parsed = commentRows(comments, context, have, pageSize)
    parsed.caption = Rows.text(answer.name)
    return parsed
}

function likeRow(like, context) {
    var id = Rows.text(like.id), name = Rows.text(like.name)
    return { id: id, name: name, alphabet: name.charAt(0).toUpperCase(), category: Rows.text(like.category),
             profileImageUrl: Rows.pictureOf(id, context) }
}

// A like list (`id` whose likes, "me" for the user's liked pages) sorted by
// name; "me" gets the letter index and never a "Load more" row.
function parseLikes(response, context, have, id) {
    var answer = collection(response, "likes")
    if (answer.failure !== undefined)
        return answer
    var rows = entries(answer).filter(function (like) {
        return like !== null && typeof like === "object" && Rows.text(like.id) !== ""
    }).map(function (like) { return likeRow(like, context) }).sort(Text.sortByName)
    var letters = []
    if (id === "me") {
        rows.forEach(function (row, i) {
            if (letters.length === 0 || letters[letters.length - 1].letter !== row.alphabet)
                letters.push({ letter: row.alphabet, index: have + i })
        })
    }
    var next = id === "me" ? "" : Rows.usableNext(answer.paging, context.graphRoot)
    if (next !== "" && have + rows.length >= pageSize)
        rows.push({ id: next, name: loadMoreText(context), alphabet: "", category: "", profileImageUrl: "" })
    return { rows: rows, letters: letters }
}

function isLoadMoreLike(row) {
    return row.profileImageUrl === "" && String(row.id).indexOf("://") > 0
}

// The comments of a story as the status view reads them: its "data" with a
// "Load more" entry for a usable next page; the service's paging links
// (which carry a token) are not kept.
function discussionOf(comments, context) {
    if (comments === null || typeof comments !== "object")
        return { json: "", count: 0 }
    var data = entries(comments).slice()
    var next = Rows.usableNext(object(comments).paging, context.graphRoot)
    if (next !== "") {
        var more = loadMoreComment(next, context)
        more.from = { name: "", id: next }
        more.id = ""
        data.push(more)
    }
    var kept = { data: data }
    if (object(comments).count !== undefined)
        kept.count = Rows.count(comments.count)
    return { json: JSON.stringify(kept), count: data.length }
}

// One story for the status view: a feed row whose message is the "message",
// else the "story", escaped and linked once; no tag markup.
function parseStatus(response, context) {
    var post = Answer.object(response)
    if (post.failure !== undefined)
        return post
    if (post.id === undefined || post.id === null || Rows.text(post.id) === "")
        return Answer.failure("no status")
    var row = Rows.emptyRow()
    var from = object(post.from)
    var first = object(entries(post.to)[0])
    row.id = row.status_id = Rows.text(post.id)
    row.to = Rows.json(post.to)
    row.fromID = Rows.text(from.id)
    row.fromName = Rows.text(from.name)
    row.fromCategory = Rows.text(from.category)
    if (row.fromID !== "")
        row.profileImageUrl = Rows.pictureOf(row.fromID, context)
    if (first.name !== undefined)
        row.toName = " <img src='media/to_arrow.png' /> &nbsp;" + Text.escapeMarkup(first.name)
    row.message = Text.linkedMarkup(Rows.text(post.message) || Rows.text(post.story), true)
    row.name = Rows.text(post.name)
    row.icon = Text.webAddress(post.icon)
    row.link = Rows.text(post.link)
    row.picture = Text.webAddress(post.picture)
    row.description = Text.linkedMarkup(post.description)
    row.caption = Text.linkedMarkup(post.caption)
    row.created_time = Rows.timeOf(post.created_time !== undefined ? post.created_time : post.updated_time, context)
    row.likes = Rows.count(post.likes)
    row.comments = Rows.count(post.comments)
    var discussion = discussionOf(post.comments, context)
    row.discussion = discussion.json
    row.discussion_count = discussion.count
    row.actions = Rows.json(post.actions)
    row.type = Rows.text(post.type) || "status"
    row.object_id = Rows.text(post.object_id)
    row.place = Rows.json(post.place)
    return { rows: [row] }
}

// The audience choices: the default, all friends, friends of friends, then
// the user's friend lists.
function parsePrivacyOptions(response, translate) {
    var answer = collection(response, "friend lists")
    if (answer.failure !== undefined)
        return answer
    var rows = [{ name: translate("Default"), privacy_id: "" },
                { name: translate("All friends"), privacy_id: "ALL_FRIENDS" },
                { name: translate("Friends of friends"), privacy_id: "FRIENDS_OF_FRIENDS" }]
    entries(answer).forEach(function (list) {
        if (list !== null && typeof list === "object" && Rows.text(list.id) !== "")
            rows.push({ name: translate(Rows.text(list.name)), privacy_id: Rows.text(list.id) })
    })
    return { rows: rows }
}

// A posting's answer: taken only when it says so (true, {"success": true} or
// an object with an "id"); the failure names the service's reason.
function parsePosting(response) {
    var answer = Answer.parseJson(response)
    if (answer === true)
        return { id: "" }
    var read = Answer.object(response)
    if (read.failure !== undefined)
        return read
    if (read.success === true || (read.id !== undefined && read.id !== null && Rows.text(read.id) !== ""))
        return { id: Rows.text(read.id) }
    return Answer.failure("the service did not take it")
}

// Read It Later's answer: only "200 OK" is success.
function parseRIL(response) {
    return String(response).trim() === "200 OK" ? { saved: true }
                                                : Answer.failure("Uploading to RIL failed. Please try again.")
}

// The address of a shared picture: a proxy's address holding "url=" gives
// the decoded part after the first "url="; any other is kept as it is.
function sharedPicture(picture) {
    var raw = Rows.text(picture), decoded = raw
    try {
        decoded = decodeURIComponent(raw)
    } catch (error) {
        decoded = raw
    }
    var at = decoded.indexOf("url=")
    return at < 0 ? raw : decoded.substring(at + 4)
}
