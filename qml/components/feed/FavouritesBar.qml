import QtQuick 2.15
import Kelvo 1.0
import "../common"

// Above the liked pages: the favourite pages as tiles (a tap opens the
// page; while removing, a tap on the minus takes it off), the toggles for
// adding and removing favourites, and the letter buttons that scroll the
// list to a letter.
Rectangle {
    id: bar

    property Favourites favourites
    property bool tagging: false
    property bool removing: false

    // Asks the list to show item `index` at its top.
    signal letterChosen(int index)

    // The cached picture when the image saver has it, else the service's.
    function pictureOf(id) {
        if (typeof imageSaver !== "undefined" && imageSaver && imageSaver.imageExists(id))
            return window.profileImageCacheFolder + id + ".jpg"
        return ServiceConfig.graphRoot + "/" + id + "/picture?" + window.token
    }

    height: 110
    color: window.commentBg

    Row {
        id: topRow
        x: 5
        y: 5
        width: parent.width - 10
        height: 50
        spacing: 5

        Image {
            objectName: "taggingToggle"
            anchors.verticalCenter: parent.verticalCenter
            width: 35
            height: 35
            sourceSize.width: 35
            sourceSize.height: 35
            opacity: bar.tagging ? 1 : 0.6
            source: "../media/plus.svg"
            MouseArea { anchors.fill: parent; onClicked: bar.tagging = !bar.tagging }
        }

        Image {
            objectName: "removingToggle"
            anchors.verticalCenter: parent.verticalCenter
            width: 35
            height: 35
            sourceSize.width: 35
            sourceSize.height: 35
            visible: bar.favourites.topModel.count > 0
            opacity: bar.removing ? 1 : 0.6
            source: "../media/minus.svg"
            MouseArea { anchors.fill: parent; onClicked: bar.removing = !bar.removing }
        }

        ListView {
            objectName: "favouriteTiles"
            width: topRow.width - 80
            height: 50
            orientation: ListView.Horizontal
            spacing: 5
            clip: true
            model: bar.favourites.topModel

            delegate: Item {
                width: 50
                height: 50

                PlaceholderImage { anchors.fill: parent; image: "page" }

                Image {
                    anchors.fill: parent
                    sourceSize.width: 50
                    sourceSize.height: 50
                    asynchronous: true
                    source: bar.pictureOf(model.id)
                }

                Image {
                    anchors.fill: parent
                    source: "../media/frame.png"
                }

                MouseArea {
                    anchors.fill: parent
                    onClicked: signalHandler.showPage(model.id, model.name)
                }

                Image {
                    objectName: "removeFavourite"
                    anchors.fill: parent
                    visible: bar.removing
                    opacity: 0.5
                    source: "../media/minus.svg"
                    MouseArea { anchors.fill: parent; onClicked: bar.favourites.removeUser(index) }
                }
            }
        }
    }

    ListView {
        objectName: "letterButtons"
        x: 5
        anchors.top: topRow.bottom
        anchors.topMargin: 5
        width: parent.width - 10
        height: 40
        orientation: ListView.Horizontal
        spacing: 4
        clip: true
        model: window.friendsLetterModel

        delegate: Rectangle {
            width: 40
            height: 40
            radius: 4
            color: letterArea.pressed ? window.statusPressBg : window.bgColor
            border.color: window.listLineColor

            Text {
                anchors.centerIn: parent
                font.bold: true
                font.pixelSize: window.titleFontSize
                color: window.titleFontColor
                textFormat: Text.PlainText
                text: model.letter
            }

            MouseArea {
                id: letterArea
                anchors.fill: parent
                // The row's own "index" role is hidden by the delegate's index.
                onClicked: bar.letterChosen(window.friendsLetterModel.get(index).index)
            }
        }
    }
}
