import QtQuick 2.15
import Kelvo 1.0
import "../common"
import "../media"
import "../../client/text.js" as Markup
import "../../client/dates.js" as Dates

// One comment: the author's picture and name, the text with its links, how
// long ago it was written and its likes. A tap turns the row over to its
// back, which offers like, the likes and, on the user's own comments,
// delete. The "Load more" row of a list shows only its button.
Flipable {
    id: row

    // Rows of the single-story view and of a feed preview.
    property bool status: false
    property bool wall: false
    property string userId
    property string name
    property int likes: 0
    // Plain text; the row escapes it and makes its links.
    property string comment
    property string created
    property string comment_id
    // The author is a page.
    property bool page: false
    property bool flipableComment: true
    property bool flipped: false
    // Deleted by the user: hidden until the service refuses the deletion.
    property bool deleted: false
    readonly property alias turnAngle: rotation.angle

    readonly property bool loadMore: comment === translator.translate("Load more") + "..."
    readonly property bool own: userId !== "" && userId === window.ownId
    readonly property string markup: Markup.linkedMarkup(comment)
    readonly property string dateText: {
        var date = Dates.parseDate(created)
        return date ? Dates.prettyDate(date, translator.translate, window.language) : ""
    }

    function requestMore() {
        if (status)
            signalHandler.loadMoreStatusComments(userId)
        else if (name === "photo")
            signalHandler.loadMorePhotoComments(userId)
        else
            signalHandler.loadMoreComments(userId)
    }

    // Only web addresses open; one without a scheme gets "http://".
    function openWebLink(link) {
        if (/^https?:\/\//i.test(link))
            window.openLink(link)
        else if (/^www\./i.test(link))
            window.openLink("http://" + link)
    }

    function tapped() {
        if (loadMore)
            requestMore()
        else if (flipableComment)
            flipped = !flipped
    }

    function like() {
        flipped = false
        signalHandler.like(comment_id)
    }

    function showLikes() {
        flipped = false
        signalHandler.showLikes(comment_id)
    }

    function remove() {
        flipped = false
        deleted = true
        signalHandler.deleteItem(comment_id)
    }

    width: 480
    height: deleted ? 0 : loadMore ? 60 : commentText.height + 60
    visible: !deleted

    transform: Rotation {
        id: rotation
        origin.x: row.width / 2
        origin.y: row.height / 2
        axis { x: 0; y: 1; z: 0 }
        angle: row.flipped ? 180 : 0
        Behavior on angle { NumberAnimation { duration: 250 } }
    }

    front: Rectangle {
        width: row.width
        height: row.height
        color: rowArea.pressed ? window.statusPressBg : row.wall ? window.commentBg : window.statusBg

        MouseArea {
            id: rowArea
            anchors.fill: parent
            onPressed: window.vibrate()
            onReleased: window.vibrate()
            onClicked: row.tapped()
        }

        Rectangle {
            width: parent.width
            height: 1
            color: window.listLineColor
        }

        FButton {
            objectName: "loadMoreButton"
            anchors.fill: parent
            anchors.margins: 5
            visible: row.loadMore
            buttonText: translator.translate("Load more") + "..."
            onClicked: row.requestMore()
        }

        Item {
            anchors.fill: parent
            visible: !row.loadMore

            ProfileImage {
                id: picture
                objectName: "authorPicture"
                x: window.spacing
                y: 10
                width: 40
                height: 40
                source: row.userId !== "" && !row.loadMore
                        ? ServiceConfig.graphRoot + "/" + row.userId + "/picture" : ""

                MouseArea {
                    anchors.fill: parent
                    onClicked: row.page ? signalHandler.showPage(row.userId, row.name)
                                        : signalHandler.showWall(row.userId, row.name)
                }
            }

            Text {
                id: authorName
                objectName: "authorName"
                anchors.left: picture.right
                anchors.leftMargin: window.spacing
                anchors.right: parent.right
                anchors.rightMargin: window.spacing
                y: 6
                font.bold: true
                font.pixelSize: window.mainFontSize
                color: window.titleFontColor
                elide: Text.ElideRight
                textFormat: Text.PlainText
                text: row.name
            }

            // Rich text: its entities (hearts, quotes) are shown as such.
            Text {
                id: commentText
                objectName: "commentText"
                anchors.left: authorName.left
                anchors.right: authorName.right
                anchors.top: authorName.bottom
                anchors.topMargin: 2
                font.pixelSize: window.mainFontSize
                color: window.messageTextColor
                wrapMode: Text.WrapAnywhere
                textFormat: Text.RichText
                text: row.markup
                onLinkActivated: row.openWebLink(link)
            }

            Text {
                id: dateLine
                objectName: "dateLine"
                anchors.left: authorName.left
                anchors.top: commentText.bottom
                anchors.topMargin: 4
                font.pixelSize: window.mainFontSize - 4
                color: "#aaa"
                textFormat: Text.PlainText
                text: row.dateText
            }

            Row {
                anchors.right: authorName.right
                anchors.verticalCenter: dateLine.verticalCenter
                spacing: 4
                visible: row.likes > 0

                Image {
                    width: 16
                    height: 16
                    sourceSize.width: 16
                    sourceSize.height: 16
                    source: "../media/" + (window.darkTheme ? "Dark" : "Light") + "/likes.svg"
                }

                Text {
                    font.pixelSize: window.mainFontSize - 4
                    color: "#aaa"
                    text: row.likes
                }
            }
        }
    }

    back: Rectangle {
        width: row.width
        height: row.height
        color: window.commentBg

        MouseArea {
            anchors.fill: parent
            onPressed: window.vibrate()
            onReleased: window.vibrate()
            onClicked: row.tapped()
        }

        Row {
            anchors.centerIn: parent
            spacing: window.spacing * 2

            FButton {
                objectName: "likeButton"
                width: 50
                height: 50
                buttonImg: "../media/BottomBar/like.svg"
                onClicked: row.like()
            }

            FButton {
                objectName: "likesButton"
                width: 50
                height: 50
                visible: row.likes > 0
                buttonImg: "../media/BottomBar/likes.svg"
                onClicked: row.showLikes()
            }

            FButton {
                objectName: "deleteButton"
                width: 50
                height: 50
                visible: row.own
                buttonImg: "../media/BottomBar/delete.svg"
                onClicked: row.remove()
            }
        }
    }

    Connections {
        target: window.clientSession
        ignoreUnknownSignals: true
        function onPostingFailed(kind, target, text) {
            if (kind === "delete" && target === row.comment_id && row.comment_id !== "")
                row.deleted = false
        }
    }
}
