import QtQuick 2.15
import Kelvo 1.0
import "../media"

// The top of a wall: the cover (when there is one) with the user's large
// picture over its lower edge and the name beside it. The large picture is
// kept in the profile cache as "<id>_large.jpg".
Rectangle {
    id: header

    property string userId
    property string userName
    property string cover
    // How far the cover is moved up, in percent of its height.
    property int coverOffset: 0
    readonly property bool hasCover: cover !== ""
    readonly property int coverHeight: 169
    // "me" as the signed-in user's id once it is known.
    readonly property string pictureId: userId === "me" && window.ownId !== "" ? window.ownId : userId

    height: hasCover ? 242 : 106
    color: window.feedBg

    Item {
        objectName: "coverFrame"
        width: parent.width
        height: header.coverHeight
        clip: true
        visible: header.hasCover

        Image {
            objectName: "cover"
            width: Math.max(480, parent.width)
            height: implicitWidth > 0 ? width * implicitHeight / implicitWidth : 0
            asynchronous: true
            source: header.cover
            y: -Math.max(0, Math.min(height * header.coverOffset / 100, height - header.coverHeight))
        }
    }

    Rectangle {
        id: frame
        x: window.spacing
        y: header.hasCover ? header.coverHeight - 32 : window.spacing
        width: 82
        height: 79
        color: "white"
        border.color: window.listLineColor

        CachedPicture {
            objectName: "largePicture"
            anchors.centerIn: parent
            width: 78
            height: 75
            // "me" stands for whoever is signed in: not cached under that name.
            cacheId: /^\d+$/.test(header.pictureId) ? header.pictureId + "_large" : ""
            source: ServiceConfig.graphRoot + "/" + header.pictureId + "/picture?type=normal&" + window.token
            MouseArea {
                anchors.fill: parent
                onClicked: signalHandler.showWall(header.userId, header.userName)
            }
        }
    }

    Text {
        objectName: "userName"
        anchors.left: frame.right
        anchors.leftMargin: window.spacing
        anchors.right: parent.right
        anchors.rightMargin: window.spacing
        y: header.hasCover ? header.coverHeight + 8 : frame.y + (frame.height - height) / 2
        elide: Text.ElideRight
        textFormat: Text.PlainText
        font.bold: true
        font.pixelSize: window.titleFontSize + 2
        color: window.titleFontColor
        text: header.userName
    }

    Rectangle {
        anchors.bottom: parent.bottom
        width: parent.width
        height: 1
        color: window.listLineColor
    }
}
