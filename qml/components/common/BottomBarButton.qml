import QtQuick 2.15

// A button of the bottom bar: an icon that is hidden while it has no
// source. The pressed background shows at once and fades out on release;
// the touch area reaches 10 pixels beyond the icon so small icons are easy
// to hit. A click first closes the on-screen keyboard.
Item {
    id: button

    property string source
    // Draws the alert highlight around the button.
    property bool alert: false
    readonly property bool pressed: touch.pressed

    signal clicked()

    width: 40
    height: 40
    visible: source !== ""

    Item {
        objectName: "alertHighlight"
        anchors.fill: parent
        anchors.margins: -5
        visible: button.alert

        // Stands in for the highlight picture should it be missing.
        Rectangle {
            anchors.fill: parent
            radius: 8
            color: "#55ff8c00"
            border.color: "#ff8c00"
            border.width: 2
            visible: alertImage.status !== Image.Ready
        }

        Image {
            id: alertImage
            anchors.fill: parent
            source: "../media/BottomBar/alert.png"
        }
    }

    Image {
        id: pressedBackground
        objectName: "pressedBackground"
        anchors.fill: parent
        opacity: 0
        source: "../media/BottomBar/pressed.png"
    }

    Image {
        objectName: "icon"
        anchors.fill: parent
        sourceSize.width: width
        sourceSize.height: height
        fillMode: Image.PreserveAspectFit
        source: button.source
    }

    MouseArea {
        id: touch
        anchors.fill: parent
        anchors.margins: -10
        onClicked: {
            window.helpInput.forceActiveFocus()
            Qt.inputMethod.hide()
            button.clicked()
        }
    }

    states: State {
        name: "pressed"
        when: touch.pressed
        PropertyChanges { target: pressedBackground; opacity: 1 }
    }

    transitions: Transition {
        from: "pressed"
        NumberAnimation { target: pressedBackground; property: "opacity"; duration: 200 }
    }
}
