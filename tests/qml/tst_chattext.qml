import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/chat"
import "../../qml/components/chat/chattext.js" as ChatText

// The bubble text: hostile messages stay literal, smileys never appear
// inside an address, only web addresses link and open; the bubbles mark
// messages not yet sent and not sent; each smiley of the panel shows and
// hands over a code the bubbles draw as that same picture.
Item {
    width: 480
    height: 854

    FakeWindow { id: window; property var nokiapure: null }
    Smileys { id: smileys; y: 600 }
    SignalSpy { id: added; target: smileys; signalName: "addSmiley" }
    QtObject {
        id: translator
        function translate(word) { return "[" + word + "]" }
    }
    SignalSpy { id: opened; target: window; signalName: "openLink" }
    Column {
        width: 420
        WhiteBubble { id: white; width: parent.width }
        DarkBubble { id: dark; width: parent.width }
    }

    TestCase {
        name: "ChatText"
        when: windowShown

        function img(name) { return "<img src=\"S/" + name + ".png\" width=\"24\" height=\"24\" align=\"middle\">" }
        function link(href, shown) {
            return "<a style='color:#70aac3;text-decoration:none' href='" + href + "'>" + (shown || href) + "</a>"
        }

        function test_markup_data() {
            return [
                { tag: "tags", input: "<b>bold</b><script>x()</script>",
                  markup: "&lt;b&gt;bold&lt;/b&gt;&lt;script&gt;x()&lt;/script&gt;" },
                { tag: "img", input: "<img src=\"http://evil.test/p.png\">",
                  markup: "&lt;img src=&quot;" + link("http://evil.test/p.png") + "&quot;&gt;" },
                { tag: "entities", input: "&lt;&amp; &#60; \"'", markup: "&amp;lt;&amp;amp; &amp;#60; &quot;&#39;" },
                { tag: "quote in link", input: "http://x.test/a'onmouseover='b \"c",
                  markup: link("http://x.test/a") + "&#39;onmouseover=&#39;b &quot;c" },
                { tag: "ampersand in link", input: "http://x.test/?a=1&b=2",
                  markup: link("http://x.test/?a=1&amp;b=2") },
                { tag: "smileys next to links", input: ":)http://a.test/x:) :/",
                  markup: img("Smile") + link("http://a.test/x") + img("Smile") + " " + img("Unsure") },
                { tag: "two addresses and a smiley", input: "http://a.test/ then http://b.test/p :)",
                  markup: link("http://a.test/") + " then " + link("http://b.test/p") + " " + img("Smile") },
                { tag: "https", input: "see https://s.test/:/x;)", markup: "see " + link("https://s.test/:/x") + img("Wink") },
                { tag: "www gets a scheme", input: "www.k.test/a", markup: link("http://www.k.test/a", "www.k.test/a") },
                { tag: "other schemes stay text", input: "file:///etc/passwd ftp://f.test/:/",
                  markup: "file:///etc/passwd ftp://f.test/:/" },
                { tag: "codes in table order", input: "O:-) 3:) :-\\ :'( <3 o.O 8) =D :]",
                  markup: img("Angel") + " " + img("Devil") + " " + img("Unsure") + " " + img("Crying") + " "
                          + img("Heart") + " " + img("Andy") + " " + img("Cool") + " " + img("Lol") + " " + img("Sideways") },
                { tag: "line breaks", input: "a\nb\r\n<c>", markup: "a<br>b<br>&lt;c&gt;" },
                { tag: "nothing", input: undefined, markup: "" },
                { tag: "link colour", input: "www.k.test", colour: "#fff",
                  markup: "<a style='color:#fff;text-decoration:none' href='http://www.k.test'>www.k.test</a>" }
            ]
        }

        function test_markup(data) {
            compare(ChatText.messageMarkup(data.input, "S/", data.colour), data.markup)
        }

        function test_bubbles_data() {
            return [
                { tag: "white", bubble: white, pending: false, failed: false, date: "19:20" },
                { tag: "dark pending", bubble: dark, pending: true, failed: false, date: "[Sending]  19:20" },
                { tag: "dark failed", bubble: dark, pending: true, failed: true, date: "[Not sent]  19:20" }
            ]
        }

        // Every link the bubble shows, and what a tap on it opens.
        function test_bubbles(data) {
            var bubble = data.bubble
            bubble.text = "file:///etc/x <a href='file:///y'>y</a> go www.k.test/a ftp://f.test"
            bubble.date = "19:20"
            bubble.pending = data.pending
            bubble.failed = data.failed
            compare(findChild(bubble, "dateText").text, data.date)
            var text = findChild(bubble, "messageText"), found = {}, at = null
            for (var y = 1; y < text.height; y += 4) {
                for (var x = 1; x < text.width; x += 4) {
                    var link = text.linkAt(x, y)
                    if (link !== "") {
                        found[link] = true
                        at = at || { x: x, y: y }
                    }
                }
            }
            compare(Object.keys(found), ["http://www.k.test/a"])
            opened.clear()
            mouseClick(text, at.x, at.y)
            compare(opened.count, 1)
            compare(opened.signalArguments[0][0], "http://www.k.test/a")
        }

        function test_smileyPanel() {
            var names = ["Smile", "Sad", "Crying", "Surprised", "Grin", "Tongue", "Wink", "Kissing", "Cool",
                         "Angel", "Devil", "Unsure", "Heart"]
            added.clear()
            names.forEach(function (name) {
                var cell = findChild(smileys, "smiley_" + name)
                tryCompare(cell.children[0], "status", Image.Ready)
                mouseClick(cell)
                compare(ChatText.messageMarkup(added.signalArguments[added.count - 1][0], "S/"), img(name))
            })
            compare(added.count, names.length)
        }
    }
}
