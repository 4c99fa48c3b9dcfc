import QtQuick 2.15
import "../common"
import "../media"

// One person or page of the likes list: picture, name and category. The
// "Load more" row is only its button. The user's own like carries a delete
// icon; the row hides at once and comes back if the service refuses.
// While adding favourites, a plus in front adds the row.
Rectangle {
    id: row

    property bool first: false
    property string rowId
    property string name
    property string category
    property string picture
    // The liked object, whose like the delete icon takes back.
    property string entityId
    property bool tagging: false
    property bool deleted: false

    readonly property bool loadMore: name === translator.translate("Load more") + "..."
    readonly property bool own: rowId !== "" && rowId === window.ownId

    signal clicked()
    signal deleteClicked()
    signal addClicked()

    height: deleted ? 0 : loadMore ? 60 : Math.max(50 + 2 * window.spacing, texts.height + 2 * window.spacing)
    visible: !deleted
    color: area.pressed ? window.statusPressBg : window.statusBg

    MouseArea {
        id: area
        anchors.fill: parent
        onPressed: window.vibrate()
        onReleased: window.vibrate()
        onClicked: row.clicked()
    }

    FButton {
        objectName: "loadMoreButton"
        anchors.fill: parent
        anchors.margins: 5
        visible: row.loadMore
        buttonText: translator.translate("Load more") + "..."
        onClicked: row.clicked()
    }

    Item {
        anchors.fill: parent
        visible: !row.loadMore

        Rectangle {
            width: parent.width
            height: 1
            visible: !row.first
            color: window.listLineColor
        }

        Image {
            id: addButton
            objectName: "addButton"
            x: window.spacing
            anchors.verticalCenter: parent.verticalCenter
            width: 50
            height: 50
            sourceSize.width: 50
            sourceSize.height: 50
            visible: row.tagging
            source: "../media/plus.svg"

            MouseArea {
                anchors.fill: parent
                onClicked: row.addClicked()
            }
        }

        ProfileImage {
            id: picture
            x: row.tagging ? addButton.x + addButton.width + window.spacing : window.spacing
            anchors.verticalCenter: parent.verticalCenter
            source: row.picture
        }

        Column {
            id: texts
            anchors.left: picture.right
            anchors.leftMargin: window.spacing
            anchors.right: deleteIcon.visible ? deleteIcon.left : parent.right
            anchors.rightMargin: window.spacing
            anchors.verticalCenter: parent.verticalCenter

            Text {
                objectName: "name"
                width: parent.width
                color: window.titleFontColor
                font.pixelSize: window.titleFontSize
                elide: Text.ElideRight
                textFormat: Text.PlainText
                text: row.name
            }

            Text {
                objectName: "category"
                width: parent.width
                visible: row.category !== ""
                color: window.descriptionTextColor
                font.pixelSize: window.mainFontSize - 2
                elide: Text.ElideRight
                textFormat: Text.PlainText
                text: "(" + row.category + ")"
            }
        }

        FButton {
            id: deleteIcon
            objectName: "deleteIcon"
            anchors.right: parent.right
            anchors.rightMargin: window.spacing
            anchors.verticalCenter: parent.verticalCenter
            width: 50
            height: 50
            visible: row.own
            buttonImg: "../media/BottomBar/delete.svg"
            onClicked: {
                row.deleted = true
                row.deleteClicked()
            }
        }
    }

    Connections {
        target: window.clientSession
        ignoreUnknownSignals: true
        function onPostingFailed(kind, target, text) {
            if (kind === "deleteLike" && target === row.entityId && row.deleted)
                row.deleted = false
        }
    }
}
