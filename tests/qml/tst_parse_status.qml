import QtQuick 2.15
import QtTest 1.2
import "../../qml/client/feedrows.js" as Rows
import "../../qml/client/statusrows.js" as StatusRows

// The status family's parsers on recorded answers of every shape seen: the
// rows (each with every role, of one type), the "Load more" row and its URL,
// service text that stays text; then what a posting's answer, an id and a
// shared picture turn into.
TestCase {
    name: "ParseStatus"

    readonly property string root: "https://graph.facebook.com"
    readonly property var context: ({ graphRoot: root, token: "access_token=T", language: "en", filterType: "",
                                      titleColor: "#3b5998", translate: function (key) { return key } })
    readonly property var likeRole: ({ id: "", name: "", alphabet: "", category: "", profileImageUrl: "" })

    function recorded(file) {
        var request = new XMLHttpRequest()
        request.open("GET", Qt.resolvedUrl("../data/status/" + file), false)
        request.send()
        return request.responseText
    }

    // Every row has exactly the roles of `template`, each of the same type.
    function checkRows(rows, template) {
        var roles = Object.keys(template).sort()
        rows.forEach(function (row, i) {
            compare(Object.keys(row).sort(), roles, "roles of row " + i)
            roles.forEach(function (role) { compare(typeof row[role], typeof template[role], "row " + i + " " + role) })
        })
    }

    // rows: the rows besides a "Load more" row; next: that row's URL ("" for
    // none); text: role values of the first row.
    function test_parse_data() {
        var status = function (text) { return StatusRows.parseStatus(text, context) }
        var statusComments = function (text) { return StatusRows.parseStatusComments(text, context) }
        var comments = function (have) {
            return function (text) { return StatusRows.parseComments(text, context, have) }
        }
        var likes = function (id) { return function (text) { return StatusRows.parseLikes(text, context, 0, id) } }
        var commentsNext = root + "/493362252145458_473509534712769/ictgclqu?limit=52&offset=16"
                + "&__xqjko_ld=127654009853766_680111064247803_5058748"
        var cursorNext = root + "/728385005449466_0647572/ictgclqu?limit=60&after=DUC="
        return [
            { tag: "status with likes", file: "status_1_with_likes.json", parse: status, rows: 1, likes: 1,
              text: { id: "845799067730749", fromName: "Aeq Yufpte", type: "status", discussion: "" } },
            { tag: "story with markup, no message", file: "status_story_only.json", parse: status, rows: 1, likes: 3,
              text: { message: "Aeq &lt;b&gt;shared&lt;/b&gt; a link: <a style='color:#70aac3;text-decoration:none' "
                               + "href='http://x.example/?a=1&amp;b=2'>http://x.example/?a=1&amp;b=2</a>",
                      toName: " <img src='media/to_arrow.png' /> &nbsp;S &lt;i&gt;Ezfryk&lt;/i&gt;",
                      fromID: "620314074",
                      picture: "https://safe.example/p.php?w=90&url=http%3A%2F%2Fp.example%2Fa.jpg", story: "" },
              discussion: root + "/620314074_5506/comments?limit=25&offset=25", discussionCount: 2, comments: 7 },
            { tag: "bare status, numeric id, comments as []", file: "status_bare.json", parse: status, rows: 1,
              text: { id: "77", message: "", type: "status" }, discussionCount: 0 },
            { tag: "status comments, offset paging", file: "post_comments_1.json", parse: statusComments, rows: 25,
              next: commentsNext, text: { fromName: "Ysx Jbdbp", message: "Kdulll.", user_id: "5156044405" } },
            { tag: "status comments, 24 with paging", file: "comments_24_paging.json", parse: statusComments,
              rows: 24, next: commentsNext },
            { tag: "comment list, 25 with paging", file: "post_comments_1.json", parse: comments(0), rows: 25,
              next: commentsNext },
            { tag: "comment list, 24 with paging", file: "comments_24_paging.json", parse: comments(0), rows: 24 },
            { tag: "comment list next page, 24 after 1", file: "comments_24_paging.json", parse: comments(1),
              rows: 24, next: commentsNext },
            { tag: "comment list, cursor paging", file: "comment_replies_1_cursor_paging.json", parse: comments(0),
              rows: 25, next: cursorNext },
            { tag: "comment list, object with few, numbers, no author", file: "object_comments_few.json",
              parse: comments(0), rows: 2, caption: "Ann's <b>photo</b>",
              text: { comment_id_number: "9001", user_id: "620314074", fromCategory: "Band", like_count: 4,
                      message: "<3 look http://x.example/?a=1&b=2", created_time: "2013-03-19T15:00:41+0000" } },
            { tag: "comment list, comments as {}", file: "object_comments_empty_object.json", parse: comments(0),
              rows: 0, caption: "Empty" },
            { tag: "comment list, no comments yet", file: "object_without_comments.json", parse: comments(0), rows: 0 },
            { tag: "comment list next page, [] with paging", file: "comments_empty_array.json", parse: comments(30),
              rows: 0, next: root + "/1/comments?offset=25" },
            { tag: "likes", file: "post_likes_1.json", parse: likes("1_2"), rows: 3,
              text: { name: "Jyogt Yduczn", alphabet: "J", category: "" } },
            { tag: "likes, 25 with cursor paging over http", file: "likes_25_paging.json", parse: likes("1_2"),
              rows: 25, next: root + "/1_2/likes?limit=25&after=QVFI", text: { name: "Person 01", id: "700000024" } },
            { tag: "liked pages of me: letters, no Load more", file: "likes_me_pages.json", parse: likes("me"),
              rows: 27, letters: [["A", 0], ["B", 2], ["K", 4], ["Z", 24], ["Á", 26]],
              text: { name: "alpaca", alphabet: "A", category: "Musician/band" } },
            { tag: "likes as {}", file: "likes_empty_object.json", parse: likes("1_2"), rows: 0 },
            { tag: "status: error object", file: "error_permission_1.json", parse: status, failure: "service error: " },
            { tag: "comments: error object", file: "error_permission_1.json", parse: comments(0),
              failure: "service error: " },
            { tag: "likes: not JSON", file: "not_json.html", parse: likes("1"), failure: "not JSON" },
            { tag: "status comments: not JSON", file: "not_json.html", parse: statusComments, failure: "not JSON" }
        ]
    }

    function test_parse(data) {
        var parsed = data.parse(recorded(data.file))
        if (data.failure !== undefined) {
            verify(String(parsed.failure).indexOf(data.failure) === 0, parsed.failure)
            return
        }
        var first = parsed.rows[0] || {}
        checkRows(parsed.rows, first.status_id !== undefined ? Rows.emptyRow()
                                                             : first.alphabet !== undefined ? likeRole
                                                                                            : StatusRows.emptyComment())
        var last = parsed.rows[parsed.rows.length - 1] || {}
        var more = last.message === "Load more..." || last.name === "Load more..."
        compare(parsed.rows.length - (more ? 1 : 0), data.rows)
        compare(more ? (last.user_id || last.id) : "", data.next || "")
        for (var role in data.text)
            compare(parsed.rows[0][role], data.text[role], role)
        if (data.caption !== undefined)
            compare(parsed.caption, data.caption)
        if (data.letters !== undefined)
            compare(parsed.letters.map(function (l) { return [l.letter, l.index] }), data.letters)
        if (data.likes !== undefined)
            compare([parsed.rows[0].likes, parsed.rows[0].comments], [data.likes, data.comments || 0])
        if (data.discussionCount !== undefined) {
            compare(parsed.rows[0].discussion_count, data.discussionCount)
            var entries = parsed.rows[0].discussion === "" ? [] : JSON.parse(parsed.rows[0].discussion).data
            compare(entries.length, data.discussionCount)
            var tail = entries[entries.length - 1] || {}
            compare(tail.message === "Load more..." ? [tail.user_id, tail.from.id] : [],
                    data.discussion ? [data.discussion, data.discussion] : [])
            verify(parsed.rows[0].discussion.indexOf("SECRET") < 0, "no token kept")
        }
    }

    // A posting's answer: taken only when it says so.
    function test_postingAnswer_data() {
        return [
            { tag: "true", answer: "true", taken: true }, { tag: "false", answer: "false", taken: false },
            { tag: "success", answer: "{\"success\":true}", taken: true },
            { tag: "success false", answer: "{\"success\":false}", taken: false },
            { tag: "an id", answer: "{\"id\":\"1_2\"}", taken: true },
            { tag: "a numeric id", answer: "{\"id\":12}", taken: true },
            { tag: "empty id", answer: "{\"id\":\"\"}", taken: false },
            { tag: "error object", answer: recorded("error_permission_1.json"), taken: false },
            { tag: "not JSON", answer: recorded("not_json.html"), taken: false },
            { tag: "nothing", answer: "", taken: false }
        ]
    }

    function test_postingAnswer(data) {
        compare(StatusRows.parsePosting(data.answer).failure === undefined, data.taken)
    }

    // Ids into paths, the read-later answer, a shared picture's address.
    function test_requestPieces_data() {
        var path = StatusRows.pathOf, picture = StatusRows.sharedPicture, ril = function (text) {
            return StatusRows.parseRIL(text).failure || "saved"
        }
        var failed = "Uploading to RIL failed. Please try again."
        return [
            { tag: "plain id", f: path, in: "1_2", out: "1_2" },
            { tag: "wall", f: path, in: "42/feed", out: "42/feed" },
            { tag: "query and spaces in an id", f: path, in: "a b?x=1&y#", out: "a%20b%3Fx%3D1%26y%23" },
            { tag: "empty id", f: path, in: "", out: "" },
            { tag: "empty segment", f: path, in: "/feed", out: "" },
            { tag: "dot segment", f: path, in: "../oauth/access_token", out: "" },
            { tag: "read later saved", f: ril, in: "200 OK\n", out: "saved" },
            { tag: "read later refused", f: ril, in: "401 Unauthorized", out: failed },
            { tag: "read later error", f: ril, in: "error", out: failed },
            { tag: "proxied picture", f: picture, out: "http://p.example/a.jpg?x=1",
              in: "https://s.example/p.php?w=1&url=http%3A%2F%2Fp.example%2Fa.jpg%3Fx%3D1" },
            { tag: "plain picture kept", f: picture, in: "http://p.example/a%20b.jpg",
              out: "http://p.example/a%20b.jpg" },
            { tag: "broken encoding", f: picture, in: "http://p.example/%E0%A4%A.jpg",
              out: "http://p.example/%E0%A4%A.jpg" }
        ]
    }

    function test_requestPieces(data) {
        compare(data.f(data.in), data.out)
    }

    function test_privacyOptions() {
        var friendLists = JSON.stringify({ data: [{ id: 11, name: "Close Friends" }, { name: "no id" }] })
        compare(StatusRows.parsePrivacyOptions(friendLists, function (key) { return "~" + key }).rows,
                [{ name: "~Default", privacy_id: "" }, { name: "~All friends", privacy_id: "ALL_FRIENDS" },
                 { name: "~Friends of friends", privacy_id: "FRIENDS_OF_FRIENDS" },
                 { name: "~Close Friends", privacy_id: "11" }])
        compare(StatusRows.parsePrivacyOptions(recorded("not_json.html"), String).failure, "not JSON")
    }
}
