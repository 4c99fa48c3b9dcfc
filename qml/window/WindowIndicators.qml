import QtQuick 2.15
import "../components/common"
import "../components/platform"

// The done indicator, which slides in just below the status bar, and the
// waiting indicator with the dimmed overlay that keeps taps off the page
// while a request is out.
Item {
    id: indicators

    property int statusBarHeight: 0
    property alias done: done
    property alias waiting: waiting

    Item {
        anchors.fill: parent
        anchors.topMargin: indicators.statusBarHeight

        DoneIndicator {
            id: done
            objectName: "done"
            label: "Done"
            anchors.horizontalCenter: parent.horizontalCenter
        }
    }

    Rectangle {
        anchors.fill: parent
        color: "black"
        opacity: 0.7
        visible: waiting.visible
        MouseArea { anchors.fill: parent }
    }

    BusyIndicator {
        id: waiting
        objectName: "waiting"
        property string label
        anchors.centerIn: parent
        platformStyle.size: "large"
        state: "hidden"
        visible: state === "shown"
        running: visible
        states: [State { name: "shown" }, State { name: "hidden" }]

        Text {
            anchors.top: parent.bottom
            anchors.topMargin: 12
            anchors.horizontalCenter: parent.horizontalCenter
            color: "white"
            font.pixelSize: window.mainFontSize
            textFormat: Text.PlainText
            text: translator.translate(waiting.label)
        }
    }
}
