import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/platform"

// Text entry: the single-line field and the growing multi-line area.
Item {
    id: scene
    width: 480
    height: 854

    Column {
        width: parent.width
        spacing: 10

        TextField {
            id: field
            width: 300
            placeholderText: "Username"
        }

        TextField {
            id: password
            width: 300
            placeholderText: "Password"
            echoMode: TextInput.Password
        }

        TextField {
            id: bigField
            width: 300
            font.pixelSize: 30
        }

        TextArea {
            id: area
            width: 300
            placeholderText: "What's on your mind?"
        }

        TextArea {
            id: fixedArea
            width: 300
            height: 80
        }
    }

    SignalSpy {
        id: acceptedSpy
        target: field
        signalName: "accepted"
    }

    TestCase {
        id: testCase
        name: "PlatformText"
        when: windowShown

        function init() {
            field.text = "";
            field.readOnly = false;
            password.text = "";
            area.text = "";
            fixedArea.text = "";
            acceptedSpy.clear();
        }

        function test_fieldPlaceholderOnlyWhileEmpty() {
            var placeholder = findChild(field, "placeholder");
            compare(placeholder.text, "Username");
            verify(placeholder.visible);
            field.text = "alice";
            verify(!placeholder.visible);
            field.text = "";
            verify(placeholder.visible);
        }

        function test_typingHidesPlaceholder() {
            var placeholder = findChild(field, "placeholder");
            mouseClick(field);
            verify(field.activeFocus);
            keyClick(Qt.Key_A);
            keyClick(Qt.Key_B);
            compare(field.text, "ab");
            verify(!placeholder.visible);
            keyClick(Qt.Key_Backspace);
            keyClick(Qt.Key_Backspace);
            compare(field.text, "");
            verify(placeholder.visible);
        }

        function test_readOnlyIgnoresTyping() {
            field.text = "fixed";
            field.readOnly = true;
            field.forceActiveFocus();
            field.cursorPosition = 5;
            keyClick(Qt.Key_X);
            compare(field.text, "fixed");
        }

        function test_passwordIsMasked() {
            password.text = "secret";
            compare(password.text, "secret");
            compare(password.displayText.length, 6);
            verify(password.displayText !== "secret");
            for (var i = 0; i < password.displayText.length; ++i)
                verify("secret".indexOf(password.displayText[i]) < 0, password.displayText);
            compare(password.textField.displayText, password.displayText);
            verify(findChild(password, "placeholder").visible === false);
        }

        function test_normalEchoShowsText() {
            field.text = "secret";
            compare(field.displayText, "secret");
        }

        function test_returnEmitsAccepted() {
            field.forceActiveFocus();
            field.text = "search words";
            keyClick(Qt.Key_Return);
            compare(acceptedSpy.count, 1);
        }

        function test_focusReachesInnerInput() {
            area.forceActiveFocus();
            verify(!field.activeFocus);
            field.forceActiveFocus();
            verify(field.activeFocus);
            verify(field.textField.activeFocus);
            area.forceActiveFocus();
            verify(!field.activeFocus);
            verify(area.activeFocus);
            verify(area.textArea.activeFocus);
        }

        function test_selectAllAndCursor() {
            field.text = "hello world";
            field.forceActiveFocus();
            field.cursorPosition = 5;
            compare(field.textField.cursorPosition, 5);
            field.selectAll();
            compare(field.selectedText, "hello world");
        }

        function test_copyAndPaste() {
            field.text = "shared words";
            field.selectAll();
            field.copy();
            area.text = "";
            area.forceActiveFocus();
            area.paste();
            compare(area.text, "shared words");
            field.text = "";
            field.forceActiveFocus();
            field.paste();
            compare(field.text, "shared words");
        }

        function test_fontIsPassedToInput() {
            compare(bigField.textField.font.pixelSize, 30);
            verify(bigField.height >= 30);
            verify(bigField.implicitHeight > field.implicitHeight);
        }

        function test_inputMethodHintsPassed() {
            field.inputMethodHints = Qt.ImhNoPredictiveText;
            compare(field.textField.inputMethodHints, Qt.ImhNoPredictiveText);
            field.inputMethodHints = Qt.ImhNone;
        }

        function test_areaPlaceholderOnlyWhileEmpty() {
            var placeholder = findChild(area, "placeholder");
            compare(placeholder.text, "What's on your mind?");
            verify(placeholder.visible);
            area.text = "x";
            verify(!placeholder.visible);
            area.text = "";
            verify(placeholder.visible);
        }

        function test_areaGrowsWithLines() {
            area.text = "one line";
            var oneLine = area.height;
            area.text = "one\ntwo\nthree\nfour\nfive";
            var fiveLines = area.height;
            verify(fiveLines > oneLine + 3 * area.font.pixelSize, oneLine + " -> " + fiveLines);
            area.text = "one line";
            compare(area.height, oneLine);
        }

        function test_areaWrapsLongText() {
            area.text = "word";
            var oneLine = area.height;
            var words = [];
            for (var i = 0; i < 40; ++i)
                words.push("word");
            area.text = words.join(" ");
            verify(area.lineCount > 1);
            verify(area.height > oneLine);
            area.wrapMode = TextEdit.NoWrap;
            compare(area.lineCount, 1);
            compare(area.height, oneLine);
            area.wrapMode = TextEdit.Wrap;
        }

        function test_areaIsPlainTextByDefault() {
            area.text = "<b>bold</b>";
            compare(area.textArea.length, "<b>bold</b>".length);
            area.textFormat = TextEdit.RichText;
            compare(area.textArea.length, "bold".length);
            area.textFormat = TextEdit.PlainText;
        }

        function test_fixedAreaScrollsToCursor() {
            fixedArea.text = "1\n2\n3\n4\n5\n6\n7\n8\n9\n10";
            compare(fixedArea.height, 80);
            fixedArea.forceActiveFocus();
            fixedArea.cursorPosition = fixedArea.text.length;
            var flick = findChild(fixedArea, "textAreaFlickable");
            verify(flick.contentHeight > flick.height);
            verify(flick.contentY > 0);
            compare(flick.contentY + flick.height, flick.contentHeight);
            fixedArea.cursorPosition = 0;
            compare(flick.contentY, 0);
        }

        function test_createdDynamically() {
            var fieldComponent = Qt.createComponent("../../qml/components/platform/TextField.qml");
            compare(fieldComponent.status, Component.Ready, fieldComponent.errorString());
            var madeField = fieldComponent.createObject(scene, { placeholderText: "Search" });
            verify(madeField !== null);
            verify(madeField.width > 0 && madeField.height > 0);
            madeField.forceActiveFocus();
            keyClick(Qt.Key_Q);
            compare(madeField.text, "q");
            madeField.destroy();

            var areaComponent = Qt.createComponent("../../qml/components/platform/TextArea.qml");
            compare(areaComponent.status, Component.Ready, areaComponent.errorString());
            var madeArea = areaComponent.createObject(null, { text: "a\nb" });
            verify(madeArea !== null);
            verify(madeArea.implicitHeight > 0);
            madeArea.destroy();
        }
    }
}
