import QtQuick 2.15

// A multi-line text editor in a light rounded frame. Without a set height it
// grows with its text; with one, the text scrolls inside and follows the
// cursor. The placeholder shows in grey while the area is empty.
FocusScope {
    id: area

    property alias text: edit.text
    property alias placeholderText: placeholder.text
    property alias readOnly: edit.readOnly
    property alias font: edit.font
    property alias textFormat: edit.textFormat
    property alias wrapMode: edit.wrapMode
    property alias inputMethodHints: edit.inputMethodHints
    property alias cursorPosition: edit.cursorPosition
    property alias horizontalAlignment: edit.horizontalAlignment
    property alias textColor: edit.color
    readonly property alias selectedText: edit.selectedText
    readonly property alias selectionStart: edit.selectionStart
    readonly property alias selectionEnd: edit.selectionEnd
    readonly property alias inputMethodComposing: edit.inputMethodComposing
    readonly property alias lineCount: edit.lineCount
    // The inner TextEdit, for what the area does not expose itself.
    readonly property alias textArea: edit
    readonly property real padding: 10

    function selectAll() { edit.selectAll(); }
    function select(start, end) { edit.select(start, end); }
    function deselect() { edit.deselect(); }
    function copy() { edit.copy(); }
    function cut() { edit.cut(); }
    function paste() { edit.paste(); }
    function positionAt(x, y) { return edit.positionAt(x - flick.x + flick.contentX, y - flick.y + flick.contentY); }
    function positionToRectangle(position) { return edit.positionToRectangle(position); }

    function openSoftwareInputPanel() {
        edit.forceActiveFocus();
        Qt.inputMethod.show();
    }

    function closeSoftwareInputPanel() {
        Qt.inputMethod.hide();
    }

    implicitWidth: 260
    implicitHeight: Math.max(50, edit.contentHeight + 2 * padding)

    Rectangle {
        id: frame
        anchors.fill: parent
        radius: 6
        color: area.readOnly ? "#f2f3f6" : "#ffffff"
        border.color: area.activeFocus ? "#3b5998" : "#c3c9d6"
        border.width: area.activeFocus ? 2 : 1
    }

    Flickable {
        id: flick
        objectName: "textAreaFlickable"
        anchors.fill: parent
        anchors.margins: area.padding
        contentWidth: width
        contentHeight: edit.height
        clip: true
        interactive: contentHeight > height
        boundsBehavior: Flickable.StopAtBounds

        // Keeps the cursor in view while typing in a fixed-height area.
        function ensureVisible(rect) {
            if (contentY > rect.y)
                contentY = rect.y;
            else if (contentY + height < rect.y + rect.height)
                contentY = rect.y + rect.height - height;
        }

        Text {
            id: placeholder
            objectName: "placeholder"
            width: flick.width
            wrapMode: Text.Wrap
            font: edit.font
            color: "#9197a3"
            visible: edit.length === 0 && !edit.inputMethodComposing
        }

        TextEdit {
            id: edit
            width: flick.width
            // At least as high as the visible area, so a tap anywhere in the
            // frame lands in the editor.
            height: Math.max(contentHeight, flick.height)
            focus: true
            color: "#111111"
            selectionColor: "#3b5998"
            selectedTextColor: "#ffffff"
            selectByMouse: true
            wrapMode: TextEdit.Wrap
            textFormat: TextEdit.PlainText
            font.pixelSize: 20
            onCursorRectangleChanged: flick.ensureVisible(cursorRectangle)
        }
    }
}
