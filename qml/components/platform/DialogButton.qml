import QtQuick 2.15

// Full-width push button of the dialogs. The primary button carries the
// brand colour; the others are a neutral dark grey.
Rectangle {
    id: button

    property alias text: label.text
    property bool primary: false
    readonly property alias pressed: mouseArea.pressed

    signal clicked()

    implicitWidth: 200
    implicitHeight: 52
    radius: 8
    color: {
        if (primary)
            return mouseArea.pressed ? "#2d4474" : "#3b5998";
        return mouseArea.pressed ? "#2e2e2e" : "#4a4a4a";
    }
    border.color: primary ? "#5b79b8" : "#6a6a6a"
    border.width: 1

    Text {
        id: label
        anchors.fill: parent
        anchors.leftMargin: 10
        anchors.rightMargin: 10
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        color: "white"
        font.pixelSize: 20
        font.bold: button.primary
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        onClicked: button.clicked()
    }
}
