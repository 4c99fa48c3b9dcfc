import QtQuick 2.15
import QtTest 1.2
import Kelvo 1.0
import "../../qml/components/feed"
import "../../qml/navigation"
import "../../qml/client/feedrows.js" as Rows
import "../../qml/components/feed/richtext.js" as RichText

// The story list and the single-story view on rows the feed parser builds:
// what a row shows (cut, previewed, literal), what the story view makes of
// a row, and where its links lead. The translator brackets every key.
Item {
    id: scene
    width: 480
    height: 854

    FakeWindow {
        id: window
        property int mainFontSize: 18
        property color messageTextColor: "#111"
        property color descriptionTextColor: "#555"
        property color feedBg: "white"
        property color feedPressedBg: "#ddd"
        property color bgColor: "white"
        property bool profileImage: true
        property bool showComments: true
        property bool filter: false
        property string filterKey: ""
        property string token: "access_token=T"
        property string ownId: "7"
        property bool rememberRil: false
        property string rilUsername: ""
        property string rilPassword: ""
        property var done: ({ label: "", state: "" })
        property bool chatOn: true
        property bool chatConnected: false
        property var errorbanner: ({ text: "", show: function () {} })
        signal sendMsg(string to, string msg)
        property ListModel newsModel: ListModel {}
        property ListModel statusCommentsModel: ListModel {}
        property ListModel likesModel: ListModel {}
        property ListModel photosModel: ListModel {}
        property ListModel filterModel: ListModel {}
        property QtObject clientSession: QtObject {
            signal postingSucceeded(string kind, string target)
            signal postingFailed(string kind, string target, string text)
        }
        likesList: Item { property bool pages: true; property bool showFriends: true; state: "hidden" }
    }
    QtObject {
        id: translator
        function translate(word) { return "[" + word + "]" }
    }
    SignalHandler { id: signalHandler }

    StatusView { id: statusView; anchors.fill: parent; model: window.newsModel }
    NewsFeedList { id: feed; anchors.fill: parent }
    StoryLinks { id: links }
    PrivateMessageBox { id: messageBox; userId: "42"; open: true }
    // Reads rich text back as the text a person sees.
    TextEdit { id: reader; visible: false; textFormat: TextEdit.RichText }

    SignalSpy { id: openLinkSpy; target: window; signalName: "openLink" }
    SignalSpy { id: sendSpy; target: window; signalName: "sendMsg" }

    TestCase {
        name: "FeedViews"
        when: windowShown

        property var hub: []
        readonly property var context: ({ graphRoot: ServiceConfig.graphRoot, token: "access_token=T", language: "en",
                                          translate: function (key) { return key }, titleColor: "#000", filterType: "" })

        function initTestCase() {
            ["showStory", "loadStatusComments", "loadEvent", "showWall", "showPage", "deleteItem", "goBack"]
                .forEach(function (name) {
                    signalHandler[name].connect(function () {
                        hub.push([name].concat(Array.from(arguments)).join(","))
                    })
                })
        }

        function init() {
            window.newsModel.clear()
            window.likesModel.clear()
            window.profileImage = true
            hub = []
            openLinkSpy.clear()
            tryVerify(function () { return feed.listView.itemAtIndex(0) === null }, 1000, "the last row gone")
        }

        function repeat(text, n) { return new Array(n + 1).join(text) }

        function shown(markup) {
            reader.text = markup
            return reader.getText(0, reader.length)
        }

        // The story as the parser makes it a row, shown as the list's first row.
        function showStory(post) {
            var row = Rows.storyRow(Object.assign({ id: "1_2", from: { id: "9", name: "Ann" } }, post), context)
            window.newsModel.append(row)
            var item = null
            tryVerify(function () { return (item = feed.listView.itemAtIndex(0)) !== null })
            return item
        }

        function part(item, name) { return findChild(item, name) }

        function test_listRow_data() {
            var tagged = repeat("t", 300)
            return [
                { tag: "249 characters whole", post: { message: repeat("a", 249) }, child: "message",
                  text: repeat("a", 249) },
                { tag: "250 characters cut", post: { message: repeat("a", 250) }, child: "message",
                  text: repeat("a", 250) + "...\u2028[Read more]" },
                { tag: "entities kept whole", post: { message: repeat("&", 260) }, child: "message",
                  text: repeat("&", 250) + "...\u2028[Read more]" },
                { tag: "a long message with tags whole",
                  post: { message: tagged, message_tags: [{ id: "5", name: "t", offset: 10, length: 3 }] },
                  child: "message", text: tagged },
                { tag: "the words of a tag link cut", post: { message: "x TAG|" + repeat("t", 300) }, child: "message",
                  text: "x TAG|" + repeat("t", 244) + "...\u2028[Read more]" },
                { tag: "80 description whole", post: { description: repeat("d", 80) }, child: "description",
                  text: repeat("d", 80) },
                { tag: "81 description cut", post: { description: repeat("d", 81) }, child: "description",
                  text: repeat("d", 70) + "...\u2028[Read more]..." }
            ]
        }

        function test_listRow(data) {
            compare(shown(part(showStory(data.post), data.child).text), data.text)
        }

        function comments(n) {
            var list = []
            for (var i = 1; i <= n; ++i)
                list.push({ id: "c" + i, from: { id: String(i), name: "P" + i }, message: "m" + i })
            return list
        }

        function test_commentPreview_data() {
            return [
                { tag: "three of three", data: comments(3), count: 3, header: "", shown: ["m1", "m2", "m3"] },
                { tag: "five of twelve", data: comments(5), count: 12, header: "[Comments] (5/12)",
                  shown: ["m3", "m4", "m5"] }
            ]
        }

        function test_commentPreview(data) {
            var item = showStory({ message: "hi", comments: { data: data.data, count: data.count } })
            var header = part(item, "commentsHeader")
            compare(header.visible ? header.text : "", data.header)
            compare(part(item, "commentPreview").count, data.shown.length)
            compare(item.preview.rows.map(function (c) { return c.message }), data.shown)
        }

        function test_withoutProfilePictures() {
            window.profileImage = false
            var item = showStory({ message: "hi" })
            verify(!part(item, "authorPicture").visible)
            compare(part(item, "content").width, item.width - 2 * window.spacing)
        }

        // Service text, whatever it holds, is shown as it is and links nowhere.
        function test_hostileTextShownLiterally_data() {
            var hostile = "<b>x</b> \"q\" 'a' _START_x_END_ TAG|n|1|page javascript:alert(1) &amp;"
            return [
                { tag: "author", post: { from: { id: "9", name: hostile }, message: "m" }, child: "title", text: hostile },
                { tag: "message", post: { message: hostile }, child: "message", text: hostile },
                { tag: "link name", post: { message: "m", name: hostile, picture: "" }, child: "linkName", text: hostile },
                { tag: "caption", post: { message: "m", name: "n", caption: hostile }, child: "linkName", text: hostile },
                { tag: "description", post: { description: hostile }, child: "description", text: hostile },
                { tag: "via", post: { message: "m", application: { id: "5", name: hostile } }, child: "via",
                  text: "via " + hostile, list: true }
            ]
        }

        function test_hostileTextShownLiterally(data) {
            var item = showStory(data.post)
            var text = part(item, data.child).text
            verify(shown(text).indexOf(data.text) >= 0, "list: " + shown(text))
            verify(text.indexOf("href=\"javascript") < 0 && text.indexOf("href='javascript") < 0)
            if (data.list)
                return
            statusView.fill(0)
            var storyText = part(statusView, data.child).text
            verify(shown(storyText).indexOf(data.text) >= 0, "story view: " + shown(storyText))
        }

        // What the story view makes of a row.
        function test_storyView_data() {
            return [
                { tag: "shared a link", post: { message: "m", story: "Ann shared a link.", type: "status" },
                  type: "link" },
                { tag: "other story", post: { message: "m", story: "Ann is now friends with Bo." }, type: "story" },
                { tag: "video keeps its source", post: { message: "m", type: "video", source: "http://v/1" },
                  type: "video", source: "http://v/1" },
                { tag: "only a video has a source", post: { message: "m", type: "link", source: "http://v/1" },
                  type: "link", source: "" },
                { tag: "album a.", post: { message: "m", type: "photo", object_id: "55",
                                           link: "http://x/photo.php?fbid=55&set=a.123.456.789&type=1" },
                  type: "photo", album: "123" },
                { tag: "album at.", post: { message: "m", type: "photo", object_id: "55",
                                            link: "http://x/photo.php?fbid=55&set=at.321.9" },
                  type: "photo", album: "321" },
                { tag: "no album", post: { message: "m", type: "photo", object_id: "55",
                                           link: "http://x/photo.php?fbid=55" }, type: "photo", album: "" },
                { tag: "own post of this application", post: { message: "m", from: { id: "7", name: "Me" },
                                                               application: { id: ServiceConfig.appId, name: "K" } },
                  type: "", deletable: true },
                { tag: "own post of another application", post: { message: "m", from: { id: "7", name: "Me" },
                                                                  application: { id: "1", name: "K" } },
                  type: "", deletable: false },
                { tag: "another's post of this application", post: { message: "m",
                                                                     application: { id: ServiceConfig.appId, name: "K" } },
                  type: "", deletable: false },
                { tag: "comments fetched", post: { message: "m", comments: { data: comments(2), count: 9 } },
                  type: "", hub: ["loadStatusComments,1_2"], stored: 0 },
                { tag: "comments copied", post: { message: "m", comments: { data: comments(2), count: 2 } },
                  type: "", hub: [], stored: 2 }
            ]
        }

        function test_storyView(data) {
            showStory(data.post)
            statusView.fill(0)
            if (data.type !== "")
                compare(statusView.type, data.type)
            if (data.source !== undefined)
                compare(statusView.source, data.source)
            if (data.album !== undefined) {
                compare(statusView.album_id, data.album)
                compare(part(statusView, "viewAlbumButton").visible, data.album !== "")
            }
            if (data.deletable !== undefined)
                compare(part(statusView, "deleteIcon").visible, data.deletable)
            if (data.hub !== undefined) {
                compare(hub, data.hub)
                compare(window.statusCommentsModel.count, data.stored)
            }
        }

        // Copied comments have exactly the comment list's roles, as plain text.
        function test_copiedCommentRows() {
            showStory({ message: "m", comments: { data: [{ id: "c1", from: { id: "4", name: "<i>Bo</i>" },
                                                           message: "<b>hi</b>", likes: 3 }], count: 1 } })
            statusView.fill(0)
            var copied = window.statusCommentsModel.get(0)
            compare([copied.comment_id_number, copied.user_id, copied.like_count, copied.fromName, copied.message,
                     copied.fromCategory, copied.created_time],
                    ["c1", "4", 3, "<i>Bo</i>", "<b>hi</b>", "", ""])
            compare(copied.profileImage, ServiceConfig.graphRoot + "/4/picture?access_token=T")
        }

        // open: what the hub or the browser is asked for (null: nothing).
        function test_links_data() {
            var web = ServiceConfig.webRoot
            return [
                { tag: "web address", link: "https://example.org/a", browser: "https://example.org/a" },
                { tag: "bare host", link: "www.example.org", browser: "http://www.example.org" },
                { tag: "javascript", link: "javascript:alert('http')", browser: null },
                { tag: "file", link: "file:///etc/passwd", browser: null },
                { tag: "page tag", link: "TAG|Caf%C3%A9%7C|3|Shop", hub: ["showPage,3,Café|"] },
                { tag: "person tag", link: "TAG|Bo|4|undefined", hub: ["showWall,4,Bo"] },
                { tag: "people tag, trailing separator", link: "TAG|2%20others|1_%3A_Ann_._2_%3A_Bo_._|",
                  likes: ["1 Ann", "2 Bo"] },
                { tag: "event by eid", link: web + "/event.php?eid=77", event: true, hub: ["loadEvent,77"] },
                { tag: "event path", link: web + "/events/88/", event: true, hub: ["loadEvent,88"] },
                { tag: "another site's event", link: "http://other.test/events/88/", event: true,
                  browser: "http://other.test/events/88/" }
            ]
        }

        function test_links(data) {
            if (data.event) {
                showStory({ message: "m", type: "link", link: data.link })
                statusView.fill(0)
                statusView.openTarget()
            } else {
                links.follow(data.link, Rows.emptyRow())
            }
            compare(hub, data.hub || [])
            compare(openLinkSpy.count, data.browser ? 1 : 0)
            if (data.browser)
                compare(openLinkSpy.signalArguments[0][0], data.browser)
            var likes = []
            for (var i = 0; i < window.likesModel.count; ++i)
                likes.push(window.likesModel.get(i).id + " " + window.likesModel.get(i).name)
            compare(likes, data.likes || [])
        }

        // Only a Graph picture under the configured root is cached, by its object id.
        function test_pictureCacheIds_data() {
            var root = ServiceConfig.graphRoot
            return [
                { tag: "graph picture", url: root + "/123/picture?access_token=T", id: "123" },
                { tag: "bare", url: root + "/ann.b/picture", id: "ann.b" },
                { tag: "another host", url: "http://elsewhere.test/123/picture", id: "" },
                { tag: "root as a prefix", url: root + "evil.test/123/picture", id: "" },
                { tag: "a path", url: root + "/../x/picture", id: "" },
                { tag: "not a picture", url: root + "/123/photos", id: "" }
            ]
        }

        function test_pictureCacheIds(data) {
            compare(RichText.pictureCacheId(data.url, ServiceConfig.graphRoot), data.id)
        }

        // A private message goes to a connected chat only; otherwise the text stays.
        function test_privateMessage_data() {
            return [
                { tag: "chat off", on: false, connected: true, sent: [], kept: "hi" },
                { tag: "not connected", on: true, connected: false, sent: [], kept: "hi" },
                { tag: "connected", on: true, connected: true, sent: ["-42@" + ServiceConfig.chatDomain, "hi"],
                  kept: "" }
            ]
        }

        function test_privateMessage(data) {
            sendSpy.clear()
            window.errorbanner.text = ""
            Object.assign(window, { chatOn: data.on, chatConnected: data.connected })
            messageBox.text = "hi"
            messageBox.send()
            compare(sendSpy.count ? Array.from(sendSpy.signalArguments[0]) : [], data.sent)
            compare(messageBox.text, data.kept)
            compare(window.errorbanner.text !== "", data.kept !== "")
        }

        // A tapped row goes to the hub by the list's name; "Load more" too.
        function test_rowTapGoesToTheHub() {
            var item = showStory({ message: "hi" })
            mouseClick(item, item.width - 5, item.height - 5)
            compare(hub, ["showStory,newsModel,0"])
        }
    }
}
