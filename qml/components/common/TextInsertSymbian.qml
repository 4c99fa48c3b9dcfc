import QtQuick 2.15
import "../platform"

// Multi-line plain-text entry that grows with its text but is never lower
// than `startHeight`. Return does not start a new line: it ends the entry
// and closes the on-screen keyboard, as the send and share fields expect.
Item {
    id: insert

    property alias text: area.text
    // A translation key; the field shows its translation while empty.
    property string placeholderText
    property int startHeight: 60
    property bool hasFocus: area.activeFocus
    readonly property alias textArea: area
    property bool showToolbar: false
    property bool showSettingsToolbar: false
    // The focus state last asked for with setFocus().
    property bool settedFocus: false

    // true: focus the field and open the keyboard for it; false: hand the
    // focus to the window's hidden text item and close the keyboard.
    function setFocus(focused) {
        settedFocus = focused
        if (focused) {
            area.openSoftwareInputPanel()
        } else {
            window.helpInput.forceActiveFocus()
            Qt.inputMethod.hide()
        }
    }

    function close() {
        closeToolbar()
        setFocus(false)
    }

    function closeToolbar() {
        showToolbar = false
        showSettingsToolbar = false
    }

    function finishOnReturn(event) {
        event.accepted = true
        insert.setFocus(false)
    }

    width: 300
    height: Math.max(startHeight, area.implicitHeight)

    TextArea {
        id: area
        objectName: "textArea"
        anchors.fill: parent
        placeholderText: translator.translate(insert.placeholderText)
        textFormat: TextEdit.PlainText
        wrapMode: TextEdit.Wrap
    }

    // The inner editor takes Return before any handler around it could, so
    // the key is caught on the editor's own key handler.
    Component.onCompleted: {
        area.textArea.Keys.returnPressed.connect(finishOnReturn)
        area.textArea.Keys.enterPressed.connect(finishOnReturn)
    }
}
