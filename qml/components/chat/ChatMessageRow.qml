import QtQuick 2.15

// One message of a conversation (`message`, a chat item): received ones in
// a white bubble on the left, sent ones in a dark bubble on the right, with
// their time and, for sent ones, "Sending" or "Not sent".
Item {
    id: row

    property var message
    readonly property bool received: message ? message.receiver : false
    readonly property real bubbleWidth: width - 60

    signal failedTapped(string text)

    height: received ? white.height : dark.height

    WhiteBubble {
        id: white
        visible: row.received
        width: row.bubbleWidth
        text: row.received ? row.message.message : ""
        date: row.received ? row.message.time : ""
    }

    DarkBubble {
        id: dark
        objectName: "sentBubble"
        visible: !row.received
        anchors.right: parent.right
        width: row.bubbleWidth
        text: !row.received && row.message ? row.message.message : ""
        date: !row.received && row.message ? row.message.time : ""
        pending: !row.received && row.message ? row.message.pending : false
        failed: !row.received && row.message ? row.message.failed : false

        // A message that could not be sent gives its text back to write again.
        MouseArea {
            anchors.fill: parent
            enabled: dark.failed
            onClicked: row.failedTapped(row.message.message)
        }
    }
}
