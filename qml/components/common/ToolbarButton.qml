import QtQuick 2.15

// A square button of the side toolbar. It is marked while its page is the
// current one (`active`) and swaps to its alert icon while something new
// waits there (`alert`); either shows the icon at full strength.
Rectangle {
    id: button

    property string icon
    property string alertIcon
    property bool active: false
    property bool alert: false
    readonly property bool pressed: mouseArea.pressed

    signal clicked()

    width: 52
    height: width
    color: {
        if (!enabled)
            return "#eee"
        if (pressed)
            return "#ddd"
        if (active)
            return window.hoverColor
        return window.darkTheme ? "#000" : "#3b5998"
    }

    Image {
        objectName: "icon"
        anchors.centerIn: parent
        width: Math.round(parent.width * 0.75)
        height: width
        sourceSize.width: width
        sourceSize.height: height
        fillMode: Image.PreserveAspectFit
        opacity: button.active || button.alert ? 1.0 : 0.7
        source: button.alert && button.alertIcon !== "" ? button.alertIcon : button.icon
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        onClicked: button.clicked()
    }
}
