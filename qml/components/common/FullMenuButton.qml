import QtQuick 2.15

// A full-width row of an in-page menu: optional icon at the left, the
// translated label after it, and a thin separator along the top of every
// row but the first.
Rectangle {
    id: row

    property string imgSrc
    // A translation key.
    property string btnText
    property bool first: false
    property int buttonWidth: 60
    readonly property bool pressed: mouseArea.pressed

    signal clicked()

    width: parent ? parent.width : 480
    height: 72
    color: pressed ? window.statusPressBg : window.statusBg

    Rectangle {
        objectName: "separator"
        width: parent.width
        height: 1
        color: window.listLineColor
        visible: !row.first
    }

    Image {
        id: icon
        objectName: "icon"
        anchors.left: parent.left
        anchors.leftMargin: window.spacing
        anchors.verticalCenter: parent.verticalCenter
        width: row.buttonWidth
        height: row.buttonWidth
        sourceSize.width: row.buttonWidth
        fillMode: Image.PreserveAspectFit
        source: row.imgSrc
        visible: row.imgSrc !== ""
    }

    Text {
        objectName: "label"
        anchors.left: icon.visible ? icon.right : parent.left
        anchors.leftMargin: icon.visible ? 2 * window.spacing : window.spacing
        anchors.right: parent.right
        anchors.rightMargin: window.spacing
        anchors.verticalCenter: parent.verticalCenter
        elide: Text.ElideRight
        color: window.titleFontColor
        font.pixelSize: window.titleFontSize
        text: translator.translate(row.btnText)
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        onPressed: window.vibrate()
        onReleased: window.vibrate()
        onClicked: row.clicked()
    }
}
