import QtQuick 2.15

// A thin horizontal bar filled from the left in proportion to value between
// minimumValue and maximumValue, or a travelling segment while indeterminate.
// value itself is kept as given, so a caller's binding on it stays intact;
// what is drawn, and position, are clamped to the range.
Item {
    id: progressBar

    property real minimumValue: 0
    property real maximumValue: 1
    property real value: 0
    property bool indeterminate: false
    // Fraction of the range reached, held within 0 to 1.
    readonly property real position: maximumValue > minimumValue
        ? Math.max(0, Math.min(1, (value - minimumValue) / (maximumValue - minimumValue)))
        : 0

    implicitWidth: 240
    implicitHeight: 8

    Rectangle {
        id: track
        objectName: "progressTrack"
        anchors.fill: parent
        radius: height / 2
        color: "#dde1ea"
        border.color: "#c3c9d6"
        border.width: 1
        clip: progressBar.indeterminate

        Rectangle {
            id: fill
            objectName: "progressFill"
            height: parent.height
            width: parent.width * progressBar.position
            radius: parent.radius
            color: "#3b5998"
            visible: !progressBar.indeterminate && width > 0
        }

        Rectangle {
            id: runner
            objectName: "progressRunner"
            height: parent.height
            width: parent.width / 3
            radius: parent.radius
            color: "#3b5998"
            visible: progressBar.indeterminate

            NumberAnimation on x {
                from: -runner.width
                to: track.width
                duration: 1200
                loops: Animation.Infinite
                running: progressBar.indeterminate && progressBar.visible
            }
        }
    }
}
