import QtQuick 2.15
import "../common"
import "../chat"

// All comments of one object (a story, a photo, an album) above the pages:
// the object's picture and name, the comments, and a box to write one. The
// comments panel of the main window holds it; the bottom bar offers reload,
// like and the object's likes.
Rectangle {
    id: list

    property ListModel commentsModel: window.commentsModel
    property string objectId: window.commentsList.objectId
    property string picture: window.commentsList.picture
    property string caption: window.commentsList.caption

    readonly property string centerBtn: "../media/BottomBar/reload.svg"
    readonly property string button2: "../media/BottomBar/like.svg"
    readonly property string button5: "../media/BottomBar/likes.svg"

    function centerAction() { signalHandler.showComments(objectId) }
    function button2Action() { signalHandler.like(objectId) }
    // The likes list takes the place of the comments, bar buttons included.
    function button5Action() {
        window.commentsList.state = "hidden"
        signalHandler.showLikes(objectId)
    }

    function showPicture() {
        window.photosModel.clear()
        signalHandler.loadBigImage(objectId)
    }

    objectName: "commentList"
    width: 480
    height: 854
    color: window.bgColor

    ListView {
        id: view
        objectName: "commentsView"
        anchors.top: parent.top
        anchors.bottom: uploader.top
        width: parent.width
        clip: true
        spacing: window.spacing
        model: list.commentsModel

        header: Column {
            width: view.width
            spacing: 6
            topPadding: window.spacing
            bottomPadding: window.spacing

            Image {
                objectName: "objectPicture"
                anchors.horizontalCenter: parent.horizontalCenter
                width: parent.width - 2 * window.spacing
                height: 150
                fillMode: Image.PreserveAspectFit
                asynchronous: true
                source: list.picture
                visible: list.picture !== ""

                MouseArea {
                    anchors.fill: parent
                    onClicked: list.showPicture()
                }
            }

            Text {
                objectName: "caption"
                x: window.spacing
                width: parent.width - 2 * window.spacing
                visible: list.caption !== ""
                wrapMode: Text.Wrap
                font.pixelSize: window.titleFontSize
                color: window.titleFontColor
                textFormat: Text.PlainText
                text: list.caption
            }

            Text {
                x: window.spacing
                font.bold: true
                font.pixelSize: window.titleFontSize
                color: window.titleFontColor
                text: translator.translate("Comments") + ":"
            }

            Text {
                objectName: "noComments"
                x: window.spacing
                width: parent.width - 2 * window.spacing
                visible: view.count === 0
                wrapMode: Text.Wrap
                font.pixelSize: window.mainFontSize
                color: window.placeHolderTextColor
                text: translator.translate("No comments yet, why not write one?")
            }
        }

        delegate: CommentView {
            width: view.width
            userId: model.user_id || ""
            name: model.fromName || ""
            likes: Number(model.like_count) || 0
            comment: model.message || ""
            created: model.created_time || ""
            comment_id: model.comment_id_number || ""
            page: !!model.fromCategory
        }

        footer: Item {
            width: view.width
            height: 80
        }
    }

    MessageUploader {
        id: uploader
        objectName: "commentUploader"
        anchors.bottom: parent.bottom
        width: parent.width
        objectId: list.objectId
        placeholder: translator.translate("Write your comment")
    }
}
