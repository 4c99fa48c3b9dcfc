import QtQuick 2.15
import QtTest 1.2
import Kelvo 1.0
import "../../qml/storage.js" as Storage
import "../../qml/components/common"
import "../../qml/components/feed"
import "../../qml/navigation"

// The comment row, the likes row, the favourite pages and the comment
// dialog with the navigation that opens it and posts its text.
Item {
    id: scene
    width: 480
    height: 854

    readonly property var signalHandler: window.navigation
    FakeWindow { id: window }
    TranslationHelper { id: translator }

    CommentView { id: commentRow; width: 480 }
    LikeRow { id: likeRow; width: 480; y: 400 }
    Favourites { id: favourites }
    CommentDialog { id: dialog; anchors.fill: parent }

    // Navigation's feed handlers on a hub of their own, posting through a
    // router that only records.
    SignalHandler { id: hub }
    QtObject {
        id: router
        property var performed: []
        function perform(action, args) { performed.push([action].concat(args).join("|")) }
    }
    QtObject {
        id: handlerWindow
        property var signalHandler: hub
        property var commentDialog: dialog
        property var likesList: ({ content: null })
    }
    FeedHandlers { window: handlerWindow; router: router }

    // Shows markup as a rich text item does and gives back what is read.
    TextEdit { id: render; visible: false; textFormat: TextEdit.RichText }

    TestCase {
        name: "CommentViews"
        when: windowShown

        function init() {
            window.reset()
            router.performed = []
            Object.assign(commentRow, { userId: "2002", name: "Ann", comment: "hi", created: "", comment_id: "c1",
                                        likes: 0, status: false, flipped: false, deleted: false })
            Object.assign(likeRow, { rowId: "1001", name: "Mira", entityId: "story9", deleted: false })
            dialog.cancel()
            deleteSpy.clear()
        }

        // Turns the row over and waits until its back faces the user.
        function turnOver() {
            mouseClick(commentRow)
            tryCompare(commentRow, "turnAngle", 180)
        }

        function shown(markup) {
            render.text = markup
            return render.getText(0, render.length)
        }

        // Service text is shown as written; "<3" is a heart; a web address
        // is one link whose text is the address.
        function test_commentText_data() {
            return [
                { tag: "tag", text: "<b>bold</b> <a href='x'>y</a>", links: 0 },
                { tag: "quotes", text: "say \"hi\" & 'bye'", links: 0 },
                { tag: "entity", text: "&amp; stays &lt;", links: 0 },
                { tag: "heart", text: "I <3 it", expected: "I \u2665 it", links: 0 },
                { tag: "link", text: "see http://example.org/a?b=1&c='2' now", links: 1 },
                { tag: "bare host", text: "www.example.org/x", links: 1 }
            ]
        }

        function test_commentText(data) {
            commentRow.comment = data.text
            compare(shown(commentRow.markup), data.expected || data.text)
            compare(commentRow.markup.split("<a ").length - 1, data.links)
        }

        function test_dateLine_data() {
            return [
                { tag: "without T", created: "2011-08-31 22:39", empty: true },
                { tag: "empty", created: "", empty: true },
                { tag: "service time", created: "2011-08-31T22:39:01+0000", empty: false }
            ]
        }

        function test_dateLine(data) {
            commentRow.created = data.created
            compare(findChild(commentRow, "dateLine").text === "", data.empty)
        }

        // The back offers delete on the user's own comments only.
        function test_deleteOffered_data() {
            return [{ tag: "own", userId: "1001", offered: true }, { tag: "other", userId: "2002", offered: false }]
        }

        function test_deleteOffered(data) {
            commentRow.userId = data.userId
            turnOver()
            compare(findChild(commentRow, "deleteButton").visible, data.offered)
        }

        // A deleted row hides at once and comes back when the service
        // refuses that deletion, not another.
        function test_refusedDeletion_data() {
            return [
                { tag: "comment", row: commentRow, button: "deleteButton", kind: "delete", target: "c1",
                  call: "deleteItem(c1)" },
                { tag: "like", row: likeRow, button: "deleteIcon", kind: "deleteLike", target: "story9" }
            ]
        }

        function test_refusedDeletion(data) {
            commentRow.userId = window.ownId
            if (data.row === commentRow)
                turnOver()
            mouseClick(findChild(data.row, data.button))
            verify(!data.row.visible)
            compare(data.call ? window.calls : deleteSpy.count, data.call ? [data.call] : 1)
            window.clientSession.postingFailed(data.kind, "other", "")
            verify(!data.row.visible)
            window.clientSession.postingFailed(data.kind, data.target, "")
            verify(data.row.visible)
        }

        // The "Load more" row asks for the next comments of its list.
        function test_loadMore_data() {
            return [
                { tag: "status", status: true, name: "", call: "loadMoreStatusComments(next)" },
                { tag: "photo", status: false, name: "photo", call: "loadMorePhotoComments(next)" },
                { tag: "comments", status: false, name: "", call: "loadMoreComments(next)" }
            ]
        }

        function test_loadMore(data) {
            Object.assign(commentRow, { comment: "Load more...", userId: "next", status: data.status, name: data.name })
            mouseClick(findChild(commentRow, "loadMoreButton"))
            compare(window.calls, [data.call])
        }

        function seed() {
            return ServiceConfig.productPageId + "_*_" + ServiceConfig.productPageName
        }

        function stored() {
            var value = null
            Storage.getKeyValue("topPages", function (key, text) { value = text })
            return value
        }

        // Nothing stored: the product's page, stored at once; removing the
        // only one leaves nothing, and the next opening seeds again.
        function test_favouritesSeeded() {
            verify(ServiceConfig.productPageId !== "")
            Storage.setKeyValue("topPages", "")
            favourites.reset()
            compare(stored(), seed())
            compare(favourites.topModel.get(0).id, ServiceConfig.productPageId)
            favourites.removeUser(0)
            compare(stored(), "")
            compare(favourites.topModel.count, 0)
            favourites.reset()
            compare(stored(), seed())
        }

        // Names are stored without their first apostrophe and without
        // anything that reads as a separator; they read back as stored.
        function test_favouriteNames_data() {
            return [
                { tag: "one apostrophe", name: "Bob's", stored: "Bobs" },
                { tag: "two apostrophes", name: "Bob's Mom's", stored: "Bobs Mom's" },
                { tag: "separators", name: "A_*_B_:_C", stored: "ABC" },
                { tag: "formed separators", name: ":_x__:", stored: "_x__" },
                { tag: "nested", name: "a__*_*__b", stored: "a_b" }
            ]
        }

        function test_favouriteNames(data) {
            Storage.setKeyValue("topPages", "")
            favourites.reset()
            favourites.addUser("77", data.name)
            compare(stored(), seed() + "_:_77_*_" + data.stored)
            favourites.reset()
            compare(favourites.topModel.count, 2)
            compare(favourites.topModel.get(1).name, data.stored)
            verify(favourites.isFavourite("77"))
            verify(!favourites.isFavourite("7"))
        }

        // Asked while open, the wall post dialog closes; each opening says
        // where the text goes.
        function test_dialogOpening() {
            hub.showComment("42", "Ann")
            compare([dialog.state, dialog.url, dialog.isLink], ["shown", "42/feed", false])
            hub.showComment("42", "Ann")
            compare(dialog.state, "hidden")
            hub.shareLink("http://example.org", "pic", "Example", "cap", "desc")
            compare([dialog.state, dialog.url, dialog.isLink, dialog.name, dialog.link], ["shown", "me/links", true, "Link",
                                                                                           "http://example.org"])
            hub.showIdComment("c5", "Ann")
            compare([dialog.state, dialog.url, dialog.isLink], ["shown", "c5", false])
        }

        // The text goes out and stays until the service answers: a refusal
        // reopens the dialog with it (and the link), a success empties it.
        function test_dialogPosting_data() {
            return [
                { tag: "comment refused", open: function () { hub.showIdComment("c5", "Ann") }, kind: "comment",
                  url: "c5", failed: true, posted: "comment|Hello|c5" },
                { tag: "comment taken", open: function () { hub.showComment("42", "Ann") }, kind: "comment",
                  url: "42/feed", failed: false, posted: "comment|Hello|42/feed" },
                { tag: "link refused", open: function () { hub.shareLink("http://a.org", "p", "A", "c", "d") },
                  kind: "link", url: "me/links", failed: true, posted: "shareLink|Hello|me/links|http://a.org|A|d|p|c" }
            ]
        }

        function test_dialogPosting(data) {
            data.open()
            dialog.statusText = "Hello"
            tryCompare(findChild(dialog, "dialogPanel"), "y", 0)
            mouseClick(findChild(dialog, "sendButton"))
            compare(router.performed, [data.posted])
            compare(dialog.state, "hidden")
            compare(dialog.isLink, false)
            if (data.failed)
                window.clientSession.postingFailed(data.kind, data.url, "Hello")
            else
                window.clientSession.postingSucceeded(data.kind, data.url)
            compare(dialog.state, data.failed ? "shown" : "hidden")
            compare(dialog.statusText, data.failed ? "Hello" : "")
            compare(dialog.isLink, data.kind === "link")
            compare(dialog.url, data.url)
        }

        // Refused while the user writes another text: it comes back once
        // that one is sent.
        function test_refusedWhileWriting() {
            hub.showIdComment("c5", "Ann")
            dialog.statusText = "First"
            dialog.send()
            hub.showComment("42", "Ann")
            dialog.statusText = "Second"
            window.clientSession.postingFailed("comment", "c5", "First")
            compare([dialog.statusText, dialog.url], ["Second", "42/feed"])
            dialog.send()
            compare([dialog.state, dialog.statusText, dialog.url], ["shown", "First", "c5"])
        }
    }

    SignalSpy { id: deleteSpy; target: likeRow; signalName: "deleteClicked" }
}
