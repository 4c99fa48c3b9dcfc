import QtQuick 2.15
import "../platform"

// Chooses one of the user's pages to act as.
SelectionDialog {
    id: ownPagedialog
    objectName: "ownPagedialog"

    titleText: "Login as page"
    model: ownedModel

    delegate: Rectangle {
        width: ListView.view ? ListView.view.width : 0
        height: 74
        color: rowArea.pressed ? window.statusPressBg : "transparent"

        Image {
            id: picture
            x: window.spacing
            y: window.spacing
            width: 50
            height: 50
            source: model.picture ? model.picture : ""
            asynchronous: true
        }

        Column {
            anchors.left: picture.right
            anchors.leftMargin: window.spacing
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter

            Text {
                width: parent.width
                color: window.titleFontColor
                font.pixelSize: window.titleFontSize
                elide: Text.ElideRight
                textFormat: Text.PlainText
                text: model.name
            }

            Text {
                width: parent.width
                color: window.messageTextColor
                font.pixelSize: window.mainFontSize
                elide: Text.ElideRight
                textFormat: Text.PlainText
                text: model.category ? model.category : ""
            }
        }

        MouseArea {
            id: rowArea
            anchors.fill: parent
            onClicked: signalHandler.useAsPage(model.access_token, model.id, model.name)
        }
    }
}
