import QtQuick 2.15
import "../common"

// The conversation's input bar: a growing text field with the smiley
// button in its corner, and "Send".
Rectangle {
    id: bar

    property alias text: field.text
    readonly property alias field: field

    signal sendWanted()
    signal smileysWanted()

    // Puts `smiley` after the text and the cursor at the end.
    function addSmiley(smiley) {
        field.text = field.text + " " + smiley
        field.textArea.cursorPosition = field.text.length
    }

    z: 100
    height: 100
    color: window.darkTheme ? "#111" : "#EFF2F7"

    Rectangle {
        width: parent.width
        height: 1
        color: window.listLineColor
    }

    TextInsertSymbian {
        id: field
        objectName: "chatField"
        anchors.left: parent.left
        anchors.leftMargin: 6
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 6
        width: bar.width - 70
        startHeight: bar.height - 12
        placeholderText: "Enter message"

        Image {
            objectName: "smileyButton"
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 15
            source: "../media/smileys/Smile.png"

            MouseArea {
                anchors.fill: parent
                anchors.margins: -10
                onClicked: bar.smileysWanted()
            }
        }
    }

    FButton {
        objectName: "sendButton"
        anchors.left: field.right
        anchors.leftMargin: 4
        anchors.right: parent.right
        anchors.rightMargin: 4
        anchors.bottom: field.bottom
        height: bar.height - 12
        buttonText: "Send"
        onClicked: bar.sendWanted()
    }
}
