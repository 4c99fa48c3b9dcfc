import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/chat/chattext.js" as ChatText

// The bubble text: hostile messages stay literal, smileys never appear
// inside an address, only web addresses link.
TestCase {
    name: "ChatText"

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
}
