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
        TextField { id: field; width: 300; placeholderText: "Username" }
        TextField { id: password; width: 300; placeholderText: "Password"; echoMode: TextInput.Password }
        TextArea { id: area; width: 300; placeholderText: "What's on your mind?" }
    }

    TestCase {
        id: testCase
        name: "PlatformText"
        when: windowShown

        function init() {
            field.text = "";
            password.text = "";
            area.text = "";
            area.wrapMode = TextEdit.Wrap;
        }

        function test_placeholderOnlyWhileEmpty_data() {
            return [
                { tag: "field", input: field, placeholder: "Username" },
                { tag: "area", input: area, placeholder: "What's on your mind?" }
            ];
        }

        function test_placeholderOnlyWhileEmpty(data) {
            var placeholder = findChild(data.input, "placeholder");
            compare(placeholder.text, data.placeholder);
            verify(placeholder.visible);
            mouseClick(data.input);
            verify(data.input.activeFocus);
            keyClick(Qt.Key_A);
            keyClick(Qt.Key_B);
            compare(data.input.text, "ab");
            verify(!placeholder.visible);
            keyClick(Qt.Key_Backspace);
            keyClick(Qt.Key_Backspace);
            compare(data.input.text, "");
            verify(placeholder.visible);
        }

        function test_passwordIsMasked() {
            password.text = "secret";
            compare(password.displayText.length, 6);
            for (var i = 0; i < password.displayText.length; ++i)
                verify("secret".indexOf(password.displayText[i]) < 0, password.displayText);
        }

        function test_focusReachesInnerInput() {
            field.forceActiveFocus();
            verify(field.textField.activeFocus);
            area.forceActiveFocus();
            verify(!field.activeFocus);
            verify(area.textArea.activeFocus);
        }

        // The area grows with its lines, its own or wrapped ones, and
        // shrinks back.
        function test_areaHeight_data() {
            return [
                { tag: "lines", text: "one\ntwo\nthree\nfour\nfive", grows: true },
                { tag: "long text", text: new Array(40).fill("word").join(" "), grows: true },
                { tag: "long text, no wrap", text: new Array(40).fill("word").join(" "), noWrap: true, grows: false }
            ];
        }

        function test_areaHeight(data) {
            if (data.noWrap)
                area.wrapMode = TextEdit.NoWrap;
            area.text = "word";
            var oneLine = area.height;
            area.text = data.text;
            compare(area.height > oneLine + 2 * area.font.pixelSize, data.grows, oneLine + " -> " + area.height);
            area.text = "word";
            compare(area.height, oneLine);
        }

    }
}
