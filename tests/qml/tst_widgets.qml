import QtQuick 2.15
import QtTest 1.2
import "../../qml/components"

// The small shared widgets and the About page. `window` stands for the main
// window; the translator here wraps every key in brackets, so what went
// through it can be told from what did not.
Item {
    id: scene
    width: 480
    height: 854

    Item {
        id: window
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
    TextInput {
        id: helpInput
        visible: false
        width: 0
        height: 0
    }

    Column {
        width: parent.width

        FButton {
            id: fbutton
            width: 200
            height: 50
        }

        TextInsertSymbian {
            id: insert
            width: 300
            placeholderText: "What's on your mind?"
        }

        PlaceholderImage {
            id: placeholder
            width: 50
            height: 50
        }

        ImageBorder {
            id: imageBorder
        }

        Spinner {
            id: spinner
            running: false
        }

        FullMenuButton {
            id: firstRow
            first: true
            btnText: "Wall"
        }

        FullMenuButton {
            id: secondRow
            btnText: "Info"
            imgSrc: "media/info.svg"
        }
    }

    DoneIndicator {
        id: done
    }

    About {
        id: about
        anchors.fill: parent
        z: 10
        visible: false
        productPageLink: "https://example.org/kelvo"
    }

    Component {
        id: aboutComponent
        About { visible: false }
    }

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
            fbutton.buttonImg = ""
            fbutton.pressed = false
            insert.text = ""
            insert.setFocus(false)
            spinner.running = false
            spinner.visible = true
            spinner.platformInverted = false
            spinner.frame = 1
            placeholder.image = "profile"
            about.visible = false
            vibrateSpy.clear()
            openLinkSpy.clear()
            fbuttonClicks.clear()
            rowClicks.clear()
        }

        function endsWith(value, tail) {
            var text = String(value)
            return text.slice(-tail.length) === tail
        }

        function test_fbuttonTranslatesWordsButNotLetters() {
            var label = findChild(fbutton, "label")
            fbutton.buttonText = "Share"
            compare(label.text, "[Share]")
            fbutton.buttonText = "OK"
            compare(label.text, "[OK]")
            fbutton.buttonText = "A"
            compare(label.text, "A")
            fbutton.buttonText = ""
            compare(label.text, "")
        }

        function test_fbuttonFramePictures() {
            var frame = findChild(fbutton, "frame")
            verify(endsWith(frame.source, "/qml/components/media/Buttons/blue.png"), frame.source)
            mousePress(fbutton)
            verify(endsWith(frame.source, "media/Buttons/blue_pressed.png"), frame.source)
            mouseRelease(fbutton)
            verify(endsWith(frame.source, "media/Buttons/blue.png"), frame.source)
            fbutton.pressed = true
            verify(endsWith(frame.source, "media/Buttons/dark_pressed.png"), frame.source)
            fbutton.pressed = false
            window.darkTheme = true
            verify(endsWith(frame.source, "media/Buttons/dark.png"), frame.source)
            mousePress(fbutton)
            verify(endsWith(frame.source, "media/Buttons/dark_pressed.png"), frame.source)
            mouseRelease(fbutton)
            compare(frame.border.left, 20)
            compare(frame.border.top, 10)
            compare(frame.border.right, 20)
            compare(frame.border.bottom, 10)
        }

        function test_fbuttonClickVibratesOnPressAndRelease() {
            mouseClick(fbutton)
            compare(fbuttonClicks.count, 1)
            compare(vibrateSpy.count, 2)
        }

        function test_fbuttonIconOnlyWithPath() {
            var icon = findChild(fbutton, "icon")
            verify(!icon.visible)
            fbutton.buttonImg = "media/BottomBar/lock.svg"
            verify(icon.visible)
            compare(icon.height, fbutton.height - 20)
        }

        function test_insertReturnClosesKeyboardInsteadOfNewLine() {
            insert.setFocus(true)
            verify(insert.hasFocus)
            verify(insert.settedFocus)
            keyClick(Qt.Key_A)
            keyClick(Qt.Key_B)
            compare(insert.text, "ab")
            keyClick(Qt.Key_Return)
            compare(insert.text, "ab")
            verify(!insert.hasFocus)
            verify(!insert.settedFocus)
            insert.setFocus(true)
            keyClick(Qt.Key_Enter)
            compare(insert.text, "ab")
            verify(!insert.hasFocus)
        }

        function test_insertGrowsButNotBelowStartHeight() {
            compare(insert.height, insert.startHeight)
            insert.startHeight = 100
            compare(insert.height, 100)
            insert.text = "1\n2\n3\n4\n5\n6\n7"
            verify(insert.height > 100, "height " + insert.height)
            insert.text = ""
            compare(insert.height, 100)
            insert.startHeight = 60
        }

        function test_insertPlaceholderIsTranslated() {
            var shown = findChild(insert.textArea, "placeholder")
            compare(shown.text, "[What's on your mind?]")
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

        function test_placeholderFollowsThemeAndName() {
            verify(endsWith(placeholder.source, "/qml/components/media/Light/profile.png"), placeholder.source)
            window.darkTheme = true
            verify(endsWith(placeholder.source, "media/Dark/profile.png"), placeholder.source)
            placeholder.image = "album"
            verify(endsWith(placeholder.source, "media/Dark/album.png"), placeholder.source)
            compare(placeholder.fillMode, Image.PreserveAspectFit)
        }

        function test_imageBorder() {
            compare(imageBorder.width, 100)
            compare(imageBorder.height, 100)
            var border = findChild(imageBorder, "border")
            verify(endsWith(border.source, "media/image_border.png"), border.source)
            compare(border.width, 100)
            compare(border.border.left, 5)
            compare(border.border.bottom, 5)
        }

        function test_spinnerCyclesTenFramesPerSecond() {
            var timer = findChild(spinner, "frameTimer")
            var image = findChild(spinner, "frameImage")
            compare(spinner.width, 50)
            compare(timer.interval * 10, 1000)
            verify(!timer.running)
            verify(endsWith(image.source, "media/spinner/1.png"), image.source)
            spinner.running = true
            verify(timer.running)
            tryCompare(spinner, "frame", 2)
            spinner.frame = 10
            tryCompare(spinner, "frame", 1)
            verify(endsWith(image.source, "media/spinner/1.png"), image.source)
            spinner.platformInverted = true
            verify(endsWith(image.source, "media/spinner_inverted/1.png"), image.source)
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
            compare(done.state, "hidden")
            compare(done.y, -done.height)
            compare(done.width, scene.width - 20)
            compare(findChild(done, "hideTimer").interval, 1000)
            compare(findChild(done, "message").text, "[Done]")
            done.label = "Error loading page"
            compare(findChild(done, "message").text, "[Error loading page]")
            done.state = "shown"
            tryCompare(done, "y", 10)
            compare(done.state, "shown")
            tryCompare(done, "state", "hidden", 3000)
            tryCompare(done, "y", -done.height)
            done.label = "Done"
        }

        function test_doneIndicatorColourFollowsTheme() {
            compare(String(done.color), "#3b5998")
            window.darkTheme = true
            compare(String(done.color), "#2e2a2a")
            compare(done.radius, 5)
        }

        function test_fullMenuButtonSeparatorAndLayout() {
            compare(firstRow.height, 72)
            verify(!findChild(firstRow, "separator").visible)
            var separator = findChild(secondRow, "separator")
            verify(separator.visible)
            compare(separator.height, 1)
            compare(String(separator.color), "#d8dfea")
            var plainLabel = findChild(firstRow, "label")
            compare(plainLabel.x, window.spacing)
            compare(plainLabel.text, "[Wall]")
            var icon = findChild(secondRow, "icon")
            verify(icon.visible)
            compare(icon.width, 60)
            compare(icon.x, window.spacing)
            compare(findChild(secondRow, "label").x, icon.x + icon.width + 2 * window.spacing)
        }

        function test_fullMenuButtonPressAndClick() {
            compare(String(secondRow.color), "#00000000")
            mousePress(secondRow)
            compare(String(secondRow.color), "#eff2f7")
            compare(vibrateSpy.count, 1)
            mouseRelease(secondRow)
            compare(vibrateSpy.count, 2)
            compare(rowClicks.count, 1)
            compare(String(secondRow.color), "#00000000")
        }

        function test_aboutCreditsOpenLinksInTheBrowser() {
            about.visible = true
            compare(about.credits.length, 3)
            var qtRow = findChild(about, "credit_1")
            compare(findChild(qtRow, "creditName").text, "[Qt]")
            var qtLink = findChild(qtRow, "creditLinkArea")
            mouseClick(qtLink)
            compare(openLinkSpy.count, 1)
            compare(openLinkSpy.signalArguments[0][0], "http://www.qt.io")
            var developers = findChild(about, "credit_0")
            compare(findChild(developers, "creditRole").text, "[Design and code]")
            mouseClick(findChild(developers, "creditLinkArea"))
            compare(openLinkSpy.signalArguments[1][0], "https://example.org/kelvo")
            compare(String(findChild(developers, "creditLink").color), "#70aac3")
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
            about.productPageLink = "https://example.org/kelvo"
        }
    }
}
