import QtQuick 2.15
import "../common"
import "../platform"
import "../../client/text.js" as Markup
import "richtext.js" as RichText

// The picture of the single-story view. A photo: its name above it, a
// progress bar while it loads, the photo as wide as the view, its caption
// and "View album". Anything else: the picture at most 120 pixels wide with
// the link's name and caption beside it.
Item {
    id: storyPicture

    property bool photo: false
    property string picture
    property string linkName
    // Markup.
    property string caption
    property bool albumShown: false
    readonly property bool hasPicture: picture.length > 20

    signal opened()
    signal albumOpened()
    signal linkActivated(string link)

    height: photo ? photoColumn.height : Math.max(hasPicture ? frame.height : 0, beside.visible ? beside.height : 0)
    visible: photo || hasPicture || linkName !== "" || caption !== ""

    Column {
        id: photoColumn
        width: parent.width
        spacing: 8
        visible: storyPicture.photo

        Text {
            objectName: "photoName"
            width: parent.width
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
            font.pixelSize: window.mainFontSize
            color: window.messageTextColor
            text: storyPicture.linkName
            visible: text !== ""
        }

        Column {
            width: parent.width
            visible: photoImage.status === Image.Loading
            Text {
                font.pixelSize: window.mainFontSize - 2
                color: window.descriptionTextColor
                text: translator.translate("Loading image")
            }
            ProgressBar {
                width: parent.width
                minimumValue: 1
                maximumValue: 100
                value: Math.max(1, photoImage.progress * 100)
            }
        }

        Image {
            id: photoImage
            objectName: "photo"
            width: parent.width - 20
            anchors.horizontalCenter: parent.horizontalCenter
            height: status === Image.Ready ? width * implicitHeight / Math.max(1, implicitWidth) : 0
            fillMode: Image.PreserveAspectFit
            asynchronous: true
            source: storyPicture.photo && storyPicture.hasPicture ? storyPicture.picture : ""
            ImageBorder { anchors.fill: parent }
            MouseArea {
                anchors.fill: parent
                onClicked: storyPicture.opened()
            }
        }

        Text {
            objectName: "photoCaption"
            width: parent.width
            wrapMode: Text.Wrap
            textFormat: Text.RichText
            font.pixelSize: window.mainFontSize - 2
            color: window.descriptionTextColor
            text: storyPicture.caption
            visible: RichText.visibleLength(text) > 13
            onLinkActivated: storyPicture.linkActivated(link)
        }

        FButton {
            objectName: "viewAlbumButton"
            width: parent.width
            height: 50
            buttonText: "View album"
            visible: storyPicture.albumShown
            onClicked: storyPicture.albumOpened()
        }
    }

    Image {
        id: frame
        width: Math.min(120, implicitWidth)
        height: status === Image.Ready ? width * implicitHeight / Math.max(1, implicitWidth) : 0
        fillMode: Image.PreserveAspectFit
        asynchronous: true
        source: !storyPicture.photo && storyPicture.hasPicture ? storyPicture.picture : ""
        visible: !storyPicture.photo
        ImageBorder { anchors.fill: parent }
        MouseArea {
            anchors.fill: parent
            onClicked: storyPicture.opened()
        }
    }

    Text {
        id: beside
        objectName: "linkName"
        anchors.left: frame.height > 0 ? frame.right : parent.left
        anchors.leftMargin: frame.height > 0 ? 12 : 0
        anchors.right: parent.right
        wrapMode: Text.Wrap
        textFormat: Text.RichText
        font.pixelSize: window.mainFontSize - 2
        color: window.descriptionTextColor
        text: (storyPicture.linkName !== "" ? "<b>" + Markup.escapeMarkup(storyPicture.linkName) + "</b>" : "")
              + (storyPicture.linkName !== "" && storyPicture.caption !== "" ? "<br>" : "") + storyPicture.caption
        visible: !storyPicture.photo && text !== ""
        onLinkActivated: storyPicture.linkActivated(link)
    }
}
