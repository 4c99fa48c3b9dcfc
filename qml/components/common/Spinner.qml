import QtQuick 2.15

// Small activity indicator: ten frames, one full turn per second, for as
// long as it runs and is visible. The inverted frames suit light backgrounds
// under dark content.
Item {
    id: spinner

    property bool running: true
    property bool platformInverted: false
    // Number of the frame on show, 1 to 10.
    property int frame: 1
    readonly property int frameCount: 10

    width: 50
    height: 50

    Image {
        objectName: "frameImage"
        anchors.fill: parent
        fillMode: Image.PreserveAspectFit
        source: (spinner.platformInverted ? "../media/spinner_inverted/" : "../media/spinner/")
                + spinner.frame + ".png"
    }

    Timer {
        objectName: "frameTimer"
        interval: 1000 / spinner.frameCount
        repeat: true
        running: spinner.running && spinner.visible
        onTriggered: spinner.frame = spinner.frame % spinner.frameCount + 1
    }
}
