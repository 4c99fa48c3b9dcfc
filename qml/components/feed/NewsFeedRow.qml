import QtQuick 2.15
import "../common"
import "../media"
import "../../client/text.js" as Markup
import "richtext.js" as RichText

// One story of a story list: author picture, title line, the message (cut
// when long), the picture with the link's name and caption, the
// description, time and counts, the application it came via and a preview
// of its comments. The "Load more" row is one button; a tap anywhere else
// on a row with an id emits `clicked`.
Rectangle {
    id: storyRow

    // The row's roles (the delegate's `model`) and its index.
    property var row
    // The roles read once, each with its type even where the row lacks it.
    readonly property var story: RichText.copyRow(row)
    property int rowIndex: 0
    property bool first: rowIndex === 0
    // On a wall the title names the author only.
    property bool onWall: false
    readonly property bool loadMore: story.type === "next"
                                     || story.message === translator.translate("Load more") + "..."
    readonly property var application: RichText.parsed(story.application) || {}
    readonly property string applicationName: RichText.str(application.name)
    readonly property var comments: RichText.commentRows(story, function () { return "" })
    readonly property var preview: RichText.commentPreview(story, comments, translator.translate("Comments"))
    // The empty row that ends a list without stories shows nothing.
    readonly property bool blank: story.id === "" && story.message === "" && !loadMore
    readonly property int textLeft: window.profileImage ? 50 + 2 * window.spacing : window.spacing

    signal clicked()

    width: parent ? parent.width : 480
    height: blank ? 0 : loadMore ? 50 + 2 * window.spacing : content.y + content.height + window.spacing
    visible: !blank
    color: mouseArea.pressed && story.id !== "" ? window.feedPressedBg : window.feedBg

    StoryLinks { id: links }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        enabled: !storyRow.loadMore
        onPressed: window.vibrate()
        onReleased: window.vibrate()
        onClicked: if (storyRow.story.id !== "") storyRow.clicked()
    }

    Rectangle {
        width: parent.width
        height: 1
        color: window.listLineColor
        visible: !storyRow.first
    }

    FButton {
        objectName: "loadMoreButton"
        anchors.centerIn: parent
        width: parent.width - 2 * window.spacing
        height: 50
        buttonText: "Load more"
        visible: storyRow.loadMore
        onClicked: storyRow.clicked()
    }

    ProfileImage {
        objectName: "authorPicture"
        x: window.spacing
        y: window.spacing
        source: storyRow.story.profileImageUrl
        hover: mouseArea.pressed
        visible: window.profileImage && !storyRow.loadMore
        MouseArea {
            anchors.fill: parent
            onClicked: links.follow("a", storyRow.story)
        }
    }

    Column {
        id: content
        objectName: "content"
        x: storyRow.textLeft
        y: window.spacing
        width: storyRow.width - storyRow.textLeft - window.spacing
        spacing: 4
        visible: !storyRow.loadMore

        Text {
            objectName: "title"
            width: parent.width
            wrapMode: Text.Wrap
            textFormat: Text.RichText
            baseUrl: Qt.resolvedUrl("../")
            font.bold: true
            font.pixelSize: window.titleFontSize
            color: window.titleFontColor
            text: RichText.titleMarkup(storyRow.story, storyRow.onWall, window.titleFontColor)
            onLinkActivated: links.follow(link, storyRow.story)
        }

        Text {
            objectName: "message"
            width: parent.width
            wrapMode: Text.Wrap
            textFormat: Text.RichText
            font.pixelSize: window.mainFontSize
            color: window.messageTextColor
            text: RichText.shownMessage(storyRow.story.message, translator.translate("Read more"))
            visible: storyRow.story.message !== ""
            onLinkActivated: links.follow(link, storyRow.story)
        }

        Item {
            width: parent.width
            height: Math.max(picture.visible ? picture.height : 0, linkText.visible ? linkText.height : 0)
            visible: storyRow.story.picture.length > 20 || storyRow.story.name !== ""

            NewsFeedImage {
                id: picture
                objectName: "storyPicture"
                source: storyRow.story.picture
                imageId: storyRow.story.status_id
                MouseArea {
                    anchors.fill: parent
                    onClicked: {
                        if (storyRow.story.type === "photo") {
                            window.photosModel.clear()
                            signalHandler.loadBigImage(storyRow.story.object_id)
                        } else {
                            storyRow.clicked()
                        }
                    }
                }
            }

            Text {
                id: linkText
                objectName: "linkName"
                anchors.left: picture.visible ? picture.right : parent.left
                anchors.leftMargin: picture.visible ? window.spacing : 0
                anchors.right: parent.right
                wrapMode: Text.Wrap
                textFormat: Text.RichText
                font.pixelSize: window.mainFontSize - 2
                color: window.descriptionTextColor
                text: Markup.escapeMarkup(storyRow.story.name) + "<br>" + storyRow.story.caption
                visible: storyRow.story.name !== ""
                onLinkActivated: links.openWeb(link)
            }
        }

        Text {
            objectName: "description"
            width: parent.width
            wrapMode: Text.Wrap
            textFormat: Text.RichText
            font.pixelSize: window.mainFontSize - 2
            color: window.descriptionTextColor
            text: RichText.shownDescription(storyRow.story.description, storyRow.story.plainDescription,
                                            translator.translate("Read more"))
            visible: storyRow.story.plainDescription !== ""
            onLinkActivated: links.follow(link, storyRow.story)
        }

        StoryFooter {
            width: parent.width
            created: storyRow.story.created_time
            likes: storyRow.story.likes
            comments: storyRow.story.comments
        }

        Row {
            spacing: 6
            visible: storyRow.applicationName !== ""

            Image {
                width: 16
                height: 16
                anchors.verticalCenter: parent.verticalCenter
                source: storyRow.story.icon.length > 20 ? storyRow.story.icon : ""
                visible: status === Image.Ready
            }

            Text {
                objectName: "via"
                textFormat: Text.RichText
                font.pixelSize: window.mainFontSize - 4
                color: "#aaa"
                text: "via " + (RichText.str(storyRow.application.id) !== ""
                                ? "<a style='text-decoration:none;color:" + RichText.linkColour + "' href='app'>"
                                  + Markup.escapeMarkup(storyRow.applicationName) + "</a>"
                                : Markup.escapeMarkup(storyRow.applicationName))
                onLinkActivated: links.follow(link, storyRow.story)
            }
        }

        Text {
            objectName: "commentsHeader"
            font.pixelSize: window.mainFontSize - 2
            color: window.titleFontColor
            textFormat: Text.PlainText
            text: storyRow.preview.header
            visible: window.showComments && text !== ""
        }

        Repeater {
            objectName: "commentPreview"
            model: window.showComments ? storyRow.preview.rows : []

            Loader {
                width: content.width
                Component.onCompleted: setSource(Qt.resolvedUrl("CommentView.qml"), {
                    "wall": true, "status": false, "userId": modelData.user_id, "name": modelData.fromName,
                    "likes": modelData.like_count, "comment": modelData.message, "created": modelData.created_time,
                    "comment_id": modelData.comment_id_number, "page": modelData.fromCategory !== ""
                })
            }
        }
    }
}
