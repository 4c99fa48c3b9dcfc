import QtQuick 2.15

// The start-up screen: a black page with the logo, the product name and a
// loading text. activate() waits `timeout` ms, fades the logo and texts out
// over `fadeout` ms and then emits finished(); the black page itself stays
// until its owner destroys it.
Rectangle {
    id: splash

    property string image: ""
    property int fadeout: 700
    property int timeout: 0

    signal finished()

    function activate() {
        fade.start()
    }

    color: "black"

    // Swallows taps so nothing beneath reacts while the splash is up.
    MouseArea {
        anchors.fill: parent
    }

    Item {
        id: content
        anchors.fill: parent

    Column {
        anchors.centerIn: parent
        spacing: 16

        Image {
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(splash.width, splash.height) * 0.4
            height: width
            sourceSize.width: width
            sourceSize.height: height
            fillMode: Image.PreserveAspectFit
            source: splash.image === "" ? "" : Qt.resolvedUrl(splash.image)
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Kelvo"
            color: "white"
            font.pixelSize: 36
            font.bold: true
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Loading..."
            color: "#bbbbbb"
            font.pixelSize: 20
        }
    }

    Text {
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 24
        anchors.horizontalCenter: parent.horizontalCenter
        text: "Made with Qt"
        color: "#777777"
        font.pixelSize: 14
    }
    }

    SequentialAnimation {
        id: fade
        PauseAnimation { duration: splash.timeout }
        NumberAnimation {
            target: content
            property: "opacity"
            to: 0
            duration: splash.fadeout
        }
        ScriptAction { script: splash.finished() }
    }
}
