import QtQuick 2.15

// A spinning arc that tells the user work is going on. It turns while
// running and visible and stands still otherwise.
Item {
    id: indicator

    property bool running: false
    property BusyIndicatorStyle platformStyle: BusyIndicatorStyle {}
    property string size: platformStyle ? platformStyle.size : "medium"
    property bool platformInverted: platformStyle ? platformStyle.inverted : false
    property color color: platformInverted ? "#ffffff" : "#3b5998"
    readonly property int diameter: size === "small" ? 32 : (size === "large" ? 96 : 64)

    implicitWidth: diameter
    implicitHeight: diameter

    onColorChanged: arc.requestPaint()

    Canvas {
        id: arc
        objectName: "busyArc"
        anchors.centerIn: parent
        width: Math.min(parent.width, parent.height)
        height: width
        antialiasing: true

        onWidthChanged: requestPaint()

        onPaint: {
            var ctx = getContext("2d");
            ctx.reset();
            var lineWidth = Math.max(3, width / 10);
            var radius = (width - lineWidth) / 2;
            var centre = width / 2;
            ctx.lineWidth = lineWidth;
            ctx.lineCap = "round";

            // A faint full ring as the track.
            ctx.globalAlpha = 0.2;
            ctx.strokeStyle = indicator.color;
            ctx.beginPath();
            ctx.arc(centre, centre, radius, 0, 2 * Math.PI, false);
            ctx.stroke();

            // Three quarters of the ring, drawn solid.
            ctx.globalAlpha = 1.0;
            ctx.beginPath();
            ctx.arc(centre, centre, radius, -Math.PI / 2, Math.PI, false);
            ctx.stroke();
        }

        NumberAnimation on rotation {
            from: 0
            to: 360
            duration: indicator.platformStyle ? indicator.platformStyle.period : 1000
            loops: Animation.Infinite
            running: indicator.running && indicator.visible
        }
    }
}
