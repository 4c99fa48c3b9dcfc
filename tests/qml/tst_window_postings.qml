import QtQuick 2.15
import QtTest 1.2

// Postings of the real window against the sandbox, read back from what the
// sandbox recorded: comments and wall posts, likes, deletion, statuses per
// audience, shared links and Read It Later. A refused posting shows no
// "Done", records nothing and gives back what the user wrote. And the lists
// the postings act on: filled from the sandbox, or left alone by an answer
// that came after the list was switched.
TestCase {
    id: testCase
    name: "WindowPostings"
    width: 480
    height: 854
    when: windowShown

    WindowHarness {
        id: harness
        testCase: testCase
    }

    SignalSpy {
        id: succeeded
        signalName: "postingSucceeded"
    }

    SignalSpy {
        id: failed
        signalName: "postingFailed"
    }

    property var w: null
    // Ids of the sandbox's world: the account, a friend, a story of another.
    property var world: null

    function init() {
        w = harness.signedIn()
        succeeded.target = failed.target = w.clientSession
        succeeded.clear()
        failed.clear()
        if (world)
            return
        var home = harness.call("GET", "/me/home?" + w.token).data
        world = { me: harness.call("GET", "/_sandbox/account").id,
                  friend: harness.call("GET", "/me/friends?" + w.token).data[0].id }
        // A story neither by the user nor on the user's wall: one the user may not delete.
        world.story = home.filter(function (story) {
            return story.from.id !== world.me && JSON.stringify(story.to || {}).indexOf(world.me) < 0
        })[0].id
        world.commented = home.filter(function (story) { return story.comments && story.comments.data })[0].id
    }

    function cleanup() {
        harness.close()
    }

    // "{story}" and "{friend}" in a text as the world's ids.
    function inWorld(text) {
        return String(text).replace("{story}", world.story).replace("{friend}", world.friend)
    }

    function posted(path) {
        return harness.call("GET", "/_sandbox/posted?path=" + encodeURIComponent(path)).data
    }

    // Runs `send`, waits for its one outcome and checks it against `data`
    // (ok, kind, target, text, error); the posting recorded at `path`, or
    // null when none was.
    function outcome(data, path, send) {
        var before = posted(path).length
        if (data.expire)
            harness.call("POST", "/_sandbox/expire_token?token=" + w.token.substring("access_token=".length))
        send()
        tryVerify(function () { return succeeded.count + failed.count > 0 }, 10000, "an outcome")
        var after = posted(path)
        compare([succeeded.count, failed.count], data.ok ? [1, 0] : [0, 1], "one outcome")
        if (data.ok) {
            compare(Array.from(succeeded.signalArguments[0]), [data.kind, inWorld(data.target)])
            verify(w.infobanner.shown, "Done")
            compare(w.errorbanner.text, "")
        } else {
            compare(Array.from(failed.signalArguments[0]), [data.kind, inWorld(data.target), data.text || ""])
            verify(!w.infobanner.shown, "no Done")
            compare(w.errorbanner.text, data.error)
        }
        compare(after.length - before, data.ok ? 1 : 0, "recorded")
        compare(w.waiting.state, "hidden")
        return data.ok ? after[after.length - 1] : null
    }

    // Comments, wall posts, likes and their removal.
    function test_commentAndLike_data() {
        var refused = "Error! Facebook API returned 400 Bad Request"
        return [
            { tag: "comment on a story", kind: "comment", target: "{story}", path: "/{story}/comments", ok: true,
              text: "Nice & <b>bold</b> #1 100% http://x.example/?a=1&b=2" },
            { tag: "post on a friend's wall", kind: "comment", target: "{friend}/feed", path: "/{friend}/feed",
              ok: true, text: "Hi + you?" },
            { tag: "like", kind: "like", target: "{story}", path: "/{story}/likes", ok: true },
            { tag: "unlike", kind: "deleteLike", target: "{story}", path: "/{story}/likes", method: "DELETE",
              ok: true },
            { tag: "comment on a wrong id", kind: "comment", target: "9_9", path: "/9_9/comments", text: "lost?",
              ok: false, error: refused },
            { tag: "like a wrong id", kind: "like", target: "9_9", path: "/9_9/likes", ok: false, error: refused },
            { tag: "comment with an expired token", kind: "comment", target: "{story}", path: "/{story}/comments",
              text: "kept", expire: true, ok: false, error: "Error! Session has timed out, you need to relogin" }
        ]
    }

    function test_commentAndLike(data) {
        var target = inWorld(data.target)
        var sent = outcome(data, inWorld(data.path), function () {
            if (data.kind === "comment")
                w.facebook.comment(data.text, target)
            else
                w.facebook[data.kind](target)
        })
        if (sent)
            compare([sent.method, sent.params.message], [data.method || "POST", data.text])
    }

    // A deleted story leaves the feed; one the user may not delete stays.
    function test_delete_data() {
        return [
            { tag: "own story", own: true, ok: true },
            { tag: "another's story", own: false, ok: false, error: "Error! Facebook API returned 400 Bad Request" }
        ]
    }

    function test_delete(data) {
        var id = data.own ? harness.call("POST", "/me/feed?message=gone&" + w.token).id : world.story
        w.signalHandler.showNews()
        var shows = function () {
            for (var i = 0; i < w.newsModel.count; ++i) {
                if (w.newsModel.get(i).id === id)
                    return true
            }
            return false
        }
        tryVerify(shows, 10000, "the story is in the feed")
        var count = w.newsModel.count
        data.kind = "delete"
        data.target = id
        var sent = outcome(data, "/" + id, function () { w.facebook.deleteItem(id) })
        compare(shows(), !data.ok)
        compare(w.newsModel.count, data.ok ? count - 1 : count)
        if (sent)
            compare(sent.method, "DELETE")
    }

    // The audience as the privacy dialog gives it reaches the service as
    // the same JSON object.
    function test_status_data() {
        return [
            { tag: "default", audience: "", privacy: undefined, ok: true },
            { tag: "all friends", audience: "ALL_FRIENDS", privacy: { value: "ALL_FRIENDS" }, ok: true },
            { tag: "friends of friends", audience: "FRIENDS_OF_FRIENDS", privacy: { value: "FRIENDS_OF_FRIENDS" },
              ok: true },
            { tag: "a friend list", audience: "7\"&#", ok: true,
              privacy: { value: "CUSTOM", friends: "SOME_FRIENDS", allow: "7\"&#" } },
            { tag: "an unreadable audience", privacyString: "{\"value\":", ok: false,
              error: "Error! The chosen audience cannot be read" }
        ]
    }

    function test_status(data) {
        w.privacyString = data.privacyString || w.privacyDialog.privacyValue(data.audience)
        data.kind = "status"
        data.target = "me/feed"
        data.text = "Status & more #" + data.tag
        var sent = outcome(data, "/me/feed", function () { w.facebook.shareStatus(data.text) })
        if (!sent)
            return
        compare(sent.params.message, data.text)
        compare(sent.params.privacy === undefined ? undefined : JSON.parse(sent.params.privacy), data.privacy)
    }

    // This branch's sandbox has no "me/links": the link goes to the own wall.
    function test_shareLink() {
        var picture = "https://safe.example/proxy.php?w=90&url="
                + encodeURIComponent("http://p.example/a b.jpg?x=1&y=2")
        var data = { kind: "link", target: "me/feed", text: "Look & see", ok: true }
        var sent = outcome(data, "/me/feed", function () {
            w.facebook.shareLink(data.text, "me/feed", "http://l.example/?q=1&r=#x", "A & B", "D'esc <i>", picture,
                                 "cap?")
        })
        compare([sent.params.message, sent.params.link, sent.params.name, sent.params.description, sent.params.caption,
                 sent.params.picture], [data.text, "http://l.example/?q=1&r=#x", "A & B", "D'esc <i>", "cap?",
                                        "http://p.example/a b.jpg?x=1&y=2"])
    }

    // A password holding "&" and "#" is sent whole: the account's password
    // followed by more is refused, not cut back to the right one.
    function test_readItLater_data() {
        return [
            { tag: "saved and remembered", password: "{p}", ok: true },
            { tag: "a password holding & and #", password: "{p}&password={p}#", ok: false,
              error: "Error! Uploading to RIL failed. Please try again." }
        ]
    }

    function test_readItLater(data) {
        var account = harness.call("GET", "/_sandbox/account")
        var password = data.password.replace(/\{p\}/g, account.password)
        var remembered = harness.stored("rilPassword")
        data.kind = "ril"
        data.target = "http://r.example/a?b=1&c=2#top"
        var sent = outcome(data, "/v2/add", function () {
            w.facebook.RIL(account.login, password, data.target, "Tom & Jerry #1", true)
        })
        compare(harness.stored("rilPassword"), data.ok ? password : remembered)
        if (!sent)
            return
        verify(w.rememberRil)
        compare([sent.params.url, sent.params.title], [data.target, "Tom & Jerry #1"])
    }

    // A list is loaded; with `switched` another load of it starts before the
    // answer comes, and the answer is dropped.
    function test_lists_data() {
        return [
            { tag: "status", loader: "loadStatus", model: "statusModel", rows: 1, switched: false },
            { tag: "status, switched", loader: "loadStatus", model: "statusModel", rows: 0, switched: true },
            { tag: "comments", loader: "loadComments", model: "commentsModel", switched: false },
            { tag: "comments, switched", loader: "loadComments", model: "commentsModel", rows: 0, switched: true },
            { tag: "liked pages", loader: "loadLikes", id: "me", model: "likesModel", switched: false },
            { tag: "liked pages, switched", loader: "loadLikes", id: "me", model: "likesModel", rows: 0,
              switched: true }
        ]
    }

    function test_lists(data) {
        w.facebook[data.loader](data.id || world.commented)
        if (data.switched)
            w.clientSession.beginList(data.model)
        tryCompare(w.waiting, "state", "hidden", 10000)
        var model = w[data.model]
        if (data.rows !== undefined)
            compare(model.count, data.rows)
        else
            verify(model.count > 0)
        compare(w.errorbanner.text, "")
        if (data.id === "me")
            compare(w.friendsLetterModel.count > 0, !data.switched)
    }
}
