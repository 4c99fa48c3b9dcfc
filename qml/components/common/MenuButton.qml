import QtQuick 2.15

// One entry of the home menu grid: a large icon with its label below and,
// when `counter` is above zero, a badge at the icon's top right. 999 stands
// for "something new" without a count and shows as "*". Vector icons are
// drawn a little larger and higher than bitmaps so both look alike in size.
Item {
    id: entry

    property string icon
    // A translation key.
    property string text
    property int counter: 0
    readonly property bool pressed: mouseArea.pressed
    readonly property bool bitmap: icon.toLowerCase().slice(-4) === ".png"
    readonly property bool badgeShown: counter > 0
    readonly property string badgeText: counter === 999 ? "*" : String(counter)

    signal clicked()

    width: 140
    height: 124

    Image {
        id: iconImage
        objectName: "icon"
        anchors.horizontalCenter: parent.horizontalCenter
        y: entry.bitmap ? 10 : 2
        width: entry.bitmap ? 80 : 93
        height: width
        sourceSize.width: width
        sourceSize.height: height
        fillMode: Image.PreserveAspectFit
        source: entry.icon
    }

    Image {
        objectName: "pressedOverlay"
        anchors.centerIn: iconImage
        width: 95
        height: 95
        opacity: 0.6
        source: "../media/Home/pressed.png"
        visible: entry.pressed
    }

    Text {
        objectName: "label"
        anchors.top: iconImage.bottom
        anchors.topMargin: entry.bitmap ? 6 : 4
        width: entry.width
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
        font.pixelSize: 18
        font.bold: true
        color: entry.pressed ? "grey" : "white"
        style: Text.Outline
        styleColor: "black"
        text: translator.translate(entry.text)
    }

    Item {
        id: badge
        objectName: "badge"
        anchors.right: iconImage.right
        anchors.rightMargin: -10
        anchors.top: iconImage.top
        anchors.topMargin: -8
        width: 40
        height: 40
        visible: entry.badgeShown

        // Keeps the count readable should the badge picture be missing.
        Rectangle {
            anchors.fill: parent
            radius: width / 2
            color: "#d21f1f"
            border.color: "white"
            border.width: 2
            visible: badgeImage.status !== Image.Ready
        }

        Image {
            id: badgeImage
            anchors.fill: parent
            sourceSize.width: width
            sourceSize.height: height
            source: "../media/Home/badge.svg"
        }

        Text {
            objectName: "badgeText"
            anchors.centerIn: parent
            color: "white"
            font.pixelSize: 16
            font.bold: true
            text: entry.badgeText
        }
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        onClicked: entry.clicked()
    }
}
