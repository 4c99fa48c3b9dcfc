import QtQuick 2.15

// A single-line text input in a light rounded frame. The placeholder shows
// in grey while the field is empty; the frame turns to the brand colour
// while the field has the focus.
FocusScope {
    id: field

    property alias text: input.text
    property alias placeholderText: placeholder.text
    property alias readOnly: input.readOnly
    property alias font: input.font
    property alias echoMode: input.echoMode
    property alias inputMethodHints: input.inputMethodHints
    property alias cursorPosition: input.cursorPosition
    property alias maximumLength: input.maximumLength
    property alias validator: input.validator
    property alias horizontalAlignment: input.horizontalAlignment
    property alias textColor: input.color
    readonly property alias displayText: input.displayText
    readonly property alias acceptableInput: input.acceptableInput
    readonly property alias selectedText: input.selectedText
    readonly property alias selectionStart: input.selectionStart
    readonly property alias selectionEnd: input.selectionEnd
    readonly property alias inputMethodComposing: input.inputMethodComposing
    // The inner TextInput, for what the field does not expose itself.
    readonly property alias textField: input

    signal accepted()

    function selectAll() { input.selectAll(); }
    function select(start, end) { input.select(start, end); }
    function deselect() { input.deselect(); }
    function copy() { input.copy(); }
    function cut() { input.cut(); }
    function paste() { input.paste(); }
    function positionAt(x) { return input.positionAt(x - input.x); }
    function positionToRectangle(position) { return input.positionToRectangle(position); }

    function openSoftwareInputPanel() {
        input.forceActiveFocus();
        Qt.inputMethod.show();
    }

    function closeSoftwareInputPanel() {
        Qt.inputMethod.hide();
    }

    implicitWidth: 260
    implicitHeight: Math.max(50, input.implicitHeight + 20)

    Rectangle {
        id: frame
        anchors.fill: parent
        radius: 6
        color: field.readOnly ? "#f2f3f6" : "#ffffff"
        border.color: field.activeFocus ? "#3b5998" : "#c3c9d6"
        border.width: field.activeFocus ? 2 : 1
    }

    Text {
        id: placeholder
        objectName: "placeholder"
        anchors.fill: input
        verticalAlignment: Text.AlignVCenter
        horizontalAlignment: input.horizontalAlignment
        elide: Text.ElideRight
        font: input.font
        color: "#9197a3"
        visible: input.text.length === 0 && !input.inputMethodComposing
    }

    TextInput {
        id: input
        anchors.fill: parent
        anchors.leftMargin: 10
        anchors.rightMargin: 10
        verticalAlignment: TextInput.AlignVCenter
        focus: true
        clip: true
        color: "#111111"
        selectionColor: "#3b5998"
        selectedTextColor: "#ffffff"
        selectByMouse: true
        font.pixelSize: 20
        onAccepted: field.accepted()
    }
}
