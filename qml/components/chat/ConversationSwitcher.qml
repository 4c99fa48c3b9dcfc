import QtQuick 2.15
import Kelvo 1.0
import "../platform"
import "../media"

// "Open conversations": picks another open conversation; those with news
// are marked in orange.
SelectionDialog {
    id: switcher

    objectName: "conversationSwitcher"
    titleText: translator.translate("Open conversations")
    model: window.openConversations

    onAccepted: {
        var row = window.openConversations.get(selectedIndex)
        if (row)
            window.showChat(row.jid, row.name)
    }

    delegate: Rectangle {
        width: ListView.view ? ListView.view.width : 0
        height: 54
        color: model.newMessage ? "#FF8B20" : "transparent"
        opacity: area.pressed ? 0.7 : 1

        ProfileImage {
            id: picture
            x: 6
            anchors.verticalCenter: parent.verticalCenter
            width: 40
            height: 40
            source: model.profileImageUrl
        }

        Text {
            anchors.left: picture.right
            anchors.leftMargin: 12
            anchors.right: parent.right
            anchors.rightMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font.pixelSize: 20
            color: "white"
            text: model.name
        }

        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: "#3d3d3d"
        }

        MouseArea {
            id: area
            anchors.fill: parent
            onClicked: switcher.selectAndAccept(index)
        }
    }
}
