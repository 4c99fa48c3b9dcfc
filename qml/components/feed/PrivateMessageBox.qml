import QtQuick 2.15
import Kelvo 1.0
import "../common"
import "../platform"

// A private message to the person of a wall, sent over the chat: the text
// is handed to a connected chat and then cleared; with the chat off or not
// connected the box says so and keeps the text.
Rectangle {
    id: box

    property string userId
    property bool open: false
    property alias text: field.text
    readonly property string jid: "-" + userId + "@" + ServiceConfig.chatDomain

    function send() {
        if (field.text.trim() === "")
            return
        if (!window.chatOn || !window.chatConnected) {
            window.errorbanner.text = "Error! " + translator.translate("Chat is not connected")
            window.errorbanner.show()
            return
        }
        window.sendMsg(jid, field.text)
        field.text = ""
        open = false
    }

    height: column.height + 2 * window.spacing
    color: window.darkTheme ? "#111" : "#EFF2F7"
    visible: open

    Column {
        id: column
        x: window.spacing
        y: window.spacing
        width: parent.width - 2 * window.spacing
        spacing: 8

        TextArea {
            id: field
            objectName: "privateMessageField"
            width: parent.width
            height: 120
            placeholderText: translator.translate("Write private message")
        }

        Row {
            spacing: 10
            anchors.right: parent.right
            FButton {
                objectName: "sendPrivateButton"
                width: 120
                height: 50
                buttonText: "Send"
                onClicked: box.send()
            }
            FButton {
                width: 120
                height: 50
                buttonText: "Cancel"
                onClicked: box.open = false
            }
        }
    }
}
