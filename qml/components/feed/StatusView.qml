import QtQml 2.15
import QtQuick 2.15
import Kelvo 1.0
import "../common"
import "../media"
import "../platform"
import "../chat"
import "../../client/text.js" as Markup
import "richtext.js" as RichText

// One story over the list it was tapped in: author, message, picture or
// link with its actions, the check-in, the counts, the comments and the
// comment box. `fill(index)` shows the row `index` of `model`.
Rectangle {
    id: statusView
    objectName: "StatusView"

    property var model: window.statusModel
    property var commentsModel: window.statusCommentsModel
    property int index: 0
    // The record shown, copied out of the list.
    property var row: RichText.copyRow(null)
    property int likes: 0
    property int comments: 0
    property string status_id
    property string link
    property string name
    property string caption
    property string source
    property string photo_id
    property string user_id
    property string user_name
    property string album_id
    property string type
    property string picture
    property bool page: false
    property bool loading: false
    property string applicationId
    property bool story: false
    property string placeName
    property string placeId
    property real lat: 0
    property real lon: 0
    property bool commentsShown: false
    readonly property string eventId: RichText.eventIdOf(link, ServiceConfig.webRoot)
    // Only posts of the user made with this application can be deleted here.
    readonly property bool deletable: user_id !== "" && user_id === window.ownId
                                      && applicationId === ServiceConfig.appId
    readonly property string serviceDomain: "." + RichText.hostOf(ServiceConfig.webRoot).replace(/^www\./, "")
    readonly property bool linkActions: link !== "" && type !== "checkin" && type !== "photo"
                                        && !(row.story !== "" && link.indexOf(serviceDomain) >= 0)

    property string centerBtn: "../media/BottomBar/reload.svg"
    property string button2: "../media/BottomBar/like.svg"
    property string button5: "../media/BottomBar/likes.svg"

    signal openAlbum(string album_id)

    function centerAction() {
        window.noHistory = true
        signalHandler.loadStatus(status_id)
    }
    function button2Action() { signalHandler.like(status_id) }
    function button5Action() { signalHandler.showLikes(status_id) }

    function pictureOf(id) {
        return ServiceConfig.graphRoot + "/" + id + "/picture?" + window.token
    }

    function fill(at) {
        loading = false
        commentsModel.clear()
        uploader.clear()
        commentsShown = false
        index = at
        var shown = RichText.copyRow(model.get(at))
        row = shown
        status_id = shown.status_id || shown.id
        user_id = shown.fromID
        user_name = shown.fromName
        likes = shown.likes
        comments = shown.comments
        page = shown.fromCategory !== ""
        applicationId = shown.applicationId
        name = shown.name
        caption = shown.caption
        link = shown.link
        picture = shown.picture
        type = RichText.displayType(shown)
        // Only a story the service told (no words of the author) takes no comment.
        story = type === "story" && RichText.plainOf(shown.message) === shown.story
        source = type === "video" ? shown.source : ""
        var place = RichText.parsed(shown.place)
        placeId = placeName = ""
        lat = lon = 0
        if (place && typeof place === "object") {
            var location = place.location || {}
            placeId = RichText.str(place.id)
            placeName = RichText.str(place.name)
            lat = Number(location.latitude) || 0
            lon = Number(location.longitude) || 0
        }
        if (shown.type === "photo") {
            type = "photo"
            photo_id = shown.object_id
            picture = photo_id !== "" ? pictureOf(photo_id) : shown.picture
            album_id = RichText.albumIdOf(link)
        } else {
            photo_id = ""
            album_id = ""
        }
        if (comments > shown.discussion_count && comments > 0)
            signalHandler.loadStatusComments(status_id)
        else
            RichText.commentRows(shown, pictureOf).forEach(function (comment) { commentsModel.append(comment) })
        showComments()
    }

    function showComments() {
        commentsShown = true
        console.info(log, "story " + status_id + " shows " + commentsModel.count + " comments")
    }

    property LoggingCategory log: LoggingCategory {
        name: "kelvo.ui"
    }

    // The picture or the link's button: a photo full screen, the service's
    // event in the application, anything else in the browser.
    function openTarget() {
        if (type === "photo") {
            window.photosModel.clear()
            signalHandler.loadBigImage(photo_id)
        } else if (eventId !== "") {
            signalHandler.loadEvent(eventId)
        } else {
            links.openWeb(link)
        }
    }

    function readLater() {
        if (window.rememberRil && window.rilUsername !== "")
            signalHandler.ril(window.rilUsername, window.rilPassword, link, name, window.rememberRil)
        else
            window.dialog.open()
    }

    function checkIn() {
        window.history.append({ "page": "checkin" })
        window.currentViewTop.setSource(Qt.resolvedUrl("../places/CheckinView.qml"), {
            "name": placeName, "placeId": placeId, "lat": lat, "lon": lon, "checkinText": "", "category": "" })
    }

    onOpenAlbum: signalHandler.showAlbumPhotos(album_id)
    color: window.bgColor

    StoryLinks { id: links }

    // A story is deleted only once the service says so; then the view goes.
    Connections {
        target: window.clientSession
        function onPostingSucceeded(kind, target) {
            if (kind === "delete" && target === statusView.status_id)
                signalHandler.goBack()
        }
    }

    QueryDialog {
        id: deleteDialog
        objectName: "deleteDialog"
        titleText: translator.translate("Delete") + "?"
        message: translator.translate("Are you sure you want to delete this?")
        acceptButtonText: translator.translate("Yes")
        rejectButtonText: translator.translate("Cancel")
        onAccepted: signalHandler.deleteItem(statusView.status_id)
    }

    Flickable {
        id: flick
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: uploader.visible ? uploader.top : parent.bottom
        contentWidth: width
        contentHeight: content.height + 2 * window.spacing
        flickableDirection: Flickable.VerticalFlick
        clip: true

        Column {
            id: content
            x: window.spacing
            y: window.spacing
            width: flick.width - 2 * window.spacing
            spacing: 8

            Item {
                width: parent.width
                height: Math.max(author.height, heading.height)

                ProfileImage {
                    id: author
                    source: statusView.row.profileImageUrl
                    MouseArea {
                        anchors.fill: parent
                        onClicked: links.follow("a", statusView.row)
                    }
                }

                Column {
                    id: heading
                    anchors.left: author.right
                    anchors.leftMargin: window.spacing
                    anchors.right: deleteIcon.visible ? deleteIcon.left : parent.right
                    spacing: 2

                    Text {
                        objectName: "title"
                        width: parent.width
                        wrapMode: Text.Wrap
                        textFormat: Text.RichText
                        baseUrl: Qt.resolvedUrl("../")
                        font.bold: true
                        font.pixelSize: window.titleFontSize
                        color: window.titleFontColor
                        text: RichText.titleMarkup(statusView.row, false, window.titleFontColor)
                        onLinkActivated: links.follow(link, statusView.row)
                    }
                    Text {
                        objectName: "created"
                        textFormat: Text.PlainText
                        font.pixelSize: window.mainFontSize - 1
                        color: "#aaa"
                        text: statusView.row.created_time
                    }
                }

                // The white glyph on a button of its own, readable in both themes.
                Rectangle {
                    id: deleteIcon
                    objectName: "deleteIcon"
                    anchors.right: parent.right
                    width: 44
                    height: 44
                    radius: 6
                    color: deleteArea.pressed ? "#888" : window.darkTheme ? "#444" : "#3B5998"
                    visible: statusView.deletable
                    Image {
                        anchors.centerIn: parent
                        width: 36
                        height: 36
                        sourceSize.width: 36
                        source: "../media/BottomBar/delete.svg"
                    }
                    MouseArea {
                        id: deleteArea
                        anchors.fill: parent
                        onClicked: deleteDialog.open()
                    }
                }
            }

            Text {
                objectName: "message"
                width: parent.width
                wrapMode: Text.Wrap
                textFormat: Text.RichText
                font.pixelSize: window.mainFontSize
                color: window.messageTextColor
                text: statusView.row.message
                visible: text !== ""
                onLinkActivated: links.follow(link, statusView.row)
            }

            StoryPicture {
                objectName: "storyPicture"
                width: parent.width
                photo: statusView.type === "photo"
                picture: statusView.picture
                linkName: statusView.name
                caption: statusView.caption
                albumShown: statusView.photo_id !== "" && statusView.album_id !== ""
                onOpened: statusView.openTarget()
                onAlbumOpened: statusView.openAlbum(statusView.album_id)
                onLinkActivated: links.openWeb(link)
            }

            Text {
                objectName: "description"
                width: parent.width
                wrapMode: Text.Wrap
                textFormat: Text.RichText
                font.pixelSize: window.mainFontSize - 2
                color: window.descriptionTextColor
                text: statusView.row.description
                visible: statusView.row.plainDescription !== ""
                onLinkActivated: links.follow(link, statusView.row)
            }

            StoryFooter {
                width: parent.width
                likes: statusView.likes
                comments: statusView.comments
                visible: statusView.likes > 0 || statusView.comments > 0
            }

            Row {
                objectName: "linkButtons"
                spacing: 5
                visible: statusView.linkActions
                readonly property real buttonWidth: content.width / 3 - 5

                FButton {
                    objectName: "openLinkButton"
                    width: parent.buttonWidth
                    height: 50
                    buttonText: statusView.eventId !== "" ? "Show event"
                              : statusView.source !== "" ? "Open video" : "Open link"
                    onClicked: statusView.openTarget()
                }
                FButton {
                    width: parent.buttonWidth
                    height: 50
                    buttonText: "Share"
                    onClicked: signalHandler.shareLink(statusView.link, statusView.picture, statusView.name,
                                                       RichText.plainOf(statusView.caption),
                                                       statusView.row.plainDescription)
                }
                FButton {
                    width: parent.buttonWidth
                    height: 50
                    buttonText: "Read it later"
                    onClicked: statusView.readLater()
                }
            }

            FButton {
                objectName: "checkinButton"
                width: parent.width
                height: 50
                buttonText: "Check in"
                visible: statusView.row.type === "checkin" && statusView.placeId !== ""
                onClicked: statusView.checkIn()
            }

            Row {
                spacing: window.spacing
                visible: statusView.loading
                Spinner { width: 40; height: 40; running: parent.visible }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    font.pixelSize: window.mainFontSize
                    color: window.messageTextColor
                    text: translator.translate("Loading comments")
                }
            }

            Repeater {
                objectName: "comments"
                model: statusView.commentsShown ? statusView.commentsModel : null

                Loader {
                    width: content.width
                    Component.onCompleted: setSource(Qt.resolvedUrl("CommentView.qml"), {
                        "status": true, "wall": false, "userId": model.user_id, "name": model.fromName,
                        "likes": model.like_count, "comment": model.message, "created": model.created_time,
                        "comment_id": model.comment_id_number, "page": model.fromCategory !== ""
                    })
                }
            }
        }
    }

    MessageUploader {
        id: uploader
        objectName: "commentBox"
        anchors.bottom: parent.bottom
        width: parent.width
        placeholder: translator.translate("Write your comment")
        objectId: statusView.status_id
        visible: !statusView.story
    }
}
