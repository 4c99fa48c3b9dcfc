import QtQuick 2.15

// A short notice at the top of its parent: slides down and fades in on
// show(), hides itself after timerShowTime ms when the timer is enabled, and
// hides at once when tapped (emitting clicked() first).
Item {
    id: banner

    property string text
    // Typed as url so a relative path resolves against the caller's file.
    property url iconSource
    // Banners often carry text from the service: shown as it is, never as markup.
    property int textFormat: Text.PlainText
    property bool timerEnabled: true
    property int timerShowTime: 3000
    property real topMargin: 8
    property real leftMargin: 8
    readonly property bool shown: state === "shown"

    signal clicked()

    function show() {
        state = "shown";
        if (timerEnabled)
            hideTimer.restart();
    }

    function hide() {
        hideTimer.stop();
        state = "";
    }

    x: leftMargin
    y: topMargin
    width: (parent ? parent.width : 480) - 2 * leftMargin
    height: Math.max(64, Math.max(label.implicitHeight, icon.visible ? icon.height : 0) + 24)
    visible: false

    onTimerEnabledChanged: {
        if (!timerEnabled)
            hideTimer.stop();
        else if (shown)
            hideTimer.restart();
    }

    Timer {
        id: hideTimer
        interval: banner.timerShowTime
        onTriggered: banner.hide()
    }

    Rectangle {
        id: body
        objectName: "bannerBody"
        width: parent.width
        height: parent.height
        y: -height / 2
        opacity: 0
        radius: 8
        color: "#eb2f2f2f"
        border.color: "#4d4d4d"
        border.width: 1

        Image {
            id: icon
            anchors.left: parent.left
            anchors.leftMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            width: 40
            height: 40
            sourceSize.width: 40
            sourceSize.height: 40
            fillMode: Image.PreserveAspectFit
            source: banner.iconSource
            visible: banner.iconSource.toString() !== ""
        }

        Text {
            id: label
            objectName: "bannerText"
            anchors.left: icon.visible ? icon.right : parent.left
            anchors.leftMargin: 12
            anchors.right: parent.right
            anchors.rightMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            wrapMode: Text.Wrap
            maximumLineCount: 4
            elide: Text.ElideRight
            color: "white"
            font.pixelSize: 19
            textFormat: banner.textFormat
            text: banner.text
        }

        MouseArea {
            anchors.fill: parent
            onClicked: {
                banner.clicked();
                banner.hide();
            }
        }
    }

    states: State {
        name: "shown"
        PropertyChanges { target: banner; visible: true }
        PropertyChanges { target: body; y: 0; opacity: 1 }
    }

    transitions: [
        Transition {
            to: "shown"
            SequentialAnimation {
                PropertyAction { target: banner; property: "visible" }
                NumberAnimation {
                    target: body
                    properties: "y,opacity"
                    duration: 250
                    easing.type: Easing.OutQuad
                }
            }
        },
        Transition {
            from: "shown"
            SequentialAnimation {
                NumberAnimation {
                    target: body
                    properties: "y,opacity"
                    duration: 200
                    easing.type: Easing.InQuad
                }
                PropertyAction { target: banner; property: "visible" }
            }
        }
    ]
}
