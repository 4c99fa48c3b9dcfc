import QtQuick 2.15

// The phone's 36-pixel status bar: a black strip with signal strength,
// battery and the clock at the right. The left part stays free for the
// window title that the application draws over it. There is no system
// information to show, so signal and battery keep a fixed, full look.
Rectangle {
    id: statusBar

    property bool showClock: true
    readonly property string timeText: clock.text

    width: parent ? parent.width : 480
    height: 36
    color: "black"

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        spacing: 12

        Row {
            id: signalBars
            anchors.verticalCenter: parent.verticalCenter
            spacing: 2

            Repeater {
                model: 5

                Rectangle {
                    anchors.bottom: parent.bottom
                    width: 3
                    height: 4 + index * 3
                    color: "white"
                }
            }
        }

        Row {
            id: battery
            anchors.verticalCenter: parent.verticalCenter

            Rectangle {
                width: 26
                height: 14
                radius: 2
                color: "transparent"
                border.color: "white"
                border.width: 1

                Rectangle {
                    anchors.fill: parent
                    anchors.margins: 2
                    anchors.rightMargin: 6
                    color: "white"
                }
            }

            Rectangle {
                anchors.verticalCenter: parent.verticalCenter
                width: 2
                height: 6
                color: "white"
            }
        }

        Text {
            id: clock
            objectName: "statusBarClock"
            anchors.verticalCenter: parent.verticalCenter
            visible: statusBar.showClock
            color: "white"
            font.pixelSize: 20
            text: Qt.formatTime(new Date(), "hh:mm")
        }
    }

    // Refreshing every ten seconds keeps the shown minute at most that late.
    Timer {
        interval: 10000
        repeat: true
        running: statusBar.visible && statusBar.showClock
        onTriggered: clock.text = Qt.formatTime(new Date(), "hh:mm")
    }
}
