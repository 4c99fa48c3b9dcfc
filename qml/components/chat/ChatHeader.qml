import QtQuick 2.15
import Kelvo 1.0
import "../media"

// The conversation page's header: the contact's picture (a tap opens the
// wall), the name, the pencil while the contact types, and the button to
// the other open conversations, marked while one of them has news.
Rectangle {
    id: header

    property string profileId
    property string userName
    property bool typing: false
    property bool hasNews: false

    signal switcherWanted()

    height: 52
    color: window.bgColor

    ProfileImage {
        id: picture
        objectName: "headerPicture"
        x: window.spacing
        y: 6
        width: 40
        height: 40
        source: ServiceConfig.graphRoot + "/" + header.profileId + "/picture"

        MouseArea {
            anchors.fill: parent
            onClicked: window.signalHandler.showWall(header.profileId, header.userName)
        }
    }

    Text {
        objectName: "headerName"
        anchors.left: picture.right
        anchors.leftMargin: window.spacing
        anchors.right: pencil.left
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        textFormat: Text.PlainText
        elide: Text.ElideRight
        font.pixelSize: window.titleFontSize
        color: window.titleFontColor
        text: header.userName
    }

    Image {
        id: pencil
        objectName: "typingImage"
        anchors.right: switcher.visible ? switcher.left : parent.right
        anchors.rightMargin: window.spacing
        anchors.verticalCenter: parent.verticalCenter
        width: 30
        height: 30
        sourceSize: Qt.size(30, 30)
        visible: header.typing
        source: window.darkTheme ? "../media/Pencil-light.svg" : "../media/pencil-dark.svg"
    }

    Image {
        id: switcher
        objectName: "switcherButton"
        anchors.right: parent.right
        anchors.rightMargin: window.spacing
        anchors.verticalCenter: parent.verticalCenter
        visible: window.openConversations.count > 0
        width: 37
        height: 37
        fillMode: Image.PreserveAspectFit
        source: !header.hasNews ? "../media/conversations.png"
                                : area.pressed ? "../media/Buttons/new-message-pressed.png"
                                               : "../media/Buttons/new-message.png"

        MouseArea {
            id: area
            anchors.fill: parent
            anchors.margins: -8
            onClicked: header.switcherWanted()
        }
    }

    Rectangle {
        anchors.top: parent.bottom
        width: parent.width
        height: 1
        visible: window.darkTheme
        color: window.listLineColor
    }

    Image {
        anchors.top: parent.bottom
        width: parent.width
        visible: !window.darkTheme
        source: "../media/top-shadow.png"
    }
}
