import QtQuick 2.15

// The window's short message box: slides in 10 pixels below the top edge
// when its state becomes "shown" and leaves again one second later. A new
// label while it is shown starts that second anew, so each message gets its
// full time.
Rectangle {
    id: indicator

    // A translation key; the box shows its translation.
    property string label: "Done"
    readonly property int showTime: 1000

    x: 10
    y: -height
    width: parent ? parent.width - 20 : 300
    height: Math.max(60, message.paintedHeight + 20)
    radius: 5
    color: window.darkTheme ? "#2E2A2A" : "#3B5998"
    state: "hidden"

    onStateChanged: hideTimer.restart()
    onLabelChanged: {
        if (state === "shown")
            hideTimer.restart()
    }

    Timer {
        id: hideTimer
        objectName: "hideTimer"
        interval: indicator.showTime
        onTriggered: indicator.state = "hidden"
    }

    Image {
        id: icon
        objectName: "icon"
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        width: 40
        height: 40
        sourceSize.width: 40
        sourceSize.height: 40
        fillMode: Image.PreserveAspectFit
        source: "../media/info.svg"
    }

    Text {
        id: message
        objectName: "message"
        anchors.left: icon.right
        anchors.leftMargin: 10
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        wrapMode: Text.Wrap
        color: "#eee"
        font.pixelSize: window.titleFontSize
        // Labels can carry the service's own words: never taken as markup.
        textFormat: Text.PlainText
        text: translator.translate(indicator.label)
    }

    states: [
        State {
            name: "hidden"
            PropertyChanges { target: indicator; y: -indicator.height }
        },
        State {
            name: "shown"
            PropertyChanges { target: indicator; y: 10 }
        }
    ]

    transitions: Transition {
        NumberAnimation { property: "y"; duration: 200; easing.type: Easing.OutQuad }
    }
}
