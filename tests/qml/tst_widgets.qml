import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/common"

// The small shared widgets and the About page. The translator here wraps
// every key in brackets, so what went through it can be told from what did
// not.
Item {
    id: scene
    width: 480
    height: 854

    FakeWindow { id: window }
    QtObject {
        id: translator
        function translate(word) { return "[" + word + "]" }
    }

    Column {
        width: parent.width
        FButton { id: fbutton; width: 200; height: 50 }
        TextInsertSymbian { id: insert; width: 300; placeholderText: "What's on your mind?" }
    }

    DoneIndicator { id: done; label: "Error loading page" }
    About { id: about; anchors.fill: parent; z: 10; visible: false; productPageLink: "https://example.org/kelvo" }
    Component { id: aboutComponent; About { visible: false } }

    SignalSpy { id: vibrateSpy; target: window; signalName: "vibrate" }
    SignalSpy { id: openLinkSpy; target: window; signalName: "openLink" }
    SignalSpy { id: clickSpy; target: fbutton; signalName: "clicked" }

    TestCase {
        name: "Widgets"
        when: windowShown

        function init() {
            fbutton.buttonText = ""
            insert.text = ""
            insert.startHeight = 60
            insert.setFocus(false)
            about.visible = false
            vibrateSpy.clear()
            openLinkSpy.clear()
            clickSpy.clear()
        }

        // Two or more characters are translation keys; one is a shortcut.
        function test_translatedTexts_data() {
            return [
                { tag: "button word", text: "Share", shown: "[Share]" },
                { tag: "button two letters", text: "OK", shown: "[OK]" },
                { tag: "button one letter", text: "A", shown: "A" },
                { tag: "button empty", text: "", shown: "" },
                { tag: "field placeholder", item: insert, child: "placeholder", shown: "[What's on your mind?]" },
                { tag: "notice", item: done, child: "message", shown: "[Error loading page]" }
            ]
        }

        function test_translatedTexts(data) {
            fbutton.buttonText = data.text || ""
            compare(findChild(data.item || fbutton, data.child || "label").text, data.shown)
        }

        // A press and a release each give a vibration; the click comes once.
        function test_clickVibrates() {
            mouseClick(fbutton)
            compare(clickSpy.count, 1)
            compare(vibrateSpy.count, 2)
        }

        function test_insertReturnClosesKeyboardInsteadOfNewLine_data() {
            return [{ tag: "Return", key: Qt.Key_Return }, { tag: "Enter", key: Qt.Key_Enter }]
        }

        function test_insertReturnClosesKeyboardInsteadOfNewLine(data) {
            insert.setFocus(true)
            verify(insert.hasFocus)
            keyClick(Qt.Key_A)
            keyClick(Qt.Key_B)
            keyClick(data.key)
            compare(insert.text, "ab")
            verify(!insert.hasFocus)
            verify(!insert.settedFocus)
        }

        function test_insertGrowsButNotBelowStartHeight() {
            insert.startHeight = 100
            compare(insert.height, 100)
            insert.text = "1\n2\n3\n4\n5\n6\n7"
            verify(insert.height > 100, "height " + insert.height)
            insert.text = ""
            compare(insert.height, 100)
        }

        // The notice slides in, then goes away by itself.
        function test_doneIndicatorShowsThenHides() {
            done.state = "shown"
            tryVerify(function () { return done.y >= 0 })
            tryCompare(done, "state", "hidden", 3000)
            tryVerify(function () { return done.y + done.height <= 0 })
        }

        function test_aboutCreditsOpenLinksInTheBrowser() {
            about.visible = true
            var qtRow = findChild(about, "credit_1")
            compare(findChild(qtRow, "creditName").text, "[Qt]")
            mouseClick(findChild(qtRow, "creditLinkArea"))
            mouseClick(findChild(findChild(about, "credit_0"), "creditLinkArea"))
            compare(openLinkSpy.signalArguments.map(function (args) { return args[0] }),
                    ["http://www.qt.io", "https://example.org/kelvo"])
        }

        // The product page comes from the window unless given; without one
        // there is no link to tap.
        function test_aboutProductLink() {
            var page = createTemporaryObject(aboutComponent, scene)
            var link = function () { return findChild(findChild(page, "credit_0"), "creditLink") }
            compare(link().text, "https://example.org/from-window")
            page.visible = true
            page.productPageLink = ""
            verify(!link().visible)
        }
    }
}
