import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/common"

// The small shared widgets and the About page. `window` stands for the main
// window; the translator here wraps every key in brackets, so what went
// through it can be told from what did not.
Item {
    id: scene
    width: 480
    height: 854

    Item {
        id: window
        property Item helpInput: helpInput
        property string language: "en"
        property bool darkTheme: false
        property int titleFontSize: 19
        property color titleFontColor: darkTheme ? "#fafafa" : "#3B5998"
        property color statusBg: "#00000000"
        property color statusPressBg: darkTheme ? "#222222" : "#EFF2F7"
        property color listLineColor: darkTheme ? "#4C4C4C" : "#D8DFEA"
        property int spacing: 12
        property string productPageLink: "https://example.org/from-window"
        signal vibrate()
        signal openLink(string link)
    }

    QtObject {
        id: translator
        function translate(word) {
            return "[" + word + "]"
        }
    }

    // Takes the focus when a field gives it up, as in the main window.
    TextInput { id: helpInput; visible: false }

    Column {
        width: parent.width
        FButton { id: fbutton; width: 200; height: 50 }
        TextInsertSymbian { id: insert; width: 300; placeholderText: "What's on your mind?" }
        Spinner { id: spinner; running: false }
        FullMenuButton { id: firstRow; first: true; btnText: "Wall" }
        FullMenuButton { id: secondRow; btnText: "Info"; imgSrc: "../media/info.svg" }
    }

    DoneIndicator { id: done }

    About {
        id: about
        anchors.fill: parent
        z: 10
        visible: false
        productPageLink: "https://example.org/kelvo"
    }

    Component { id: aboutComponent; About { visible: false } }

    SignalSpy { id: vibrateSpy; target: window; signalName: "vibrate" }
    SignalSpy { id: openLinkSpy; target: window; signalName: "openLink" }
    SignalSpy { id: fbuttonClicks; target: fbutton; signalName: "clicked" }
    SignalSpy { id: rowClicks; target: secondRow; signalName: "clicked" }

    TestCase {
        name: "Widgets"
        when: windowShown

        function init() {
            window.darkTheme = false
            fbutton.buttonText = ""
            fbutton.pressed = false
            insert.text = ""
            insert.startHeight = 60
            insert.setFocus(false)
            spinner.running = false
            spinner.visible = true
            spinner.frame = 1
            about.visible = false
            about.productPageLink = "https://example.org/kelvo"
            done.label = "Done"
            vibrateSpy.clear()
            openLinkSpy.clear()
            fbuttonClicks.clear()
            rowClicks.clear()
        }

        // Two or more characters are translation keys; one is a shortcut.
        function test_fbuttonText_data() {
            return [
                { tag: "word", text: "Share", shown: "[Share]" },
                { tag: "two letters", text: "OK", shown: "[OK]" },
                { tag: "one letter", text: "A", shown: "A" },
                { tag: "empty", text: "", shown: "" }
            ]
        }

        function test_fbuttonText(data) {
            fbutton.buttonText = data.text
            compare(findChild(fbutton, "label").text, data.shown)
        }

        // `pressed` keeps the pressed look on after the finger is lifted.
        function test_fbuttonPressedLook() {
            var frame = findChild(fbutton, "frame")
            var normal = String(frame.source)
            mousePress(fbutton)
            var down = String(frame.source)
            verify(down !== normal)
            mouseRelease(fbutton)
            compare(String(frame.source), normal)
            fbutton.pressed = true
            verify(String(frame.source) !== normal)
        }

        function test_fbuttonClickVibratesOnPressAndRelease() {
            mouseClick(fbutton)
            compare(fbuttonClicks.count, 1)
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

        function test_insertPlaceholderIsTranslated() {
            compare(findChild(insert.textArea, "placeholder").text, "[What's on your mind?]")
        }

        function test_insertCloseDropsToolbarsAndFocus() {
            insert.setFocus(true)
            insert.showToolbar = true
            insert.showSettingsToolbar = true
            insert.close()
            verify(!insert.showToolbar)
            verify(!insert.showSettingsToolbar)
            verify(!insert.hasFocus)
        }

        function test_spinnerCycles() {
            spinner.running = true
            tryCompare(spinner, "frame", 2)
            spinner.frame = 10
            tryCompare(spinner, "frame", 1)
        }

        function test_spinnerRestsWhileHidden() {
            var timer = findChild(spinner, "frameTimer")
            spinner.running = true
            spinner.visible = false
            verify(!timer.running)
            spinner.visible = true
            verify(timer.running)
        }

        function test_doneIndicatorShowsThenHides() {
            done.label = "Error loading page"
            compare(findChild(done, "message").text, "[Error loading page]")
            done.state = "shown"
            tryCompare(done, "y", 10)
            tryCompare(done, "state", "hidden", 3000)
            tryCompare(done, "y", -done.height)
        }

        function test_fullMenuButtonSeparatorOnlyAfterTheFirst() {
            verify(!findChild(firstRow, "separator").visible)
            verify(findChild(secondRow, "separator").visible)
            compare(findChild(firstRow, "label").text, "[Wall]")
        }

        function test_fullMenuButtonPressAndClick() {
            mousePress(secondRow)
            compare(vibrateSpy.count, 1)
            mouseRelease(secondRow)
            compare(vibrateSpy.count, 2)
            compare(rowClicks.count, 1)
        }

        function test_aboutCreditsOpenLinksInTheBrowser() {
            about.visible = true
            var qtRow = findChild(about, "credit_1")
            compare(findChild(qtRow, "creditName").text, "[Qt]")
            mouseClick(findChild(qtRow, "creditLinkArea"))
            mouseClick(findChild(findChild(about, "credit_0"), "creditLinkArea"))
            compare(openLinkSpy.count, 2)
            compare(openLinkSpy.signalArguments[0][0], "http://www.qt.io")
            compare(openLinkSpy.signalArguments[1][0], "https://example.org/kelvo")
        }

        function test_aboutTakesTheWindowsProductPage() {
            var page = createTemporaryObject(aboutComponent, scene)
            compare(findChild(findChild(page, "credit_0"), "creditLink").text,
                    "https://example.org/from-window")
        }

        function test_aboutHidesAnEmptyLink() {
            about.visible = true
            about.productPageLink = ""
            verify(!findChild(findChild(about, "credit_0"), "creditLink").visible)
        }
    }
}
