import QtQuick 2.15

// The time of a story with its like and comment counts at the right, each
// shown when above 0.
Item {
    id: footer

    property string created
    property int likes: 0
    property int comments: 0
    readonly property string iconFolder: "../media/" + (window.darkTheme ? "Dark" : "Light") + "/"

    height: Math.max(time.height, 20)

    Text {
        id: time
        objectName: "created"
        anchors.verticalCenter: parent.verticalCenter
        textFormat: Text.PlainText
        font.pixelSize: window.mainFontSize - 4
        color: "#aaa"
        text: footer.created
    }

    Row {
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        spacing: 4

        Image {
            width: 18
            height: 18
            sourceSize.width: 18
            source: footer.iconFolder + "likes.svg"
            visible: footer.likes > 0
        }
        Text {
            objectName: "likes"
            font.pixelSize: window.mainFontSize - 2
            color: window.titleFontColor
            text: footer.likes
            visible: footer.likes > 0
        }
        Item { width: 6; height: 1 }
        Image {
            width: 18
            height: 18
            sourceSize.width: 18
            source: footer.iconFolder + "comments.svg"
            visible: footer.comments > 0
        }
        Text {
            objectName: "comments"
            font.pixelSize: window.mainFontSize - 2
            color: window.titleFontColor
            text: footer.comments
            visible: footer.comments > 0
        }
    }
}
