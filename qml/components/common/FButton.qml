import QtQuick 2.15

// Push button on a stretchable framed picture. The dark pictures serve the
// dark theme and the `pressed` (toggled-on) look; the pressed picture shows
// while the finger is down or `pressed` is set. Texts of two or more
// characters are translation keys; a single character is a letter shortcut
// and is shown as it is.
Item {
    id: button

    property string buttonText
    property string buttonImg
    property bool pressed: false
    readonly property bool down: mouseArea.pressed
    readonly property string shownText: buttonText.length >= 2
                                        ? translator.translate(buttonText) : buttonText

    signal clicked()

    width: 100
    height: 30

    BorderImage {
        id: frame
        objectName: "frame"
        anchors.fill: parent
        border { left: 20; top: 10; right: 20; bottom: 10 }
        source: {
            var colour = window.darkTheme || button.pressed ? "dark" : "blue"
            var suffix = button.down || button.pressed ? "_pressed" : ""
            return "../media/Buttons/" + colour + suffix + ".png"
        }
    }

    Image {
        id: icon
        objectName: "icon"
        anchors.centerIn: parent
        height: Math.max(0, button.height - 20)
        width: button.width
        sourceSize.height: height
        fillMode: Image.PreserveAspectFit
        source: button.buttonImg
        visible: button.buttonImg !== ""
    }

    Text {
        id: label
        objectName: "label"
        anchors.fill: parent
        anchors.leftMargin: 4
        anchors.rightMargin: 4
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        color: "white"
        font.pixelSize: 19
        text: button.shownText
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        onPressed: window.vibrate()
        onReleased: window.vibrate()
        onClicked: button.clicked()
    }
}
