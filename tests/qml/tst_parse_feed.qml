import QtQuick 2.15
import QtTest 1.2
import "../../qml/client/feed.js" as Feed
import "../../qml/client/feedrows.js" as Rows

// The feed parsers on recorded answers of every shape seen (rows, their
// types, the paging row), and service text that must stay text in the rows.
TestCase {
    name: "ParseFeed"

    readonly property string root: "https://graph.facebook.com"
    readonly property var context: ({ graphRoot: root, token: "access_token=T", language: "en", filterType: "",
                                      titleColor: "#3b5998", translate: function (key) { return key } })
    readonly property var numbers: ["likes", "comments", "discussion_count"]

    // The recorded answer in tests/data/feed/.
    function recorded(file) {
        var request = new XMLHttpRequest()
        request.open("GET", Qt.resolvedUrl("../data/feed/" + file), false)
        request.send()
        return request.responseText
    }

    // Every row has every role of a feed row: numbers as numbers, the rest text.
    function checkRows(rows) {
        var roles = Object.keys(Rows.emptyRow()).sort()
        rows.forEach(function (row, i) {
            compare(Object.keys(row).sort(), roles, "roles of row " + i)
            roles.forEach(function (role) {
                compare(typeof row[role], numbers.indexOf(role) >= 0 ? "number" : "string", "row " + i + " " + role)
            })
        })
    }

    function stories(rows) {
        return rows.filter(function (row) { return row.id !== "" })
    }

    // next: the "Load more" row's URL ("" for none); rows: the messages of all rows.
    function test_feed_data() {
        var home = Feed.parseHomeFeed, feed = Feed.parseFeed, wall = Feed.parseWallFeed
        var shown = ["813661767_807902344930373", "531336490_702671702045158"]
        var wallNext = root + "/5118139/kwfk?limit=60&until=7763-31-35T93%1B02%1U94%5P8226"
        return [
            { tag: "home", file: "me_home_1.json", parse: home, stories: 25,
              next: root + "/620314074/tdik?limit=60&until=252908366" },
            { tag: "wall", file: "feed_1.json", parse: feed, stories: 19, next: wallNext },
            { tag: "numeric ids, array tags, counts only, cursors, no author or time, bad stories",
              file: "variants.json", parse: feed, stories: 4, next: root + "/620314074/feed?limit=25&after=QVFJ" },
            { tag: "empty list as {}", file: "empty_object.json", parse: home, stories: 0, rows: ["No data found..."] },
            { tag: "empty list as [] with paging", file: "empty_array.json", parse: home, stories: 0, rows: ["No data found..."] },
            { tag: "a question and a bare picture: nothing shown", file: "nothing_shown.json", parse: feed, stories: 0,
              rows: ["No data found...", ""] },
            { tag: "listed ids skipped, next on another host", file: "next_repeats.json", parse: feed, known: shown,
              stories: 1 },
            { tag: "nothing new: paging ends", file: "next_only_repeats.json", parse: feed, known: shown, stories: 0 },
            { tag: "next without a path", file: "paging_empty_path.json", parse: feed, stories: 1 },
            { tag: "next over http with two tokens", file: "paging_plain_http.json", parse: feed, stories: 1,
              next: root + "/me/home?until=4" },
            { tag: "wall batch with a cover", file: "wall_cover.json", parse: wall, stories: 19, next: wallNext,
              cover: "http://c/cover.jpg", coverOffset: 37 },
            { tag: "wall batch, cover a 302", file: "wall_no_cover.json", parse: wall, stories: 1, cover: "",
              coverOffset: 0 },
            { tag: "wall batch, feed element null", file: "wall_feed_failed.json", parse: wall,
              failure: "no feed in the batch" },
            { tag: "batch of no feed", file: "batch_1.json", parse: wall, failure: "no data" },
            { tag: "not JSON", file: "not_json.html", parse: home, failure: "not JSON" },
            { tag: "error object", file: "error_permission_1.json", parse: feed, failure: "service error: " }
        ]
    }

    function test_feed(data) {
        var parsed = data.parse(recorded(data.file), context, data.known || [])
        if (data.failure !== undefined) {
            verify(String(parsed.failure).indexOf(data.failure) === 0, parsed.failure)
            return
        }
        checkRows(parsed.rows)
        var found = stories(parsed.rows)
        compare(found.length, data.stories)
        compare(found.filter(function (row) { return (data.known || []).indexOf(row.id) >= 0 }), [])
        var ids = found.map(function (row) { return row.id })
        compare(ids.filter(function (id, i) { return ids.indexOf(id) !== i }), [], "each id once")
        var last = parsed.rows[parsed.rows.length - 1] || {}
        compare(last.type === "next" ? last.next : "", data.next || "")
        compare(last.type === "next" ? last.message : "Load more...", "Load more...")
        if (data.rows !== undefined)
            compare(parsed.rows.map(function (row) { return row.message }), data.rows)
        if (data.cover !== undefined)
            compare([parsed.cover, parsed.coverOffset], [data.cover, data.coverOffset])
    }

    // Service text in a story, and the markup its role gets.
    function test_textStaysText_data() {
        var link = function (href, text) {
            return "<a style='color:#70aac3;text-decoration:none' href=" + href + ">" + text + "</a>"
        }
        var tagged = "mmvshey status qtkdiku frah tagged jjkued. "
                + link("\"TAG|Kx%20Aeq|4030767764|undefined\"", "Kx Aeq")
        var ann = function (tags, to) { return { message: "Ann is here", message_tags: tags, to: { data: to || [] } } }
        return [
            { tag: "recorded tags by offset", post: JSON.parse(recorded("variants.json")).data[0], message: tagged },
            { tag: "recorded tags as an array, numeric ids", post: JSON.parse(recorded("variants.json")).data[4],
              message: tagged },
            { tag: "markup, ampersand, quotes", post: { message: "<b>x</b> & \"q\" 'a' <3" },
              message: "&lt;b&gt;x&lt;/b&gt; &amp; &quot;q&quot; &#39;a&#39; &hearts;" },
            { tag: "placeholders", post: { message: "_START_a href='x'_END_hi_START_/a_END_\nz" },
              message: "_START_a href=&#39;x&#39;_END_hi_START_/a_END_<br>z" },
            { tag: "our link form, javascript:", post: { message: "TAG|Ann|1|page javascript:alert(1)" },
              message: "TAG|Ann|1|page javascript:alert(1)" },
            { tag: "a web link with & and a quote", post: { message: "see http://x.com/?a=1&b='2'" },
              message: "see " + link("'http://x.com/?a=1&amp;b='", "http://x.com/?a=1&amp;b=") + "&#39;2&#39;" },
            { tag: "a quote in a tag name", post: ann([{ id: "1", name: "A\" onclick=\"x", offset: 0, length: 3 }]),
              message: link("\"TAG|A%22%20onclick%3D%22x|1|undefined\"", "Ann") + " is here" },
            { tag: "a tag named after its addressee by id",
              post: ann({ "0": [{ id: "1", name: "Ann", offset: 0, length: 3 }] },
                  [{ id: "2", name: "Bob" }, { id: "1", name: "Ann Real", category: "Band" }]),
              message: link("\"TAG|Ann%20Real|1|Band\"", "Ann") + " is here" },
            { tag: "tags overlapping or past the end", post: ann([{ id: "1", name: "A", offset: 0, length: 3 },
                  { id: "2", name: "B", offset: 1, length: 3 }, { id: "3", name: "C", offset: 8, length: 9 }]),
              message: link("\"TAG|A|1|undefined\"", "Ann") + " is here" },
            { tag: "addressee and check-in names",
              post: { type: "checkin", message: "m", to: { data: [{ id: "2", name: "<i>x</i>" }] } },
              toName: " <img src='media/to_arrow.png' /> "
                      + "<a style='text-decoration:none;color:#3b5998' href='b'>&lt;i&gt;x&lt;/i&gt;</a>",
              withtext: "<span>P &amp; Q with &lt;i&gt;x&lt;/i&gt;</span>" },
            { tag: "description and caption", post: { name: "n", description: "<img src=x>", caption: "\"c\"" },
              description: "&lt;img src=x&gt;", caption: "&quot;c&quot;" },
            { tag: "pictures from the web only",
              post: { message: "m", picture: "http://x/safe.php?w=1&src=file%3A%2F%2F%2Fetc%2Fpasswd", icon: "javascript:x()",
                      source: "file:///dev/zero" }, picture: "", icon: "", source: "" },
            { tag: "a proxied web picture", post: { message: "m", picture: "http://x/safe.php?src=https%3A%2F%2Fy%2Fp.jpg" },
              picture: "https://y/p.jpg" }
        ]
    }

    function test_textStaysText(data) {
        var post = JSON.parse(JSON.stringify(data.post))
        post.id = post.id || "1_1"
        post.from = post.from || { id: "1", name: "P & Q" }
        var rows = stories(Feed.parseFeed(JSON.stringify({ data: [post] }), context, []).rows)
        compare(rows.length, 1)
        ;["message", "toName", "withtext", "description", "caption", "picture", "icon", "source"].forEach(function (role) {
            if (data[role] !== undefined)
                compare(rows[0][role], data[role], role)
        })
    }

    function test_filters() {
        var filters = Feed.parseFilters(recorded("filters.json")).rows
        compare(filters.map(function (row) { return [row.name, row.type, row.key] }),
                [["News Feed", "newsfeed", "nf"], ["Photos", "application", "app_2305272732"],
                 ["Close Friends", "friendlist", "fl_7"]])
        var feed = Feed.parseFilteredFeed(recorded("filtered.json"), context).rows
        checkRows(feed)
        compare(feed.map(function (row) { return [row.id, row.fromName] }),
                [["7482747226_9110310298097", "Aeq Yufpte"], ["77", ""]])
        compare(feed[1].message, "<span>a &lt;b&gt;d&lt;/b&gt;</span>")
        compare(Feed.parseFilteredFeed(recorded("not_json.html"), context).failure, "not JSON")
    }
}
