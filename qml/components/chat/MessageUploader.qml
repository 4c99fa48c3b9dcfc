import QtQuick 2.15
import "../common"
import "../platform"

// The input bar above the bottom bar: a text field and "Send". Sending hands
// the text to the hub as a comment on `objectId` and empties the field; when
// the service refuses that comment, the text comes back into the field (if
// the user has not started another), so nothing typed is lost.
Rectangle {
    id: uploader

    property alias placeholder: field.placeholderText
    property string objectId
    property alias text: field.text
    // The last text sent, until the service answers for it.
    property string pending

    function clear() {
        field.text = ""
    }

    function send() {
        var text = field.text
        field.focus = false
        window.helpInput.forceActiveFocus()
        pending = text
        window.signalHandler.comment(text, objectId)
        field.text = ""
    }

    z: 100
    height: 100
    color: window.darkTheme ? "#111" : "#EFF2F7"

    Rectangle {
        width: parent.width
        height: 1
        color: window.listLineColor
    }

    TextField {
        id: field
        objectName: "messageField"
        anchors.left: parent.left
        anchors.right: sendButton.left
        anchors.verticalCenter: parent.verticalCenter
        anchors.margins: 10
        onAccepted: uploader.send()
    }

    FButton {
        id: sendButton
        objectName: "sendButton"
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        width: 90
        height: 50
        buttonText: "Send"
        onClicked: uploader.send()
    }

    Connections {
        target: window.clientSession
        function onPostingSucceeded(kind, target) {
            if (kind === "comment" && target === uploader.objectId)
                uploader.pending = ""
        }
        function onPostingFailed(kind, target, text) {
            if (kind !== "comment" || target !== uploader.objectId || text !== uploader.pending)
                return
            uploader.pending = ""
            if (field.text === "")
                field.text = text
        }
    }
}
