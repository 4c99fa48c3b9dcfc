import QtQuick 2.15
import "../media"

// One contact of the chat list, from the row of the list model it is
// drawn for: picture, name (blue while a conversation is open), the
// new-message icon and the presence dot. A tap emits clicked().
Rectangle {
    id: row

    signal clicked()

    width: parent ? parent.width : 0
    height: 50 + 2 * window.spacing
    color: area.pressed ? window.hoverColor : "transparent"

    Rectangle {
        width: parent.width
        height: 1
        color: window.listLineColor
    }

    ProfileImage {
        id: picture
        x: window.spacing
        y: window.spacing
        width: 50
        height: 50
        hover: area.pressed
        source: model.profileImageUrl
    }

    Text {
        objectName: "contactName"
        anchors.left: picture.right
        anchors.leftMargin: window.spacing
        anchors.right: newIcon.visible ? newIcon.left : dot.left
        anchors.rightMargin: window.spacing
        anchors.verticalCenter: parent.verticalCenter
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        maximumLineCount: 2
        elide: Text.ElideRight
        font.pixelSize: window.mainFontSize
        color: model.hasConversation ? "#70aac3" : window.titleFontColor
        text: model.name
    }

    Image {
        id: newIcon
        objectName: "newMessageIcon"
        anchors.right: dot.left
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        visible: model.newMessage
        source: window.darkTheme ? "../media/im-white.png" : "../media/im-dark.png"
    }

    Rectangle {
        id: dot
        objectName: "presenceDot"
        anchors.right: parent.right
        anchors.rightMargin: window.spacing
        anchors.verticalCenter: parent.verticalCenter
        width: 18
        height: 18
        radius: 9
        color: !model.isOnline ? "#BABABA" : (model.isAway ? "lightblue" : "#AEDE28")
        border.width: 1
        border.color: model.isOnline ? "#B7BBBC" : "#CCCCCC"
    }

    MouseArea {
        id: area
        anchors.fill: parent
        onPressed: window.vibrate()
        onReleased: window.vibrate()
        onClicked: row.clicked()
    }
}
